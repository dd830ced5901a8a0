#include "measure/measured_line.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include "config/number_text.h"

namespace kalvo {

namespace {

constexpr std::size_t kFieldWidth = 7;  // positions 1..7
constexpr std::size_t kUnitStart = 8;   // position 9
constexpr std::size_t kShortLine = 4;   // lines this short (CR included) are not rewritten

struct GroupRule {
    Group group;
    std::string_view tag;
    // Prefixed units: giga, mega, kilo. Voltage has no kilo fallback; current no prefix.
    std::array<std::string_view, 3> units;
};

constexpr std::array<GroupRule, 5> kGroups = {{
    {Group::U, "/U", {"GV", "MV", "KV"}},
    {Group::I, "/I", {"", "", ""}},
    {Group::P, "/P", {"GW", "MW", "KW"}},
    {Group::Q, "/Q", {"Gvar", "Mvar", "Kvar"}},
    {Group::S, "/S", {"GVA", "MVA", "KVA"}},
}};

bool isPower(Group g) {
    return g == Group::P || g == Group::Q || g == Group::S;
}

// primary / secondary, or 1 when that is 0 or no number.
double ratio(double primary, double secondary) {
    const double q = primary / secondary;
    if (!std::isfinite(q) || q == 0) return 1.0;
    return q;
}

// Index into GroupRule::units for a reference value (giga, mega, kilo), or -1 for none.
int prefixFor(double reference) {
    if (reference >= 1'000'000) return 0;
    if (reference >= 1000) return 1;
    if (reference >= 1) return 2;
    return -1;
}

constexpr std::array<double, 3> kDivisors = {1e9, 1e6, 1e3};

// Writes `text` into `line` from index `at`; what would run past the end is cut off.
void overwrite(std::string& line, std::size_t at, std::string_view text) {
    for (std::size_t k = 0; k < text.size() && at + k < line.size(); ++k) line[at + k] = text[k];
}

}  // namespace

Transformers displayTransformers(const Record& record) {
    const auto& g = record.Grundwerte;
    return {g[Basic::VtPrimary].toNumber(), g[Basic::VtSecondary].toNumber(),
            g[Basic::CtPrimary].toNumber(), g[Basic::CtSecondary].toNumber()};
}

double Anzeige_Faktor_U(const Transformers& t) {
    return ratio(t.vtPrimary, t.vtSecondary);
}

double Anzeige_Faktor_I(const Transformers& t) {
    return ratio(t.ctPrimary, t.ctSecondary);
}

double Anzeige_Faktor_P(const Transformers& t) {
    return Anzeige_Faktor_U(t) * Anzeige_Faktor_I(t);
}

double Bezugsleistung(const Transformers& t) {
    if (t.vtPrimary > 0 && t.ctPrimary == 0) return 10 * t.vtPrimary;
    if (t.ctPrimary > 0 && t.vtPrimary == 0) return t.ctPrimary;
    if (t.vtPrimary > 0 && t.ctPrimary > 0) return 10 * t.vtPrimary * t.ctPrimary;
    return 0;
}

std::optional<double> valueFieldNumber(std::string_view line) {
    std::string_view field = line.substr(0, std::min(line.size(), kFieldWidth));
    std::size_t k = 0;
    while (k < field.size() && (field[k] == ' ' || field[k] == '\t')) ++k;
    bool negative = false;
    if (k < field.size() && (field[k] == '-' || field[k] == '+')) {
        negative = field[k] == '-';
        ++k;
    }
    const std::size_t start = k;
    bool digit = false;
    bool point = false;
    for (; k < field.size(); ++k) {
        const char c = field[k];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digit) return std::nullopt;
    double value = 0;
    // Seven characters hold no number beyond the double range; "5." and ".5" both read.
    std::from_chars(field.data() + start, field.data() + k, value, std::chars_format::fixed);
    return negative ? -value : value;
}

double roundedToFiveDecimals(double value) {
    if (!std::isfinite(value)) return value;
    // A value exactly halfway between two five-decimal numbers is odd/64 (the only halves a
    // binary number can hold at the sixth decimal). The pattern rounds those away from zero;
    // std::to_chars alone would round them to even.
    const double scaled = value * 64;
    if (scaled == std::floor(scaled) && std::fmod(scaled, 2.0) != 0) {
        value += std::copysign(0.5e-5, value);
    }
    // The longest fixed text of a double: 309 digits, a sign, a point and five decimals.
    std::array<char, 330> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::fixed, 5);
    if (written.ec != std::errc{}) return value;
    double rounded = 0;
    std::from_chars(buffer.data(), written.ptr, rounded, std::chars_format::fixed);
    return rounded;
}

std::string Messwert_Text(double value, Group group) {
    // Active and reactive power keep the zero before the point on both sides of 0; voltage,
    // current and apparent power only above 0, so -0.5 V is written "-.5".
    const bool signedGroup = group == Group::P || group == Group::Q;
    const bool leadingZero =
        signedGroup ? (value != 0 && std::fabs(value) < 1) : (value > 0 && value < 1);
    std::string digits = formatNumber(std::fabs(value), '.');
    if (!leadingZero && digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        digits = digits.substr(1);
    }
    std::string text;
    text.reserve(digits.size() + 1);
    text.push_back(value < 0 ? '-' : ' ');
    text.append(digits);
    return text;
}

std::string rewriteReceived(std::string_view received, const Transformers& t) {
    std::string line(received);
    if (line.size() <= kShortLine || line.find_first_of("FH") != std::string::npos) return line;

    // The ratios are taken afresh for every line: the record may have changed meanwhile.
    const double fu = Anzeige_Faktor_U(t);
    const double fi = Anzeige_Faktor_I(t);
    const double fp = fu * fi;
    const bool noTransformer = t.vtPrimary == 0 && t.ctPrimary == 0;

    for (const GroupRule& rule : kGroups) {
        if (line.find(rule.tag) == std::string::npos) continue;
        const double factor = rule.group == Group::U ? fu : rule.group == Group::I ? fi : fp;
        double value = valueFieldNumber(line).value_or(0) * factor;
        // A product beyond the double range has no text: the group is left as received.
        if (!std::isfinite(value)) continue;

        int prefix = -1;
        if (rule.group == Group::U) prefix = prefixFor(t.vtPrimary);
        if (isPower(rule.group)) prefix = prefixFor(Bezugsleistung(t));
        if (prefix >= 0) {
            value /= kDivisors[static_cast<std::size_t>(prefix)];
            overwrite(line, kUnitStart, rule.units[static_cast<std::size_t>(prefix)]);
        }

        value = roundedToFiveDecimals(value);
        // Without any transformer the device's watts, vars and volt-amperes get a kilo
        // prefix from 1000 on.
        if (isPower(rule.group) && noTransformer && std::fabs(value) >= 1000) {
            value /= 1000;
            overwrite(line, kUnitStart, rule.units[2]);
        }

        overwrite(line, 0, std::string(kFieldWidth, ' '));
        const std::string text = Messwert_Text(value, rule.group);
        overwrite(line, 0, std::string_view(text).substr(0, kFieldWidth));
    }
    return line;
}

std::string rewriteLine(std::string_view line, const Transformers& t) {
    std::string received(line);
    received += '\r';
    std::string shown = rewriteReceived(received, t);
    // A unit that reached the end of the line may have taken the CR's place.
    if (!shown.empty() && shown.back() == '\r') shown.pop_back();
    return shown;
}

std::string_view unitText(std::string_view line) {
    if (line.size() <= kUnitStart) return {};
    std::string_view unit = line.substr(kUnitStart);
    return unit.substr(0, unit.find(' '));
}

}  // namespace kalvo
