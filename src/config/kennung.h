// Quantity codes: connection type x 1000 + quantity index x 10 + place index.
#pragma once

#include <optional>
#include <string>

namespace kalvo {

struct Kennung {
    // The device's quantity label ("U1", "U12", "I", "P", "PF1", "PH", "F", "INP" ...);
    // nullopt when the code matches no row (the caller keeps its previous label).
    std::optional<std::string> label;
    // Divisor for range and limit values of the quantity, single precision; 1 for no row.
    float Skalierung = 1.0f;
};

// Looks the code up in the device's label table; voltage quantities scale by the voltage
// transformer factor, currents by the current factor, powers by their product.
Kennung Kennung_suchen(int code, double Wandler_Faktor_U, double Wandler_Faktor_I);

}  // namespace kalvo
