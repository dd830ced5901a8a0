// The configuration record of one transducer and the hardware variant it belongs to.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "config/cell.h"

namespace kalvo {

// The constant the device family uses for the square root of 3.
inline constexpr double kSqrt3 = 1.73205080756888;

inline constexpr int kAnalogRows = 5;
inline constexpr int kAnalogFields = 13;
inline constexpr int kBinaryRows = 13;
inline constexpr int kBinaryFields = 6;
inline constexpr int kInterfaceCells = 37;

struct Record {
    // Basic settings 0..7: connection type, frequency, nominal voltage, VT primary (kV),
    // VT secondary (kV), nominal current, CT primary, CT secondary.
    std::array<Cell, 8> Grundwerte{};
    std::array<std::array<Cell, kAnalogFields>, kAnalogRows> Analogwerte{};
    std::array<std::array<Cell, kBinaryFields>, kBinaryRows> Binaerwerte{};
    std::array<Cell, kInterfaceCells> Schnittstellenwerte{};

    // Hardware variant: 0 outputs = not yet known.
    int Anzahl_Analog = 0;
    int Anzahl_Binaer = 0;
    double Max_Spannung = 600;
    double Max_Strom = 5;
    double Max_Spannung_LN = 600 / kSqrt3;

    // Sets the voltage class and recomputes the line-to-neutral limit with kSqrt3.
    void setMaxSpannung(double volts) {
        Max_Spannung = volts;
        Max_Spannung_LN = volts / kSqrt3;
    }

    // Element 0 of Grundwerte empty means no configuration exists yet.
    bool hasConfiguration() const { return !Grundwerte[0].isEmpty(); }

    bool operator==(const Record&) const = default;
};

// The record at program start: classes 600 V / 5 A, transformer cells 0, everything else empty.
Record startRecord();

// Resets all four tables to their defaults for the current hardware variant (the variant
// itself is kept).
void Standardwerte_laden(Record& record);

// A new project for a hardware variant: the counts and classes set, every table at its
// defaults for them.
Record newProject(int analog, int binary, double voltage, double current);

// Checks a hardware variant that came from a device or a file: analog outputs 1..4, binary
// outputs 1..13, voltage and current class above 0. Returns a short English reason when it
// is not a TXR 3.0 variant.
std::optional<std::string> checkVariant(double analog, double binary, double voltage,
                                        double current);

// Connection type index 0..4 -> device code "4U,", "4G,", "3U,", "3G,", "1,"; "" outside.
std::string connectionCode(int index);

}  // namespace kalvo
