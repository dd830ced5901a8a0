#include "text/cp1252.h"

#include <array>
#include <cstdint>

namespace kalvo {
namespace {

// Code points of the bytes 0x80..0x9F. The five bytes Windows-1252 leaves undefined keep the
// C1 control of the same number, so that every byte survives a round trip.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char32_t codePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
    return byte;
}

// The Windows-1252 byte of a code point, or -1 when it has none.
int byteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) return static_cast<int>(0x80 + i);
    }
    return -1;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr char32_t kNotACharacter = 0xFFFFFFFF;

// Calls `each` with the code point of every character of a UTF-8 text, kNotACharacter for a
// byte sequence that is not valid UTF-8.
template <typename Each>
void forEachCharacter(std::string_view utf8, Each each) {
    std::size_t i = 0;
    const std::size_t n = utf8.size();
    while (i < n) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            each(static_cast<char32_t>(lead));
            ++i;
            continue;
        }
        int length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, cp = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, cp = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, cp = lead & 0x07, minimum = 0x10000;
        } else {
            each(kNotACharacter);  // stray continuation byte or a lead byte UTF-8 never uses
            ++i;
            continue;
        }
        std::size_t taken = 1;
        while (taken < static_cast<std::size_t>(length) && i + taken < n) {
            const auto next = static_cast<unsigned char>(utf8[i + taken]);
            if ((next & 0xC0) != 0x80) break;
            cp = (cp << 6) | (next & 0x3F);
            ++taken;
        }
        i += taken;
        if (taken != static_cast<std::size_t>(length) || cp < minimum || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            each(kNotACharacter);  // truncated, overlong or not a character
            continue;
        }
        each(cp);
    }
}

}  // namespace

std::string toCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    forEachCharacter(utf8, [&](char32_t cp) {
        const int byte = cp == kNotACharacter ? -1 : byteOf(cp);
        out += byte < 0 ? '?' : static_cast<char>(byte);
    });
    return out;
}

std::string outsideCp1252(std::string_view utf8) {
    std::string out;
    forEachCharacter(utf8, [&](char32_t cp) {
        if (cp != kNotACharacter && byteOf(cp) >= 0) return;
        std::string shown;
        appendUtf8(shown, cp == kNotACharacter ? 0xFFFD : cp);
        if (out.find(shown) == std::string::npos) out += shown;
    });
    return out;
}

std::string fromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char c : bytes) appendUtf8(out, codePointOf(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace kalvo
