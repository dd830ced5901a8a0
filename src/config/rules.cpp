#include "config/rules.h"

#include <cmath>
#include <sstream>

#include "config/kennung.h"
#include "config/number_text.h"
#include "text/value_lists.h"

namespace kalvo {

int cellIndex(const Cell& cell) {
    const double x = cell.toNumber();
    if (!std::isfinite(x) || std::fabs(x) > 1e6) return -1;
    return static_cast<int>(std::lround(x));
}

int connectionType(const Record& record) {
    return cellIndex(record.Grundwerte[Basic::ConnectionType]);
}

bool voltageTransformerInUse(const Record& record) {
    return record.Grundwerte[Basic::NominalVoltage].equals(0);
}

bool currentTransformerInUse(const Record& record) {
    return record.Grundwerte[Basic::NominalCurrent].equals(0);
}

double Wandler_Faktor_U(const Record& record) {
    if (!voltageTransformerInUse(record)) return 1.0;
    const auto& g = record.Grundwerte;
    return g[Basic::VtPrimary].toNumber() / g[Basic::VtSecondary].toNumber();
}

double Wandler_Faktor_I(const Record& record) {
    if (!currentTransformerInUse(record)) return 1.0;
    const auto& g = record.Grundwerte;
    return g[Basic::CtPrimary].toNumber() / g[Basic::CtSecondary].toNumber();
}

int analogCode(const Record& record, int row) {
    const AnalogRow& a = record.Analogwerte.at(static_cast<std::size_t>(row));
    return Groessencode(connectionType(record), cellIndex(a[Analog::Quantity]),
                        cellIndex(a[Analog::Place]));
}

int binaryCode(const Record& record, int row) {
    const BinaryRow& b = record.Binaerwerte.at(static_cast<std::size_t>(row));
    return Groessencode(connectionType(record), cellIndex(b[Binary::Quantity]),
                        cellIndex(b[Binary::Place]));
}

bool outputInVolts(const AnalogRow& output) {
    return output[Analog::OutputUnit].equals(1);
}

std::string_view outputUnitText(const AnalogRow& output) {
    return outputInVolts(output) ? "V" : "mA";
}

std::string connectionCode(int index) {
    switch (index) {
        case FourWireUnbalanced:
            return "4U,";
        case FourWireBalanced:
            return "4G,";
        case ThreeWireUnbalanced:
            return "3U,";
        case ThreeWireBalanced:
            return "3G,";
        case SinglePhase:
            return "1,";
        default:
            return "";
    }
}

namespace {

std::string num(double v) {
    return formatNumber(v, '.');
}

// The device label of a quantity code, without scaling; "?" when the table has no row.
std::string label(int code) {
    return Kennung_suchen(code, 1, 1).label.value_or("?");
}

}  // namespace

std::string describeRecord(const Record& r) {
    std::ostringstream s;
    const auto& g = r.Grundwerte;
    const auto n = [](const Cell& c) { return num(c.toNumber()); };
    s << "variant: TXR 3.0 " << r.Anzahl_Analog << "A/" << r.Anzahl_Binaer << "D\n";
    s << "input class: " << num(r.Max_Spannung) << " V, " << num(r.Max_Strom) << " A\n";
    const int type = connectionType(r);
    std::string code = connectionCode(type);  // "4U," as the device takes it
    if (!code.empty()) code.pop_back();
    const std::string_view name = connectionTypeText(type, Language::English);
    s << "connection: " << (code.empty() ? "?" : code) << ' '
      << (name.empty() ? std::string_view("unknown") : name) << '\n';
    s << "frequency: " << n(g[Basic::NominalFrequency]) << " Hz\n";
    if (voltageTransformerInUse(r)) {
        s << "voltage: transformer " << n(g[Basic::VtPrimary]) << " kV / "
          << n(g[Basic::VtSecondary]) << " kV\n";
    } else {
        s << "voltage: " << n(g[Basic::NominalVoltage]) << " V\n";
    }
    if (currentTransformerInUse(r)) {
        s << "current: transformer " << n(g[Basic::CtPrimary]) << " A / "
          << n(g[Basic::CtSecondary]) << " A\n";
    } else {
        s << "current: " << n(g[Basic::NominalCurrent]) << " A\n";
    }
    for (int j = 0; j < r.Anzahl_Analog && j < kAnalogRows; ++j) {
        const AnalogRow& a = r.Analogwerte[static_cast<std::size_t>(j)];
        const std::string_view unit = outputUnitText(a);
        s << "analog " << j + 1 << ": " << label(analogCode(r, j)) << " ("
          << a[Analog::RangeUnit].toText('.') << "), range " << n(a[Analog::RangeStart]) << " .. "
          << n(a[Analog::RangeEnd]) << ", knee " << n(a[Analog::KneeInput]) << " -> "
          << n(a[Analog::KneeOutput]) << ' ' << unit << ", signal " << n(a[Analog::OutputStart])
          << " .. " << n(a[Analog::OutputEnd]) << ' ' << unit << ", limits "
          << n(a[Analog::LimitMin]) << " .. " << n(a[Analog::LimitMax]) << ' ' << unit
          << ", kinked " << (a[Analog::Kinked].equals(1) ? "on" : "off") << '\n';
    }
    for (int j = 0; j < r.Anzahl_Binaer && j < kBinaryRows; ++j) {
        const BinaryRow& b = r.Binaerwerte[static_cast<std::size_t>(j)];
        s << "binary " << j + 1 << ": ";
        if (b[Binary::Mode].equals(ModeOff)) {
            s << "off\n";
        } else if (b[Binary::Mode].equals(ModeOnWhileOk)) {
            s << "on while OK\n";
        } else {
            s << "limit " << label(binaryCode(r, j)) << ' '
              << (b[Binary::Direction].equals(1) ? "<" : ">") << ' ' << n(b[Binary::Limit]) << " ("
              << b[Binary::Unit].toText('.') << ")\n";
        }
    }
    s << "interface:";
    bool any = false;
    for (int i = 0; i < kInterfaceCells; ++i) {
        if (r.Schnittstellenwerte[static_cast<std::size_t>(i)].equals(1)) {
            s << ' ' << i;
            any = true;
        }
    }
    s << (any ? "\n" : " none\n");
    return s.str();
}

}  // namespace kalvo
