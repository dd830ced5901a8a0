// The fixed lists the program offers: connection types and measured quantities (whose list
// positions are stored in the record and in project files, so their order is part of the
// format), and the hardware variants of the hardware window.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "text/language.h"

namespace kalvo {

// Connection types by list position 0..4.
std::span<const Text> connectionTypeTexts();
// Measured quantities by list position 0..9 (the analog and the binary page offer the same).
std::span<const Text> quantityTexts();

// One entry in one language; empty for a position outside the list.
std::string_view connectionTypeText(int position, Language language);
std::string_view quantityText(int position, Language language);

// The hardware window's list: index 0 "TXR 3.0 auto", 1..12 the variants "TXR 3.0 1A/1D" ..
// "TXR 3.0 4A/9D" (the same in every language).
inline constexpr std::array<std::string_view, 13> kHardwareList = {
    "TXR 3.0 auto",  "TXR 3.0 1A/1D", "TXR 3.0 2A/1D", "TXR 3.0 3A/1D", "TXR 3.0 4A/1D",
    "TXR 3.0 1A/5D", "TXR 3.0 2A/5D", "TXR 3.0 3A/5D", "TXR 3.0 4A/5D", "TXR 3.0 1A/9D",
    "TXR 3.0 2A/9D", "TXR 3.0 3A/9D", "TXR 3.0 4A/9D"};

}  // namespace kalvo
