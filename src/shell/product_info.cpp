#include "shell/product_info.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "platform/file_path.h"
#include "shell/version.h"
#include "text/about_texts.h"
#include "text/cp1252.h"

namespace kalvo {

namespace {

constexpr std::size_t kMaxFileBytes = 64 * 1024;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates, nothing
// above U+10FFFF.
bool isUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
            cp = b & 0x1Fu;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
            cp = b & 0x0Fu;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
            cp = b & 0x07u;
        } else {
            return false;
        }
        if (i + extra >= s.size()) return false;  // cut off at the end
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

std::string* fieldFor(ProductInfo& info, std::string_view key) {
    struct Field {
        std::string_view key;
        std::string ProductInfo::*member;
    };
    static constexpr Field kFields[] = {
        {"Maker", &ProductInfo::maker},       {"Rights", &ProductInfo::rights},
        {"Platform", &ProductInfo::platform}, {"Street", &ProductInfo::street},
        {"City", &ProductInfo::city},         {"Phone", &ProductInfo::phone},
        {"Fax", &ProductInfo::fax},           {"EMail", &ProductInfo::email},
    };
    for (const Field& f : kFields) {
        if (sameWord(f.key, key)) return &(info.*f.member);
    }
    return nullptr;
}

}  // namespace

ProductInfo defaultProductInfo() {
    ProductInfo info;
    info.maker = "Musterfirma Messtechnik GmbH";
    info.rights = "Copyright © 2025 Musterfirma Messtechnik GmbH";
    info.platform = "Win95, Win98, WinNT, WinXP";
    info.street = "Musterstraße 1";
    info.city = "12345 Musterstadt";
    info.phone = "Tel.: +49 (0) 000 000000-0";
    info.fax = "Fax: +49 (0) 000 000000-9";
    info.email = "E-Mail: info@example.com";
    return info;
}

ProductInfo parseProductInfo(std::string_view bytes) {
    ProductInfo info = defaultProductInfo();
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
    const std::string text = isUtf8(bytes) ? std::string(bytes) : fromCp1252(bytes);

    bool inProduct = true;  // keys before the first section count
    std::string_view rest = text;
    while (!rest.empty()) {
        // LF, CR LF and a lone CR all end a line.
        const std::size_t end = rest.find_first_of("\r\n");
        std::string_view line = trimmed(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            inProduct = close != std::string_view::npos &&
                        sameWord(trimmed(line.substr(1, close - 1)), "Product");
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inProduct || eq == std::string_view::npos) continue;
        std::string* field = fieldFor(info, trimmed(line.substr(0, eq)));
        if (field == nullptr) continue;
        std::string_view value = trimmed(line.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        *field = std::string(value);
    }
    return info;
}

ProductInfo loadProductInfo(const std::string& path) {
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in) return defaultProductInfo();
    std::string bytes(kMaxFileBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return parseProductInfo(bytes);
}

std::vector<std::string> contactLines(const ProductInfo& info) {
    std::vector<std::string> lines;
    for (const std::string* line :
         {&info.maker, &info.street, &info.city, &info.phone, &info.fax, &info.email}) {
        if (!line->empty()) lines.push_back(*line);
    }
    return lines;
}

std::string aboutTitle(const ProductInfo& info, Language language) {
    return std::string(kAboutTitle.in(language)) + info.maker;
}

std::string versionText() {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

}  // namespace kalvo
