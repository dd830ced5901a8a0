// Rules about a record that programming, the command line, the parameter dialog, the data
// sheet and the live values all need. Each lives here once.
#pragma once

#include <string>
#include <string_view>

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

// The record in readable lines, numbers with a point (what `kalvo-cli show` prints):
//   variant: TXR 3.0 2A/5D
//   input class: 120 V, 1.2 A
//   connection: 4U Four wire unbalanced
//   ...
std::string describeRecord(const Record& record);

}  // namespace kalvo
