#include "config/cell.h"

#include "config/number_text.h"

namespace kalvo {

std::string Cell::toText(char decimal) const {
    if (const auto* number = std::get_if<double>(&value_)) return formatNumber(*number, decimal);
    if (const auto* text = std::get_if<std::string>(&value_)) return *text;
    return {};
}

double Cell::toNumber() const {
    if (const auto* number = std::get_if<double>(&value_)) return *number;
    if (const auto* text = std::get_if<std::string>(&value_)) return parseNumber(*text).value_or(0);
    return 0;
}

bool Cell::equals(double number) const {
    if (const auto* own = std::get_if<double>(&value_)) return *own == number;
    if (const auto* text = std::get_if<std::string>(&value_)) {
        // A text that is no number equals nothing.
        const auto parsed = parseNumber(*text);
        return parsed && *parsed == number;
    }
    return number == 0;  // an empty cell counts as 0
}

}  // namespace kalvo
