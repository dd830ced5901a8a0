// The maker's data that the splash screen and the About box show. It lives in a product-data
// file beside the program ("product.ini") so that a distributor can change it without touching
// the code; built-in defaults stand in for a missing file and for every missing key.
//
// The file is INI-like text, UTF-8 (a file that is not valid UTF-8 is read as Windows-1252, as
// Windows editors save it):
//
//   [Product]
//   Maker=...      name on the splash screen and in the About box's title sentence
//   Rights=...     the rights notice (year line) of the splash screen
//   Platform=...   the platform line of the splash screen
//   Street=...  City=...  Phone=...  Fax=...  EMail=...   contact lines of the About box
//
// Lines end with LF, CR LF or CR. Keys are case-insensitive; blanks around keys and values and one
// pair of double quotes around a value are dropped; lines starting with ';' or '#' are comments.
// Keys before the first section count as [Product]; other sections are ignored. A key given with an
// empty value leaves its line out (a distributor without a fax writes "Fax=").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/language.h"

namespace kalvo {

// The program title, as the splash screen and the system-information box show it.
inline constexpr std::string_view kProductName = "Kalvo_Multi";

// The name of the product-data file in the program's folder.
inline constexpr std::string_view kProductFileName = "product.ini";

struct ProductInfo {
    std::string maker;
    std::string rights;
    std::string platform;
    std::string street;
    std::string city;  // postal code and city
    std::string phone;
    std::string fax;
    std::string email;
    bool operator==(const ProductInfo&) const = default;
};

// The built-in data: neutral placeholders a distributor replaces in product.ini.
ProductInfo defaultProductInfo();

// The file's content over the defaults. Never fails: unusable lines are skipped.
ProductInfo parseProductInfo(std::string_view bytes);

// Reads the file at `path` (at most 64 KiB of it); the defaults when it cannot be read.
ProductInfo loadProductInfo(const std::string& path);

// The About box's contact lines: name, street, postal code and city, telephone, fax, e-mail;
// empty ones left out.
std::vector<std::string> contactLines(const ProductInfo& info);

// The About box's title sentence in the language, naming the maker.
std::string aboutTitle(const ProductInfo& info, Language language);

// "Version " + major + "." + minor + "." + revision of this build (the CMake project version).
std::string versionText();

}  // namespace kalvo
