#include "config/key_filter.h"

#include <algorithm>
#include <string>

namespace kalvo {

namespace {

bool isDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// The character sets: A digits, separator and minus; B digits and separator; C digits and
// minus; D digits.
enum class Set { A, B, C, D, Any };

bool inSet(Set set, char32_t key, char decimal) {
    if (key == kBackspace) return true;
    const bool separator = key == static_cast<unsigned char>(decimal);
    const bool minus = key == U'-';
    switch (set) {
        case Set::A:
            return isDigit(key) || separator || minus;
        case Set::B:
            return isDigit(key) || separator;
        case Set::C:
            return isDigit(key) || minus;
        case Set::D:
            return isDigit(key);
        case Set::Any:
            return true;
    }
    return false;
}

Set setFor(KeyFilter filter, std::string_view before, char decimal) {
    const auto separators = std::count(before.begin(), before.end(), decimal);
    if (filter == KeyFilter::Unsigned) return separators > 0 ? Set::D : Set::B;
    // Signed: 1 for any text, 2 for every separator in it.
    const auto s = (before.empty() ? 0 : 1) + 2 * separators;
    switch (s) {
        case 0:
            return Set::A;
        case 1:
            return Set::B;
        case 2:
            return Set::C;
        case 3:
            return Set::D;
        default:
            return Set::Any;
    }
}

}  // namespace

char32_t filterKey(KeyFilter filter, std::string_view rest, char32_t key, char decimal) {
    if (key == U',' || key == U'.') key = static_cast<unsigned char>(decimal);
    return inSet(setFor(filter, rest, decimal), key, decimal) ? key : 0;
}

bool passesKeyByKey(KeyFilter filter, std::string_view text, char decimal) {
    std::string typed;
    for (const char c : text) {
        // Every byte of a character beyond ASCII is refused by every set.
        const auto key = static_cast<unsigned char>(c);
        if (filterKey(filter, typed, key, decimal) != key) return false;
        if (c == static_cast<char>(kBackspace)) return false;  // nothing a paste can carry
        typed += c;
    }
    return true;
}

}  // namespace kalvo
