#include "config/record.h"

#include <cmath>

#include "text/reasons.h"

namespace kalvo {

AnalogRow defaultAnalogOutput(std::string rangeUnit, double rangeEnd) {
    AnalogRow a;
    a[Analog::Quantity] = 0;
    a[Analog::Place] = 0;
    a[Analog::RangeUnit] = std::move(rangeUnit);
    a[Analog::RangeStart] = 0;
    a[Analog::KneeInput] = rangeEnd / 2;  // the midpoint of the straight line
    a[Analog::RangeEnd] = rangeEnd;
    a[Analog::OutputUnit] = 0;
    a[Analog::OutputStart] = -20;
    a[Analog::KneeOutput] = 0;
    a[Analog::OutputEnd] = 20;
    a[Analog::LimitMin] = -24;
    a[Analog::LimitMax] = 24;
    a[Analog::Kinked] = 0;
    return a;
}

Record startRecord() {
    Record record;
    record.Max_Spannung = 600;
    record.Max_Strom = 5;
    // Only the transformer cells start as 0; an empty connection type means "no configuration".
    for (const Basic::Field f :
         {Basic::VtPrimary, Basic::VtSecondary, Basic::CtPrimary, Basic::CtSecondary}) {
        record.Grundwerte[f] = 0;
    }
    return record;
}

void Standardwerte_laden(Record& record) {
    const double halfVoltage = record.Max_Spannung / 2;
    BasicRow& g = record.Grundwerte;
    g[Basic::ConnectionType] = "0";
    g[Basic::NominalFrequency] = "50";
    g[Basic::NominalVoltage] = halfVoltage;
    g[Basic::VtPrimary] = 0;
    g[Basic::VtSecondary] = 0;
    g[Basic::NominalCurrent] = record.Max_Strom;
    g[Basic::CtPrimary] = 0;
    g[Basic::CtSecondary] = 0;

    record.Analogwerte.fill(defaultAnalogOutput("V", halfVoltage));
    for (BinaryRow& b : record.Binaerwerte) {
        b[Binary::Mode] = "0";
        b[Binary::Quantity] = "0";
        b[Binary::Place] = "0";
        b[Binary::Unit] = "V";
        b[Binary::Limit] = halfVoltage;
        b[Binary::Direction] = "0";
    }
    for (auto& cell : record.Schnittstellenwerte) cell = Cell(0);
}

Record newProject(int analog, int binary, double voltage, double current) {
    Record r = startRecord();
    r.Anzahl_Analog = analog;
    r.Anzahl_Binaer = binary;
    r.Max_Spannung = voltage;
    r.Max_Strom = current;
    Standardwerte_laden(r);
    return r;
}

std::optional<Wording> checkVariant(double analog, double binary, double voltage, double current) {
    const auto isCount = [](double v, double low, double high) {
        return std::isfinite(v) && v == std::floor(v) && v >= low && v <= high;
    };
    if (!isCount(analog, 1, kAnalogRows - 1)) return kReasonAnalogCount;
    if (!isCount(binary, 1, kBinaryRows)) return kReasonBinaryCount;
    if (!std::isfinite(voltage) || voltage <= 0) return kReasonVoltageClass;
    if (!std::isfinite(current) || current <= 0) return kReasonCurrentClass;
    return std::nullopt;
}

}  // namespace kalvo
