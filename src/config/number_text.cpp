// Formatting and parsing go through std::to_chars / std::from_chars only: printf and strtod
// follow the C locale, and a German locale would turn their point into a comma.
#include "config/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace kalvo {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Converts a clean text of an optional '-', digits and at most one '.' (at least one digit).
// A magnitude beyond the double range gives an infinity, one below it gives zero.
double convertClean(const std::string& text) {
    double value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        const bool negative = !text.empty() && text[0] == '-';
        // Out of range with a non-zero digit before the point is an overflow.
        bool overflow = false;
        for (const char c : text) {
            if (c == '.') break;
            if (c >= '1' && c <= '9') overflow = true;
        }
        const double magnitude = overflow ? std::numeric_limits<double>::infinity() : 0.0;
        return negative ? -magnitude : magnitude;
    }
    if (ec != std::errc() || ptr != last) return 0;
    return value;
}

}  // namespace

std::string formatNumber(double value, char decimal) {
    if (!std::isfinite(value) || value == 0) return "0";  // also turns -0 into "0"
    // Rounded to 15 digits, the very largest doubles would exceed the range and no longer read
    // back; they are written as the largest 15-digit number instead.
    constexpr double kLargest15 = 1.79769313486231e308;
    if (std::fabs(value) > kLargest15) value = std::copysign(kLargest15, value);

    // 15 significant digits in exponent form, then rewritten as a plain decimal.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string_view sci(buffer, static_cast<std::size_t>(result.ptr - buffer));

    std::size_t pos = 0;
    const bool negative = sci[0] == '-';
    if (negative) ++pos;
    std::string digits;
    while (pos < sci.size() && sci[pos] != 'e') {
        if (isDigit(sci[pos])) digits += sci[pos];
        ++pos;
    }
    int exponent = 0;
    std::from_chars(sci.data() + pos + (sci[pos + 1] == '+' ? 2 : 1), sci.data() + sci.size(),
                    exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out;
    if (negative) out += '-';
    if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            out += digits;
            out.append(integerDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, integerDigits);
            out += decimal;
            out.append(digits, integerDigits);
        }
    } else {
        out += '0';
        out += decimal;
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    }
    return out;
}

std::string formatLimit(double value, char decimal) {
    const std::string full = formatNumber(value, decimal);
    const std::size_t separator = full.find(decimal);
    if (separator == std::string::npos) return full;
    int significant = 0;
    const auto count = [&significant](char c) {
        if (isDigit(c) && (significant > 0 || c != '0')) ++significant;
    };
    for (std::size_t i = 0; i < separator; ++i) count(full[i]);
    std::string fraction;
    for (std::size_t i = separator + 1; i < full.size() && significant < 4; ++i) {
        fraction += full[i];
        count(full[i]);
    }
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    const std::string whole = full.substr(0, separator);
    return fraction.empty() ? whole : whole + decimal + fraction;
}

double leadingNumber(std::string_view text) {
    std::string clean;
    bool seenSign = false;
    bool seenPoint = false;
    bool seenDigit = false;
    for (const char c : text) {
        if (isBlank(c)) continue;
        if ((c == '-' || c == '+') && !seenSign && !seenPoint && !seenDigit) {
            seenSign = true;
            if (c == '-') clean += '-';
        } else if (isDigit(c)) {
            seenDigit = true;
            clean += c;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            clean += c;
        } else {
            break;
        }
    }
    if (!seenDigit) return 0;
    return convertClean(clean);
}

std::optional<double> parseNumber(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && (text[first] == ' ' || text[first] == '\t')) ++first;
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t')) --last;

    std::string clean;
    std::size_t i = first;
    if (i < last && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') clean += '-';
        ++i;
    }
    bool seenSeparator = false;
    bool seenDigit = false;
    for (; i < last; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            seenDigit = true;
            clean += c;
        } else if ((c == ',' || c == '.') && !seenSeparator) {
            seenSeparator = true;
            clean += '.';
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit) return std::nullopt;
    return convertClean(clean);
}

}  // namespace kalvo
