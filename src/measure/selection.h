// The choice of values the transducer offers on its data interface (the window
// `Dig_Auswahl`): one check box per cell of Schnittstellenwerte 0..36. Which boxes can be
// used follows the connection type; OK stores every box into the record.
#pragma once

#include <array>

#include "config/record.h"

namespace kalvo {

// The boxes that each activation of the window sets from the record: the line numbers
// 0..34 of the display. Boxes 35 (U) and 36 (I) keep their state and are always usable.
inline constexpr int kActivatedBoxes = 35;

struct InterfaceBoxes {
    std::array<bool, kInterfaceCells> enabled{};
    std::array<bool, kInterfaceCells> checked{};
};

// Boxes 0..34 usable with a connection type: all for four-wire (0, 1) and for a type the
// record should not hold; not U1, U2, U3 for three-wire (2, 3); for single-phase (4) only
// U1, I1, P1, Q1, S1, PF1, QF1, phi1, F and the 10 V DC input (0, 6, 10, 14, 18, 22, 26, 30,
// 33, 34).
std::array<bool, kActivatedBoxes> selectableBoxes(int connectionType);

// The window as it is first made: every box usable and cleared. Boxes 35 and 36 then start
// from the record, so an OK before anybody touched them keeps their flags.
InterfaceBoxes initialInterfaceBoxes(const Record& record);

// Every activation: boxes 0..34 enabled by the record's connection type, each usable box
// showing its flag, the others cleared. Boxes 35 and 36 are left as they are.
void showInterfaceSelection(InterfaceBoxes& boxes, const Record& record);

// OK: every flag 0..36 := its box (1 checked, 0 not). Disabled boxes were cleared when shown,
// so they store 0.
void storeInterfaceSelection(const InterfaceBoxes& boxes, Record& record);

// The reset of the record's outputs clears all 37 boxes.
void clearInterfaceSelection(InterfaceBoxes& boxes);

}  // namespace kalvo
