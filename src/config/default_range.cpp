#include "config/default_range.h"

#include <cmath>

#include "config/dialog_lists.h"
#include "config/number_text.h"
#include "config/rules.h"

namespace kalvo {

namespace {

// What the device's table gives as the range end, and whether the range is symmetric.
enum class Span { None, U, ULL, P, PThird, I };

struct Entry {
    Span span = Span::None;
    bool symmetric = false;  // start = -end
};

bool oneOf(int code, std::initializer_list<int> codes) {
    for (const int c : codes) {
        if (c == code) return true;
    }
    return false;
}
bool within(int code, int first, int last) {
    return code >= first && code <= last;
}

Entry entryFor(int code) {
    if (oneOf(code, {0, 1, 2, 6, 1000, 4000})) return {Span::U};
    if (within(code, 3, 5) || within(code, 2000, 2002) || within(code, 3000, 3002)) {
        return {Span::ULL};
    }
    if (oneOf(code, {20, 1020, 2020, 3020, 4020, 30, 1030, 2030, 3030, 4030})) {
        return {Span::P, true};
    }
    if (within(code, 21, 23) || within(code, 2021, 2023) || within(code, 31, 33) ||
        within(code, 2031, 2033)) {
        return {Span::PThird, true};
    }
    if (oneOf(code, {40, 1040, 2040, 3040, 4040})) return {Span::P};
    if (within(code, 41, 43) || within(code, 2041, 2043)) return {Span::PThird};
    if (within(code, 10, 13) || oneOf(code, {1010, 3010, 4010}) || within(code, 2010, 2013)) {
        return {Span::I};
    }
    return {};
}

// Rounds a value above 1e9, 1e6, 1000 in turn to 3 decimals of that unit.
double roundInUnits(double v) {
    for (const double unit : {1e9, 1e6, 1e3}) {
        if (std::fabs(v) > unit) v = roundHalfEven(v / unit, 3) * unit;
    }
    return v;
}

// The 100 % value is a fixed-point value with 4 decimals (ten-thousandths, halves to even)
// that is then rounded to 3 decimals, halves to even, in decimal: 1154.70054 is 1154.7005 and
// then 1154.700.
double currencyRound3(double value) {
    const double scaled = value * 10000;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9e17) return roundHalfEven(value, 3);
    auto units = static_cast<long long>(roundHalfEven(scaled, 0));
    long long tenths = units / 10;
    const long long rest = units % 10;  // same sign as units
    if (rest > 5 || (rest == 5 && tenths % 2 != 0)) ++tenths;
    if (rest < -5 || (rest == -5 && tenths % 2 != 0)) --tenths;
    return static_cast<double>(tenths) / 1000;
}

}  // namespace

double roundHalfEven(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    // Beyond 2^52 every double is whole: nothing to round (and nothing to overflow).
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) return value;
    // Halves go to the even neighbour whatever rounding mode the process runs in.
    double rounded = std::round(scaled);  // halves away from zero
    if (std::fabs(scaled - std::trunc(scaled)) == 0.5) rounded = 2 * std::round(scaled / 2);
    return rounded / scale;
}

DefaultRange Vorgabebereich(const Record& record, int quantity, int place, RangeMode mode) {
    const BasicRow& g = record.Grundwerte;
    const int type = connectionType(record);
    if (type < 0 || type >= kConnectionTypes) return {};

    switch (quantity) {
        case PowerFactor:
            return {0, 1, 1};
        case ReactiveFactor:
            return {-1, 1, 0};
        case PhaseAngle:
            return {-180, 180, 0};
        case Frequency: {
            const double f = g[Basic::NominalFrequency].toNumber();
            return {roundHalfEven(0.8 * f, 3), roundHalfEven(1.2 * f, 3), roundHalfEven(f, 3)};
        }
        case DcInput:
            return {-10, 10, 10};
        default:
            break;
    }

    double I = g[Basic::NominalCurrent].toNumber();
    if (I == 0) I = g[Basic::CtPrimary].toNumber();
    const double nominal = g[Basic::NominalVoltage].toNumber();
    const double input = nominal != 0 ? nominal : g[Basic::VtPrimary].toNumber() * 1000;
    const bool transformer = !(nominal > 0);  // the basic page's "mit Wandler"
    const double root3 = std::sqrt(3.0);

    float U = 0;  // the phase voltage, single precision
    double U_LL = 0;
    double P = 0;
    switch (type) {
        case FourWireUnbalanced:
            if (!transformer) {
                U = static_cast<float>(input);
                U_LL = U * root3;
            } else {
                U_LL = input;
                U = static_cast<float>(U_LL / root3);
            }
            P = 3 * static_cast<double>(U) * I;
            break;
        case FourWireBalanced:
            U = static_cast<float>(input);
            P = 3 * static_cast<double>(U) * I;
            break;
        case ThreeWireUnbalanced:
        case ThreeWireBalanced:
            U_LL = input;
            U = static_cast<float>(U_LL / root3);
            P = 3 * static_cast<double>(U) * I;
            break;
        default:  // single-phase
            U = static_cast<float>(input);
            P = static_cast<double>(U) * I;
            break;
    }

    const Entry e = entryFor(Groessencode(type, quantity, place));
    double end = 0;
    switch (e.span) {
        case Span::U:
            end = U;
            break;
        case Span::ULL:
            end = U_LL;
            break;
        case Span::P:
            end = P;
            break;
        case Span::PThird:
            end = P / 3;
            break;
        case Span::I:
            end = I;
            break;
        case Span::None:
            break;
    }
    const double start = e.symmetric ? -end : 0.0;
    const double factor = mode == RangeMode::Binary ? 1.2 : 1.0;

    DefaultRange r;
    r.nenn = currencyRound3(end);
    r.von = roundInUnits(roundHalfEven(start * factor, 3));
    r.bis = roundInUnits(roundHalfEven(end * factor, 3));
    return r;
}

double prefixFactor(std::string_view unit) {
    if (unit.empty()) return 1;
    switch (unit.front()) {
        case 'G':
            return 1e9;
        case 'M':
            return 1e6;
        case 'k':
            return 1000;
        default:
            return 1;
    }
}

Prefix prefixFor(double end) {
    if (end > 1e9) return {"G", 1e9};
    if (end > 1e6) return {"M", 1e6};
    if (end > 1000) return {"k", 1000};
    return {"", 1};
}

std::string formatRange(double value, char decimal) {
    // Halves away from zero, as the format does; -0,0 is shown as 0,0.
    double rounded = std::round(value * 1000) / 1000;
    if (!std::isfinite(rounded)) rounded = value;
    std::string text = formatNumber(rounded, decimal);
    if (text.find(decimal) == std::string::npos) {
        text += decimal;
        text += '0';
    }
    return text;
}

RangeDisplay rangeDisplay(const DefaultRange& range, int quantity, char decimal) {
    RangeDisplay d;
    d.prefix = prefixFor(range.bis);
    d.unit = std::string(d.prefix.text) + std::string(baseUnit(quantity));
    const double div = d.prefix.divisor;
    d.start = formatNumber(range.von / div, decimal);
    d.end = formatNumber(range.bis / div, decimal);
    d.proposal = formatNumber(range.nenn / div, decimal);
    const std::string from = formatRange(range.von / div, decimal);
    const std::string to = formatRange(range.bis / div, decimal);
    if (quantity == PowerFactor || quantity == ReactiveFactor) {
        d.allowed = from + " kap. ... " + to + " ind. " + d.unit;
    } else {
        d.allowed = from + " ... " + to + " " + d.unit;
    }
    return d;
}

}  // namespace kalvo
