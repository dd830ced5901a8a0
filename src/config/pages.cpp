#include "config/pages.h"

#include <cmath>

#include "config/default_range.h"
#include "config/number_text.h"
#include "config/rules.h"

namespace kalvo {

namespace {

// The line-to-line limit of the 600 V class: 300 V line-to-neutral times the family's root 3.
constexpr double kLineLimit600 = 519.615242270664;
constexpr double kLineLimit600Kv = 0.519615242270664;

std::string text(const Cell& cell, char decimal) {
    return formatNumber(cell.toNumber(), decimal);
}

// A position stored from a list: a list showing no entry keeps the cell.
void storeIndex(Cell& cell, int index) {
    if (index >= 0) cell = index;
}

// Comparisons against a default range: range and limit values are typed in prefixed units
// and multiplied out, so a value typed as shown may differ from the bound in the last bit.
bool above(double value, double bound) {
    return value - bound > 1e-9 * std::max(1.0, std::fabs(bound));
}
bool below(double value, double bound) {
    return bound - value > 1e-9 * std::max(1.0, std::fabs(bound));
}

}  // namespace

double fieldValue(std::string_view text) {
    return parseNumber(text).value_or(0);
}

// ---- basic page ------------------------------------------------------------------------------

BasicPage P_in_index(const Record& record, char decimal) {
    const BasicRow& g = record.Grundwerte;
    BasicPage p;
    p.connectionType = connectionType(record);
    if (p.connectionType < 0 || p.connectionType >= kConnectionTypes) p.connectionType = -1;
    const Cell& f = g[Basic::NominalFrequency];
    p.frequencyOption = f.equals(16.666) ? 0 : f.equals(50) ? 1 : f.equals(60) ? 2 : -1;
    p.nominalVoltage = text(g[Basic::NominalVoltage], decimal);
    p.voltageTransformer = !(g[Basic::NominalVoltage].toNumber() > 0);
    p.vtPrimary = text(g[Basic::VtPrimary], decimal);
    p.vtSecondary = text(g[Basic::VtSecondary], decimal);
    p.nominalCurrent = text(g[Basic::NominalCurrent], decimal);
    p.currentTransformer = !(g[Basic::NominalCurrent].toNumber() > 0);
    p.ctPrimary = text(g[Basic::CtPrimary], decimal);
    p.ctSecondary = text(g[Basic::CtSecondary], decimal);
    return p;
}

PageCheck Grund_speichern(Record& record, const BasicPage& page) {
    BasicRow& g = record.Grundwerte;
    storeIndex(g[Basic::ConnectionType], page.connectionType);
    switch (page.frequencyOption) {
        case 0:
            g[Basic::NominalFrequency] = 16.666;  // the option reads "16,6 Hz"
            break;
        case 1:
            g[Basic::NominalFrequency] = 50;
            break;
        case 2:
            g[Basic::NominalFrequency] = 60;
            break;
        default:
            break;  // no option selected: the frequency stays
    }
    if (!page.voltageTransformer) {
        g[Basic::NominalVoltage] = fieldValue(page.nominalVoltage);
        g[Basic::VtPrimary] = 0;
        g[Basic::VtSecondary] = 0;
    } else {
        g[Basic::NominalVoltage] = 0;
        g[Basic::VtPrimary] = fieldValue(page.vtPrimary);
        g[Basic::VtSecondary] = fieldValue(page.vtSecondary);
    }
    if (!page.currentTransformer) {
        g[Basic::NominalCurrent] = fieldValue(page.nominalCurrent);
        g[Basic::CtPrimary] = 0;
        g[Basic::CtSecondary] = 0;
    } else {
        g[Basic::NominalCurrent] = 0;
        g[Basic::CtPrimary] = fieldValue(page.ctPrimary);
        g[Basic::CtSecondary] = fieldValue(page.ctSecondary);
    }
    return Grund_pruefen(record, page);
}

VoltageLimit voltageLimit(const Record& record, int type, bool voltageTransformer) {
    const bool class600 = record.Max_Spannung == 600;
    const double ln = record.Max_Spannung_LN();
    const VoltageLimit phase = class600 ? VoltageLimit{300, 0.3} : VoltageLimit{ln, ln / 1000};
    const VoltageLimit line = class600
                                  ? VoltageLimit{kLineLimit600, kLineLimit600Kv}
                                  : VoltageLimit{record.Max_Spannung, record.Max_Spannung / 1000};
    switch (type) {
        case FourWireUnbalanced:
            // A transformer on a four-wire network is connected line to line.
            return voltageTransformer ? line : phase;
        case FourWireBalanced:
        case SinglePhase:
            return phase;
        case ThreeWireUnbalanced:
        case ThreeWireBalanced:
            return line;
        default:
            // No connection type: no limit of its own (both values 0 still fail).
            return {HUGE_VAL, HUGE_VAL};
    }
}

PageCheck Grund_pruefen(const Record& record, const BasicPage& shown) {
    const BasicRow& g = record.Grundwerte;
    PageCheck c;
    c.message = max_info(record.Max_Spannung, record.Max_Strom);

    const double U = g[Basic::NominalVoltage].toNumber();
    const double Us = g[Basic::VtSecondary].toNumber();
    const VoltageLimit limit =
        voltageLimit(record, connectionType(record), shown.voltageTransformer);
    if (U > limit.volts || Us > limit.secondaryKv || (U == 0 && Us == 0)) c.stop[1] = true;

    const double I = g[Basic::NominalCurrent].toNumber();
    const double Is = g[Basic::CtSecondary].toNumber();
    if (I > record.Max_Strom || Is > record.Max_Strom || (I == 0 && Is == 0)) c.stop[2] = true;

    c.Eingabefehler = c.stop[1] || c.stop[2];
    c.showFrame = c.Eingabefehler;
    return c;
}

bool Grund_vergleichen(const Record& record, const BasicPage& page) {
    const BasicRow& g = record.Grundwerte;
    const auto differs = [&](const std::string& shown, Basic::Field f) {
        return fieldValue(shown) != g[f].toNumber();
    };
    if (page.connectionType >= 0 && !g[Basic::ConnectionType].equals(page.connectionType)) {
        return true;
    }
    if (!page.voltageTransformer) {
        if (differs(page.nominalVoltage, Basic::NominalVoltage)) return true;
    } else if (differs(page.vtPrimary, Basic::VtPrimary) ||
               differs(page.vtSecondary, Basic::VtSecondary)) {
        return true;
    }
    if (!page.currentTransformer) return differs(page.nominalCurrent, Basic::NominalCurrent);
    return differs(page.ctPrimary, Basic::CtPrimary) ||
           differs(page.ctSecondary, Basic::CtSecondary);
}

std::string max_info(double Max_Spannung, double Max_Strom) {
    std::string current;
    if (Max_Strom == 5) {
        current = "5A";
    } else if (Max_Strom == 1.2) {
        current = "1.2A";
    } else if (Max_Strom == 1) {
        current = "1A";
    }
    if (!current.empty()) {
        if (Max_Spannung == 600) return "L-L 519,6V L-N 300V " + current;
        if (Max_Spannung == 120) return "L-L 120V L-N 69,28V " + current;
        if (Max_Spannung == 100) return "L-L 100V L-N 57,73V " + current;
    }
    return "L-L 600V L-N 346,4V  5A";  // the label's design-time text
}

std::string_view voltageSuffix(int connectionType, bool voltageTransformer) {
    if (connectionType == FourWireBalanced || connectionType == SinglePhase) return " (L - N)";
    if (connectionType == FourWireUnbalanced && !voltageTransformer) return " (L - N)";
    return " (L - L)";
}

std::string_view wiringPicture(int connectionType) {
    switch (connectionType) {
        case FourWireUnbalanced:
            return "s4u.sb";
        case FourWireBalanced:
            return "s4g.sb";
        case ThreeWireUnbalanced:
            return "s3u.sb";
        case ThreeWireBalanced:
            return "s3g.sb";
        case SinglePhase:
            return "s1.sb";
        default:
            return "";
    }
}

// ---- analog pages ----------------------------------------------------------------------------

AnalogPage Analog_anzeigen(const Record& record, int row, char decimal) {
    const AnalogRow& a = record.Analogwerte.at(static_cast<std::size_t>(row));
    AnalogPage p;
    p.quantity = cellIndex(a[Analog::Quantity]);
    p.place = cellIndex(a[Analog::Place]);
    p.unit = a[Analog::RangeUnit].toText(decimal);
    const double factor = prefixFactor(p.unit);
    p.rangeStart = formatNumber(a[Analog::RangeStart].toNumber() / factor, decimal);
    p.rangeEnd = formatNumber(a[Analog::RangeEnd].toNumber() / factor, decimal);
    p.kneeInput = formatNumber(a[Analog::KneeInput].toNumber() / factor, decimal);
    p.outputUnit = outputInVolts(a) ? 1 : 0;
    p.outputStart = text(a[Analog::OutputStart], decimal);
    p.outputEnd = text(a[Analog::OutputEnd], decimal);
    p.limitMin = text(a[Analog::LimitMin], decimal);
    p.limitMax = text(a[Analog::LimitMax], decimal);
    p.kneeOutput = text(a[Analog::KneeOutput], decimal);
    p.kinked = a[Analog::Kinked].equals(1);
    return p;
}

PageCheck Analog_speichern(Record& record, int row, AnalogPage& page, char decimal) {
    if (!page.kinked) Knick_zuruecksetzen(page, decimal);
    AnalogRow& a = record.Analogwerte.at(static_cast<std::size_t>(row));
    const double factor = prefixFactor(page.unit);
    storeIndex(a[Analog::Quantity], page.quantity);
    storeIndex(a[Analog::Place], page.place);
    a[Analog::RangeUnit] = page.unit;
    a[Analog::RangeStart] = fieldValue(page.rangeStart) * factor;
    a[Analog::KneeInput] = fieldValue(page.kneeInput) * factor;
    a[Analog::RangeEnd] = fieldValue(page.rangeEnd) * factor;
    storeIndex(a[Analog::OutputUnit], page.outputUnit);
    a[Analog::OutputStart] = fieldValue(page.outputStart);
    a[Analog::KneeOutput] = fieldValue(page.kneeOutput);
    a[Analog::OutputEnd] = fieldValue(page.outputEnd);
    a[Analog::LimitMin] = fieldValue(page.limitMin);
    a[Analog::LimitMax] = fieldValue(page.limitMax);
    a[Analog::Kinked] = page.kinked ? 1 : 0;
    return Analog_pruefen(record, row, decimal);
}

PageCheck Analog_pruefen(const Record& record, int row, char decimal) {
    const AnalogRow& a = record.Analogwerte.at(static_cast<std::size_t>(row));
    const int q = cellIndex(a[Analog::Quantity]);
    const DefaultRange range =
        Vorgabebereich(record, q, cellIndex(a[Analog::Place]), RangeMode::Analog);
    PageCheck c;
    c.showFrame = true;  // the allowed range is always on show beside the range
    c.message = rangeDisplay(range, q, decimal).allowed;

    const double start = a[Analog::RangeStart].toNumber();
    const double end = a[Analog::RangeEnd].toNumber();
    if (q == PowerFactor) {
        c.stop[3] = (start == 1 && end == 1) || start < 0 || start > 1 || end < 0 || end > 1;
    } else if (q == ReactiveFactor) {
        c.stop[3] = (start == 0 && end == 0) || start < -1 || start > 0 || end < 0 || end > 1;
    } else {
        c.stop[3] = rangeBreach(start, end, range).any();
    }
    c.exclamation = c.stop[3];

    const double from = a[Analog::OutputStart].toNumber();
    const double to = a[Analog::OutputEnd].toNumber();
    const double min = a[Analog::LimitMin].toNumber();
    const double max = a[Analog::LimitMax].toNumber();
    const double signal = outputInVolts(a) ? 10 : 20;
    const double limitation = outputInVolts(a) ? 12 : 24;
    c.stop[4] = from < min || to > max || min < -limitation || max > limitation || from < -signal ||
                to > signal || min >= max || from >= to;

    if (a[Analog::Kinked].equals(1)) {
        const double kneeIn = a[Analog::KneeInput].toNumber();
        const double kneeOut = a[Analog::KneeOutput].toNumber();
        // Power factor: the knee's input lies between the range start and 1 (the range end of
        // a power factor range may lie below its start).
        const double highest = q == PowerFactor ? 1.0 : end;
        c.stop[5] = kneeIn < start || kneeIn > highest || kneeOut < from || kneeOut > to;
    }
    c.Eingabefehler = c.stop[3] || c.stop[4] || c.stop[5];
    return c;
}

RangeBreach rangeBreach(double start, double end, const DefaultRange& range) {
    return {start > end, below(start, range.von), above(end, range.bis)};
}

std::string_view outputUnitLabel(int outputUnit) {
    return outputUnit == 0 ? "mA" : outputUnit == 1 ? "V" : "";
}

OutputDefaults outputDefaults(int outputUnit) {
    if (outputUnit == 0) return {"-20", "20", "-24", "24"};
    return {"-10", "10", "-12", "12"};
}

std::array<std::string, 6> Knick_beschriften(const AnalogPage& page, char decimal) {
    // A text that is no number is shown as it is, as the format leaves it.
    const auto formatted = [decimal](const std::string& t) {
        const auto v = parseNumber(t);
        return v ? formatRange(*v, decimal) : t;
    };
    return {formatted(page.rangeStart),
            formatted(page.rangeEnd),
            page.outputStart,
            page.outputEnd,
            page.unit,
            std::string(outputUnitLabel(page.outputUnit))};
}

void Knick_zuruecksetzen(AnalogPage& page, char decimal) {
    // An empty label or a lone minus counts as 0, as every text that is no number.
    const std::array<std::string, 6> kn = Knick_beschriften(page, decimal);
    const double input =
        page.quantity == PowerFactor ? 1.0 : fieldValue(kn[0]) / 2 + fieldValue(kn[1]) / 2;
    page.kneeInput = formatNumber(input, decimal);
    page.kneeOutput = formatNumber(fieldValue(kn[2]) / 2 + fieldValue(kn[3]) / 2, decimal);
}

// ---- binary pages ----------------------------------------------------------------------------

BinaryPage Binaer_anzeigen(const Record& record, int row, char decimal) {
    const BinaryRow& b = record.Binaerwerte.at(static_cast<std::size_t>(row));
    BinaryPage p;
    p.mode = cellIndex(b[Binary::Mode]);
    if (p.mode < ModeOff || p.mode > ModeLimit) p.mode = -1;
    p.quantity = cellIndex(b[Binary::Quantity]);
    p.place = cellIndex(b[Binary::Place]);
    p.unit = b[Binary::Unit].toText(decimal);
    p.limit = formatNumber(b[Binary::Limit].toNumber() / prefixFactor(p.unit), decimal);
    p.direction = b[Binary::Direction].equals(0) ? 0 : 1;
    if (p.mode != ModeLimit) {
        // Fields 1 to 5 are zeros in the other modes: the hidden limit controls show what
        // choosing "Grenzwert" should start from, the proposal for the voltage.
        const RangeDisplay d =
            rangeDisplay(Vorgabebereich(record, Voltage, 0, RangeMode::Binary), Voltage, decimal);
        p.quantity = Voltage;
        p.place = 0;
        p.unit = d.unit;
        p.limit = d.proposal;
        p.direction = 0;
    }
    return p;
}

PageCheck Binaer_speichern(Record& record, int row, const BinaryPage& page, char decimal) {
    BinaryRow& b = record.Binaerwerte.at(static_cast<std::size_t>(row));
    storeIndex(b[Binary::Mode], page.mode);
    if (!b[Binary::Mode].equals(ModeLimit)) {
        for (const Binary::Field f :
             {Binary::Quantity, Binary::Place, Binary::Unit, Binary::Limit, Binary::Direction}) {
            b[f] = 0;
        }
        return {};
    }
    storeIndex(b[Binary::Quantity], page.quantity);
    storeIndex(b[Binary::Place], page.place);
    b[Binary::Unit] = page.unit;
    b[Binary::Limit] = fieldValue(page.limit) * prefixFactor(page.unit);
    b[Binary::Direction] = page.direction == 0 ? 0 : 1;
    return Binaer_pruefen(record, row, decimal);
}

PageCheck Binaer_pruefen(const Record& record, int row, char decimal) {
    const BinaryRow& b = record.Binaerwerte.at(static_cast<std::size_t>(row));
    const int q = cellIndex(b[Binary::Quantity]);
    PageCheck c;
    if (q > 9) return c;  // a quantity the list does not have is not checked
    const DefaultRange range =
        Vorgabebereich(record, q, cellIndex(b[Binary::Place]), RangeMode::Binary);
    c.message = rangeDisplay(range, q, decimal).allowed;
    const double limit = b[Binary::Limit].toNumber();
    c.stop[6] = below(limit, range.von) || above(limit, range.bis);
    c.Eingabefehler = c.stop[6];
    c.showFrame = c.stop[6];
    c.exclamation = c.stop[6];
    return c;
}

// ---- interface page --------------------------------------------------------------------------

std::array<bool, kInterfaceCells> Schnittstelle_freigeben(int type) {
    std::array<bool, kInterfaceCells> on{};
    on[34] = true;  // the 10 V DC input exists on every connection type
    const auto enable = [&on](std::initializer_list<int> boxes) {
        for (const int i : boxes) on[static_cast<std::size_t>(i)] = true;
    };
    switch (type) {
        case FourWireUnbalanced:
            on.fill(true);
            break;
        case FourWireBalanced:
            enable({0, 6, 9, 13, 17, 21, 25, 30, 33});
            break;
        case ThreeWireUnbalanced:
            for (int i = 3; i <= 33; ++i) on[static_cast<std::size_t>(i)] = true;
            on[36] = true;
            break;
        case ThreeWireBalanced:
            enable({3, 4, 5, 6, 9, 13, 17, 21, 25, 30, 33});
            break;
        case SinglePhase:
            enable({0, 6, 10, 14, 18, 22, 26, 30, 33});
            break;
        default:
            break;
    }
    return on;
}

InterfacePage Schnittstelle_anzeigen(const Record& record) {
    const auto enabled = Schnittstelle_freigeben(connectionType(record));
    InterfacePage p;
    for (std::size_t i = 0; i < p.checked.size(); ++i) {
        p.checked[i] = enabled[i] && record.Schnittstellenwerte[i].equals(1);
    }
    return p;
}

void Schnittstelle_speichern(Record& record, const InterfacePage& page) {
    for (std::size_t i = 0; i < page.checked.size(); ++i) {
        record.Schnittstellenwerte[i] = page.checked[i] ? 1 : 0;
    }
}

// ---- reset -----------------------------------------------------------------------------------

void Ausgaenge_zuruecksetzen(Record& record) {
    const DefaultRange analog = Vorgabebereich(record, Voltage, 0, RangeMode::Analog);
    record.Analogwerte.fill(
        defaultAnalogOutput(std::string(prefixFor(analog.bis).text) + "V", analog.bis));
    const DefaultRange binary = Vorgabebereich(record, Voltage, 0, RangeMode::Binary);
    const std::string binaryUnit = std::string(prefixFor(binary.bis).text) + "V";
    for (BinaryRow& b : record.Binaerwerte) {
        b[Binary::Mode] = 0;
        b[Binary::Quantity] = 0;
        b[Binary::Place] = 0;
        b[Binary::Unit] = binaryUnit;
        b[Binary::Limit] = binary.nenn;
        b[Binary::Direction] = 0;
    }
    for (Cell& cell : record.Schnittstellenwerte) cell = 0;
}

}  // namespace kalvo
