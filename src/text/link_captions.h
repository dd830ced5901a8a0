// Captions of the address change, the standard address and the direct input windows. Rows as
// in text/captions.h.
#pragma once

#include <span>

#include "text/captions.h"

namespace kalvo {

std::span<const Caption> adresseCaptions();      // Adresse: change a device's bus address
std::span<const Caption> standartadrCaptions();  // standartadr: the program's own address
std::span<const Caption> direktCaptions();       // Direkt: send a typed frame

}  // namespace kalvo
