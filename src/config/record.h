// The configuration record of one transducer and the hardware variant it belongs to.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "config/cell.h"
#include "config/fields.h"
#include "text/language.h"

namespace kalvo {

// The constant the device family uses for the square root of 3.
inline constexpr double kSqrt3 = 1.73205080756888;

inline constexpr int kAnalogRows = 5;
inline constexpr int kAnalogFields = Analog::Count;
inline constexpr int kBinaryRows = 13;
inline constexpr int kBinaryFields = Binary::Count;
inline constexpr int kInterfaceCells = 37;

using BasicRow = std::array<Cell, Basic::Count>;
using AnalogRow = std::array<Cell, Analog::Count>;
using BinaryRow = std::array<Cell, Binary::Count>;

struct Record {
    BasicRow Grundwerte{};
    std::array<AnalogRow, kAnalogRows> Analogwerte{};
    std::array<BinaryRow, kBinaryRows> Binaerwerte{};
    std::array<Cell, kInterfaceCells> Schnittstellenwerte{};

    // Hardware variant: 0 outputs = not yet known.
    int Anzahl_Analog = 0;
    int Anzahl_Binaer = 0;
    double Max_Spannung = 600;  // voltage class, line-to-line
    double Max_Strom = 5;       // current class

    // The line-to-neutral limit, always derived from the voltage class with the family's
    // constant, so it cannot go stale.
    double Max_Spannung_LN() const { return Max_Spannung / kSqrt3; }

    // An empty connection type means no configuration exists yet.
    bool hasConfiguration() const { return !Grundwerte[Basic::ConnectionType].isEmpty(); }

    bool operator==(const Record&) const = default;
};

// An analog output of the voltage at place 0 from 0 to `rangeEnd` in `rangeUnit`, straight,
// -20 .. 20 mA limited to -24 .. 24 mA: what a new project and a reset of the outputs set.
AnalogRow defaultAnalogOutput(std::string rangeUnit, double rangeEnd);

// The record at program start: classes 600 V / 5 A, transformer cells 0, everything else empty.
Record startRecord();

// Resets all four tables to their defaults for the current hardware variant (the variant
// itself is kept).
void Standardwerte_laden(Record& record);

// A new project for a hardware variant: the counts and classes set, every table at its
// defaults for them.
Record newProject(int analog, int binary, double voltage, double current);

// Checks a hardware variant that came from a device or a file: analog outputs 1..4, binary
// outputs 1..13, voltage and current class above 0. Returns a short reason when it is not a
// TXR 3.0 variant.
std::optional<Wording> checkVariant(double analog, double binary, double voltage, double current);

}  // namespace kalvo
