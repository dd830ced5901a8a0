// One measured-value line of the transducer and how the display rewrites it to the primary
// side of the voltage and current transformers.
//
// The device answers each "-r" request with one line ending in CR. Positions count from 1:
//   1        a form feed (0x0C) in the line that opens a cycle
//   1..7     the value field: a number with "." as decimal point, leading blanks allowed
//   9..      the unit text (2 characters for volt and watt units, 3 for VA, 4 for var)
//   anywhere the group tag: "/U" voltage, "/I" current, "/P" active, "/Q" reactive,
//            "/S" apparent power
// Everything else is shown as the device sent it. Lines are handled as the device's
// Windows-1252 bytes, so that positions are the device's positions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/record.h"

namespace kalvo {

inline constexpr char FormFeed = '\x0C';

// The four transformer cells the display scales by: VT primary and secondary in kV, CT
// primary and secondary in A; 0 means no transformer.
struct Transformers {
    double vtPrimary = 0;
    double vtSecondary = 0;
    double ctPrimary = 0;
    double ctSecondary = 0;
};

// The cells Grundwerte[VtPrimary, VtSecondary, CtPrimary, CtSecondary] of a record. The
// display reads the cells themselves (a nominal voltage beside them does not matter).
Transformers displayTransformers(const Record& record);

// Voltage and current ratio: primary / secondary; 1 when the quotient is 0 or cannot be
// computed (no transformer, a secondary of 0). The power ratio is their product.
double Anzeige_Faktor_U(const Transformers& t);
double Anzeige_Faktor_I(const Transformers& t);
double Anzeige_Faktor_P(const Transformers& t);

// The estimated full-scale power in kW that picks the power prefix: 10 x VT primary with
// only a voltage transformer, CT primary with only a current transformer, 10 x VT primary x
// CT primary with both, else 0.
double Bezugsleistung(const Transformers& t);

// The quantity groups in the order the display tries them.
enum class Group { U, I, P, Q, S };

// The number at the start of the value field (positions 1..7): leading blanks skipped, an
// optional sign, digits with at most one "."; reading stops at the first other character.
// nullopt when there is no digit.
std::optional<double> valueFieldNumber(std::string_view line);

// A value rounded the way the pattern "#####0.0####" writes it: at most five decimals,
// halves away from zero.
double roundedToFiveDecimals(double value);

// The value text written into the field: a blank or "-", then the number with "." and
// without trailing zeros or a point for whole numbers; "0." is written "." except where the
// group's leading-zero rule puts the zero back (voltage, current and apparent power for
// 0 < value < 1; active and reactive power for 0 < |value| < 1). Not cut to the field.
std::string Messwert_Text(double value, Group group);

// Rewrites one line as received, CR included (the length rule counts it). Lines of four
// characters or less and lines holding an upper-case "F" or "H" come back unchanged; in
// the others each group whose tag occurs is scaled, prefixed and written back. The length
// never changes.
std::string rewriteReceived(std::string_view received, const Transformers& t);

// The same for a line without its CR, as the observers of a poll get it: the text to show.
std::string rewriteLine(std::string_view line, const Transformers& t);

// True for the line that opens a cycle.
inline bool isCycleMarker(std::string_view line) {
    return !line.empty() && line.front() == FormFeed;
}

// The unit of a shown line: from position 9 up to the first blank; empty when none.
std::string_view unitText(std::string_view line);

}  // namespace kalvo
