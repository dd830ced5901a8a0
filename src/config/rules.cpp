#include "config/rules.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "config/dialog_lists.h"
#include "config/kennung.h"
#include "config/number_text.h"
#include "text/cp1252.h"
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

std::optional<int> codeOf(const Cell& cell) {
    if (cell.isEmpty()) return std::nullopt;
    double x = 0;
    if (cell.isNumber()) {
        x = cell.toNumber();
    } else if (const auto parsed = parseNumber(cell.toText('.'))) {
        x = *parsed;
    } else {
        return std::nullopt;
    }
    if (!std::isfinite(x) || std::fabs(x) > 1e6 || x != std::nearbyint(x)) return std::nullopt;
    return static_cast<int>(x);
}

std::vector<std::string> unitsOf(int quantity) {
    if (quantity < 0 || quantity >= kQuantities) return {};
    const std::string base(baseUnit(quantity));
    if (quantity > ApparentPower) return {base};
    return {base, "k" + base, "M" + base, "G" + base};
}

namespace {

// What keeps a text from reaching the device and coming back unchanged: a character the line
// cannot carry, a control character, or the colon that separates the fields of the device copy.
CellProblem textProblem(std::string_view text) {
    if (fromCp1252(toCp1252(text)) != text) return CellProblem::NotWindows1252;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) < 0xA0;  // U+0080..U+009F
        if (c < 0x20 || c == 0x7F || c1) return CellProblem::ControlCharacter;
    }
    if (text.find(':') != std::string_view::npos) return CellProblem::Colon;
    return CellProblem::None;
}

// Judges the cells of one row, field by field, and collects their faults.
class RowJudge {
  public:
    RowJudge(std::vector<CellFault>& out, Table table, int row, char decimal)
        : out_(out), table_(table), row_(row), decimal_(decimal) {}

    // A number cell; `exists` judges its code, when it is one. True when the cell is sound.
    bool number(const Cell& cell, std::size_t field, bool (*exists)(int, int) = nullptr,
                int context = 0) {
        const std::string text = cell.toText(decimal_);
        CellProblem p = cell.isText() ? textProblem(text) : CellProblem::None;
        if (p == CellProblem::None && !cell.isNumber() && !parseNumber(text)) {
            p = CellProblem::NotANumber;
        }
        if (p == CellProblem::None && exists != nullptr) {
            const std::optional<int> code = codeOf(cell);
            if (!code || !exists(*code, context)) p = CellProblem::UnknownCode;
        }
        return add(field, p, text);
    }

    // A unit text; `units` the quantity's list, or nullopt when the quantity is unknown.
    void unit(const Cell& cell, std::size_t field,
              const std::optional<std::vector<std::string>>& units) {
        const std::string text = cell.toText(decimal_);
        CellProblem p = cell.isText() ? textProblem(text) : CellProblem::None;
        if (p == CellProblem::None && units &&
            std::find(units->begin(), units->end(), text) == units->end()) {
            add(field, CellProblem::UnknownUnit, text, *units);
            return;
        }
        add(field, p, text);
    }

  private:
    bool add(std::size_t field, CellProblem p, const std::string& text,
             std::vector<std::string> allowed = {}) {
        if (p == CellProblem::None) return true;
        out_.push_back({table_, row_, field, p, text, std::move(allowed)});
        return false;
    }

    std::vector<CellFault>& out_;
    Table table_;
    int row_;
    char decimal_;
};

bool isConnectionType(int code, int) {
    return code >= 0 && code < kConnectionTypes;
}
bool isQuantity(int code, int) {
    return code >= 0 && code < kQuantities;
}
// `context` is connection type x 100 + quantity.
bool isPlace(int code, int context) {
    const int type = context / 100;
    const int quantity = context % 100;
    const auto places = static_cast<int>(Messort_fuellen(type, quantity).entries.size());
    return code >= 0 && code < places &&
           Kennung_suchen(Groessencode(type, quantity, code), 1, 1).label.has_value();
}
bool isBinaryMode(int code, int) {
    return code >= ModeOff && code <= ModeLimit;
}
bool isDirection(int code, int) {
    return code == 0 || code == 1;
}

// Judges a quantity and its place; the quantity's units when both exist, else nullopt.
std::optional<std::vector<std::string>> quantityAndPlace(RowJudge& judge, const Cell& quantity,
                                                         std::size_t quantityField,
                                                         const Cell& place, std::size_t placeField,
                                                         std::optional<int> type) {
    if (!judge.number(quantity, quantityField, &isQuantity)) {
        judge.number(place, placeField);
        return std::nullopt;
    }
    const int q = *codeOf(quantity);
    if (!type) {  // without a connection type no place list exists to judge the place by
        judge.number(place, placeField);
        return std::nullopt;
    }
    if (!judge.number(place, placeField, &isPlace, *type * 100 + q)) return std::nullopt;
    return unitsOf(q);
}

}  // namespace

std::vector<CellFault> cellFaults(const Record& record, char decimal) {
    std::vector<CellFault> out;
    RowJudge basic(out, Table::Basic, 0, decimal);
    const BasicRow& g = record.Grundwerte;
    std::optional<int> type;
    if (basic.number(g[Basic::ConnectionType], Basic::ConnectionType, &isConnectionType)) {
        type = codeOf(g[Basic::ConnectionType]);
    }
    for (std::size_t f = Basic::NominalFrequency; f < Basic::Count; ++f) basic.number(g[f], f);

    const int analog = std::clamp(record.Anzahl_Analog, 0, kAnalogRows);
    for (int j = 0; j < analog; ++j) {
        const AnalogRow& a = record.Analogwerte[static_cast<std::size_t>(j)];
        RowJudge row(out, Table::Analog, j, decimal);
        const auto units = quantityAndPlace(row, a[Analog::Quantity], Analog::Quantity,
                                            a[Analog::Place], Analog::Place, type);
        row.unit(a[Analog::RangeUnit], Analog::RangeUnit, units);
        for (std::size_t f = Analog::RangeStart; f < Analog::Count; ++f) row.number(a[f], f);
    }

    const int binary = std::clamp(record.Anzahl_Binaer, 0, kBinaryRows);
    for (int j = 0; j < binary; ++j) {
        const BinaryRow& b = record.Binaerwerte[static_cast<std::size_t>(j)];
        RowJudge row(out, Table::Binary, j, decimal);
        // Quantity, place, unit and direction are sent only with a limit value.
        const bool limit = row.number(b[Binary::Mode], Binary::Mode, &isBinaryMode) &&
                           codeOf(b[Binary::Mode]) == ModeLimit;
        std::optional<std::vector<std::string>> units;
        if (limit) {
            units = quantityAndPlace(row, b[Binary::Quantity], Binary::Quantity, b[Binary::Place],
                                     Binary::Place, type);
        } else {
            row.number(b[Binary::Quantity], Binary::Quantity);
            row.number(b[Binary::Place], Binary::Place);
        }
        row.unit(b[Binary::Unit], Binary::Unit, units);
        row.number(b[Binary::Limit], Binary::Limit);
        row.number(b[Binary::Direction], Binary::Direction, limit ? &isDirection : nullptr);
    }
    return out;
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
