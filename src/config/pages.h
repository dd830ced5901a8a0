// The pages of the parameter dialog as values: what each page's controls hold (texts as
// typed), how a page is filled from the record, stored into it and checked.
//
// A list position of -1 means the list shows no entry (the record held a position the list
// does not have); storing such a page keeps the record's cell as it is. A field whose text is
// not a number, or is empty, stores 0.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "config/default_range.h"
#include "config/record.h"

namespace kalvo {

// ---- checks ----------------------------------------------------------------------------------

// The outcome of a page check: which stop signs (1..6) it set, and what the page's message
// frame shows.
struct PageCheck {
    std::array<bool, 7> stop{};  // stop[1] .. stop[6]
    bool Eingabefehler = false;  // some stop sign is set
    bool showFrame = false;      // the message frame is shown by the check
    bool exclamation = false;    // analog range or binary limit: the exclamation picture
    std::string message;         // basic page: the hardware limit text; analog and binary
                                 // pages: the allowed range
    bool operator==(const PageCheck&) const = default;
};

// ---- basic page ------------------------------------------------------------------------------

struct BasicPage {
    int connectionType = 0;   // Anschlussart_Combo
    int frequencyOption = 1;  // Nennfrquenz_Option: 0 "16,6 Hz", 1 "50 Hz", 2 "60 Hz"; -1 none
    bool voltageTransformer = false;  // Spannungswandler_Option 1 "mit Wandler"
    std::string nominalVoltage;       // Nenneingangsspannung_Combo, V
    std::string vtPrimary = "1";      // Pimäreingangsspannung_Text, kV
    std::string vtSecondary = "0,1";  // Sekundäreingangsspannung_Text, kV
    bool currentTransformer = false;  // Stromwandler_Option 1
    std::string nominalCurrent;       // Nenneingangsstrom_Combo, A
    std::string ctPrimary = "100";    // Primäreingangsstrom_Text, A
    std::string ctSecondary = "5";    // Sekundäreingangsstrom_Text, A
    bool operator==(const BasicPage&) const = default;
};

BasicPage P_in_index(const Record& record, char decimal);
// Writes the page into Grundwerte, then checks it (Grund_pruefen).
PageCheck Grund_speichern(Record& record, const BasicPage& page);
// Checks the stored basic settings against the hardware class: stop sign 1 for the voltage,
// 2 for the current. `shown` tells which transformer option the page shows.
PageCheck Grund_pruefen(const Record& record, const BasicPage& shown);
// True when the page differs from the record in connection type, voltage or current (the
// frequency does not count).
bool Grund_vergleichen(const Record& record, const BasicPage& page);

// The hardware limit text ("L-L 519,6V L-N 300V 5A").
std::string max_info(double Max_Spannung, double Max_Strom);
// The label beside the voltage input: " (L - N)" or " (L - L)".
std::string_view voltageSuffix(int connectionType, bool voltageTransformer);
// The wiring picture's file in the program's folder: "s4u.sb" ... "s1.sb"; "" for none.
std::string_view wiringPicture(int connectionType);

// The highest nominal voltage (V) and secondary voltage (kV) the hardware takes for a
// connection type and transformer option.
struct VoltageLimit {
    double volts = 0;
    double secondaryKv = 0;
};
VoltageLimit voltageLimit(const Record& record, int connectionType, bool voltageTransformer);

// ---- analog pages ----------------------------------------------------------------------------

struct AnalogPage {
    int quantity = 0;         // Messgrösse_Analog_Combo
    int place = 0;            // Messort_Analog_Combo
    std::string unit = "V";   // Messbereichs_einheit_analog_Label, prefix included
    std::string rangeStart;   // Analog_messbereich_von_Text, in units of `unit`
    std::string rangeEnd;     // Analog_messbereich_bis_Text
    std::string kneeInput;    // Knickwert_Eingang_Text
    int outputUnit = 0;       // Analog_Ausgangssignal_Einheit_Combo: 0 mA, 1 V
    std::string outputStart;  // Analog_Ausgangssignal_von_Text
    std::string outputEnd;    // Analog_Ausgangssignal_bis_Text
    std::string limitMin;     // Analog_Ausgangssignal_min_Text
    std::string limitMax;     // Analog_Ausgangssignal_max_Text
    std::string kneeOutput;   // Knickwert_Ausgang_Text
    bool kinked = false;      // knick_check
    bool operator==(const AnalogPage&) const = default;
};

AnalogPage Analog_anzeigen(const Record& record, int row, char decimal);
// Stores analog output `row`: the knee goes to the midpoint first when the characteristic is
// straight (so `page` may change), then the fields are written and checked (Analog_pruefen).
PageCheck Analog_speichern(Record& record, int row, AnalogPage& page, char decimal);
// Stop sign 3 for the range, 4 for the output signal and limitation, 5 for the knee.
PageCheck Analog_pruefen(const Record& record, int row, char decimal);

// How a range (in base units) breaks its default range, for the quantities other than power
// factor and reactive factor.
struct RangeBreach {
    bool startAboveEnd = false;
    bool startBelowMinimum = false;
    bool endAboveMaximum = false;
    bool any() const { return startAboveEnd || startBelowMinimum || endAboveMaximum; }
};
RangeBreach rangeBreach(double start, double end, const DefaultRange& range);

// "mA" or "V" for the output unit list position; "" for none.
std::string_view outputUnitLabel(int outputUnit);
// The output signal defaults of a unit: mA -20, 20, -24, 24; V -10, 10, -12, 12.
struct OutputDefaults {
    std::string_view start, end, min, max;
};
OutputDefaults outputDefaults(int outputUnit);

// The six knee labels kn 0..5: range start and end in the range format, output start and end
// as typed, range unit, output unit.
std::array<std::string, 6> Knick_beschriften(const AnalogPage& page, char decimal);
// The knee at the midpoint of a straight characteristic (empty or lone "-" labels count as 0);
// for power factor the knee input is 1.
void Knick_zuruecksetzen(AnalogPage& page, char decimal);

// ---- binary pages ----------------------------------------------------------------------------

struct BinaryPage {
    int mode = 0;      // Signal_off_on_Grenzwert_Option: 0 no signal, 1 device active, 2 limit
    int quantity = 0;  // Messgrösse_Binär_Combo
    int place = 0;     // Messort_Binär_Combo
    std::string unit = "V";  // Messbereichs_einheit_binär_Label
    std::string limit;       // Binär_Meldung_bei__Text, in units of `unit`
    int direction = 0;       // über_unterschreitung_Option: 0 exceed, 1 fall below
    bool operator==(const BinaryPage&) const = default;
};

// In the modes other than limit value the record holds zeros for the limit; the page then
// shows the binary proposal for the voltage (quantity 0, place 0), ready for "Grenzwert".
BinaryPage Binaer_anzeigen(const Record& record, int row, char decimal);
// Stores binary output `row`; in limit-value mode it is then checked (Binaer_pruefen),
// otherwise fields 1 to 5 become 0 and nothing is checked.
PageCheck Binaer_speichern(Record& record, int row, const BinaryPage& page, char decimal);
// Stop sign 6 when the limit lies outside the allowed range.
PageCheck Binaer_pruefen(const Record& record, int row, char decimal);

// ---- interface page --------------------------------------------------------------------------

struct InterfacePage {
    std::array<bool, kInterfaceCells> checked{};
    bool operator==(const InterfacePage&) const = default;
};

// Which interface check boxes a connection type offers ("10VDC-Input" always).
std::array<bool, kInterfaceCells> Schnittstelle_freigeben(int connectionType);
// The boxes the record's connection type offers hold the record's flags; the others are clear.
InterfacePage Schnittstelle_anzeigen(const Record& record);
void Schnittstelle_speichern(Record& record, const InterfacePage& page);

// ---- reset after a change of the basic settings ----------------------------------------------

// Every analog output to the voltage of place 0 over its default range, every binary output
// off with the binary voltage proposal, every interface flag clear.
void Ausgaenge_zuruecksetzen(Record& record);

// ---- numbers ---------------------------------------------------------------------------------

// The number in a field's text; 0 when it holds no number (empty included).
double fieldValue(std::string_view text);

}  // namespace kalvo
