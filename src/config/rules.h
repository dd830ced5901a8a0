// Rules about a record that programming, the command line, the parameter dialog, the data
// sheet and the live values all need. Each lives here once.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/record.h"

namespace kalvo {

// A list index or count held in a cell, rounded to the nearest whole number (a text "2" and
// a number 1.6 both give 2); -1 when the cell holds no usable number.
int cellIndex(const Cell& cell);

// Grundwerte[Basic::ConnectionType] by cellIndex; may lie outside 0..4 in a broken record.
int connectionType(const Record& record);

// A voltage transformer is in use exactly when the nominal voltage is 0 (then VtPrimary and
// VtSecondary hold its ratio); a current transformer exactly when the nominal current is 0.
bool voltageTransformerInUse(const Record& record);
bool currentTransformerInUse(const Record& record);

// The transformer factors range and limit values are divided by for the device, and measured
// values multiplied by for the display: 1 without transformer, else primary / secondary
// (kV / kV for voltage, A / A for current). Not finite when a secondary is 0.
double Wandler_Faktor_U(const Record& record);
double Wandler_Faktor_I(const Record& record);

// The quantity code: connection type x 1000 + quantity index x 10 + place index. It names one
// measured value of one connection type (the key of Kennung_suchen and of the default ranges).
constexpr int Groessencode(int connectionType, int quantity, int place) {
    return connectionType * 1000 + quantity * 10 + place;
}
// The code of analog output `row` (its quantity and place) or of binary output `row`.
int analogCode(const Record& record, int row);
int binaryCode(const Record& record, int row);

// Output signal unit of an analog output: volts when the field holds 1, else milliamperes.
bool outputInVolts(const AnalogRow& output);
std::string_view outputUnitText(const AnalogRow& output);  // "V" or "mA"

// Connection type index 0..4 -> device code "4U,", "4G,", "3U,", "3G,", "1,"; "" outside.
std::string connectionCode(int index);

// ---- what the device can take ----------------------------------------------------------------

// A whole number held by a cell (a text counts when it reads as one: "2", "2,0"); nullopt for
// fractions, other texts and an empty cell.
std::optional<int> codeOf(const Cell& cell);

// Where a cell sits: Grundwerte (row 0), a row of Analogwerte or a row of Binaerwerte.
enum class Table { Basic, Analog, Binary };

// Why a cell keeps the record from being sent as it stands, or (UnknownUnit) why its page is
// at fault although the cell changes nothing that is sent.
enum class CellProblem {
    None,
    UnknownCode,       // a connection type, quantity and place, binary mode or direction the
                       // device does not define
    NotANumber,        // a cell for a number holds another text (or nothing)
    Colon,             // the device copy separates its fields with colons
    ControlCharacter,  // CR and LF end a frame or a reply; other controls do not travel either
    NotWindows1252,    // the line carries Windows-1252 only (or the text is no UTF-8)
    UnknownUnit,       // a unit text outside its quantity's list: shown, never sent
};

struct CellFault {
    Table table = Table::Basic;
    int row = 0;
    std::size_t field = 0;
    CellProblem problem = CellProblem::None;
    std::string text;                    // the cell as it would be sent
    std::vector<std::string> allowed{};  // UnknownUnit: the units the quantity has
    bool blocksSending() const {
        return problem != CellProblem::None && problem != CellProblem::UnknownUnit;
    }
    bool operator==(const CellFault&) const = default;
};

// The cells that go to the device (Grundwerte and the variant's analog and binary rows) and
// cannot go as they stand, and the units outside their quantity's list: one fault per cell, in
// table, row and field order. A cell whose code depends on one that is already at fault (a
// place under an unknown quantity or connection type) is not judged.
std::vector<CellFault> cellFaults(const Record& record, char decimal);

// The units a range or limit of a quantity is shown in: voltage, current and the powers in
// their base unit with or without the prefixes k, M and G; the others in their base unit only
// (none for power factor and reactive factor). Empty outside 0..9.
std::vector<std::string> unitsOf(int quantity);

// The record in readable lines, numbers with a point (what `kalvo-cli show` prints):
//   variant: TXR 3.0 2A/5D
//   input class: 120 V, 1.2 A
//   connection: 4U Four wire unbalanced
//   ...
std::string describeRecord(const Record& record);

}  // namespace kalvo
