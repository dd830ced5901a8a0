// Texts of the splash screen and the About box. Caption rows as in text/captions.h.
#pragma once

#include <span>
#include <string_view>

#include "text/captions.h"
#include "text/language.h"

namespace kalvo {

std::span<const Caption> splashCaptions();  // frmSplash
std::span<const Caption> aboutCaptions();   // frmAbout

// The About box's title sentence; the maker's name follows it.
inline constexpr Text kAboutTitle{"Software zur Ansteuerung von Messgeräten der Firma ",
                                  "Software for the control of measuring instruments of the "
                                  "company "};

// The box when no system information program can be started (the same words in both
// languages, as users of the program know them), titled with the program title.
inline constexpr std::string_view kSysInfoMissing =
    "Systeminformationsprogramm zur Zeit nicht verfügbar.";

}  // namespace kalvo
