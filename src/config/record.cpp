#include "config/record.h"

#include <cmath>

namespace kalvo {

Record startRecord() {
    Record record;
    record.setMaxSpannung(600);
    record.Max_Strom = 5;
    // Only the transformer cells start as 0; an empty connection type means "no configuration".
    for (const int i : {3, 4, 6, 7}) record.Grundwerte[i] = 0;
    return record;
}

void Standardwerte_laden(Record& record) {
    const double halfVoltage = record.Max_Spannung / 2;
    auto& g = record.Grundwerte;
    g = {Cell("0"), Cell("50"), Cell(halfVoltage), Cell(0), Cell(0), Cell(record.Max_Strom),
         Cell(0),   Cell(0)};

    for (auto& row : record.Analogwerte) {
        row = {Cell(0),           Cell(0),  Cell("V"), Cell(0), Cell(record.Max_Spannung / 4),
               Cell(halfVoltage), Cell(0),  Cell(-20), Cell(0), Cell(20),
               Cell(-24),         Cell(24), Cell(0)};
    }
    for (auto& row : record.Binaerwerte) {
        row = {Cell("0"), Cell("0"), Cell("0"), Cell("V"), Cell(halfVoltage), Cell("0")};
    }
    for (auto& cell : record.Schnittstellenwerte) cell = Cell(0);
}

Record newProject(int analog, int binary, double voltage, double current) {
    Record r = startRecord();
    r.Anzahl_Analog = analog;
    r.Anzahl_Binaer = binary;
    r.setMaxSpannung(voltage);
    r.Max_Strom = current;
    Standardwerte_laden(r);
    return r;
}

std::optional<std::string> checkVariant(double analog, double binary, double voltage,
                                        double current) {
    const auto isCount = [](double v, double low, double high) {
        return std::isfinite(v) && v == std::floor(v) && v >= low && v <= high;
    };
    if (!isCount(analog, 1, kAnalogRows - 1)) return "analog output count is not 1..4";
    if (!isCount(binary, 1, kBinaryRows)) return "binary output count is not 1..13";
    if (!std::isfinite(voltage) || voltage <= 0) return "voltage class is not above 0";
    if (!std::isfinite(current) || current <= 0) return "current class is not above 0";
    return std::nullopt;
}

std::string connectionCode(int index) {
    switch (index) {
        case 0:
            return "4U,";
        case 1:
            return "4G,";
        case 2:
            return "3U,";
        case 3:
            return "3G,";
        case 4:
            return "1,";
        default:
            return "";
    }
}

}  // namespace kalvo
