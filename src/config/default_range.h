// Default and maximum measuring ranges (Vorgabebereich), unit prefixes, and the texts the
// analog and binary pages show for them.
#pragma once

#include <string>
#include <string_view>

#include "config/record.h"

namespace kalvo {

// Analog pages: the default range is also the largest range allowed. Binary pages: the
// allowed limit values reach 120 % of it.
enum class RangeMode { Analog = 1, Binary = 2 };

struct DefaultRange {
    double von = 0;   // Vorgabe_von: range start, base units
    double bis = 0;   // Vorgabe_bis: range end
    double nenn = 0;  // Vorgabe_nenn: the 100 % value (the binary page's proposed limit)
    bool operator==(const DefaultRange&) const = default;
};

// The default range of a quantity and place for the record's basic settings. Voltages come
// from the nominal voltage (or the voltage transformer's primary), currents from the nominal
// current (or the current transformer's primary), powers from both; the phase voltage is held
// in single precision, as the device family computes it. Results are rounded to 3 decimals
// (ties to even), and values above 1e9, 1e6 and 1000 to 3 decimals of those units in turn.
//
// Quantities without a range of their own in the device's table get these (the binary page's
// 120 % does not apply to them): power factor 0 .. 1 (proposal 1), reactive factor -1 .. 1
// (proposal 0), phase angle -180 .. 180 ° (proposal 0), frequency 0.8 .. 1.2 times the
// nominal frequency (proposal the nominal frequency), 10 V DC input -10 .. 10 V (proposal 10).
DefaultRange Vorgabebereich(const Record& record, int quantity, int place, RangeMode mode);

// `value` rounded to `decimals` decimals, halves to the even neighbour.
double roundHalfEven(double value, int decimals);

// The factor of a unit's prefix: "G" 1e9, "M" 1e6, "k" 1000, anything else 1.
double prefixFactor(std::string_view unit);

// The prefix for showing a range that ends at `end`: above 1e9 "G", above 1e6 "M", above 1000
// "k", else none.
struct Prefix {
    std::string_view text;
    double divisor = 1;
};
Prefix prefixFor(double end);

// A number in the range labels' format "#####0.0##": at least one digit before and after the
// separator, at most three after it (halves rounded away from zero): 0,0  230,0  -3,45  398,372.
std::string formatRange(double value, char decimal);

// What a page shows for a default range.
struct RangeDisplay {
    Prefix prefix;
    std::string unit;      // prefix + base unit ("kW"); the unit label after a quantity change
    std::string start;     // range start box: Vorgabe_von / divisor
    std::string end;       // range end box: Vorgabe_bis / divisor
    std::string proposal;  // binary limit box: Vorgabe_nenn / divisor
    std::string allowed;   // the allowed-range label: "-3,45 ... 3,45 kW"; for power factor and
                           // reactive factor "0,0 kap. ... 1,0 ind. "
};
RangeDisplay rangeDisplay(const DefaultRange& range, int quantity, char decimal);

}  // namespace kalvo
