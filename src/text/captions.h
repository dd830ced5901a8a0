// The captions of the windows: every window title, menu and button text, label, and tool tip
// comes from these tables. A window sets only object names and structure and applies its table
// once when it is made and again whenever the language changes.
//
// A row's target names the widget inside its window by objectName:
//   ""                the window's own title
//   "control"         the text of that child (menu title, action, button, label, group box)
//   "control@tip"     the tool tip of that child
// Control arrays are named stem + "_" + index ("mnufile_3", "Label1_4").
#pragma once

#include <span>
#include <string_view>

#include "text/language.h"

namespace kalvo {

struct Caption {
    std::string_view target;
    Text text;
};

std::span<const Caption> mainWindowCaptions();    // frmMain: menus, toolbar
std::span<const Caption> progrCaptions();         // the device log window
std::span<const Caption> meldungCaptions();       // the notice after a reset of the outputs
std::span<const Caption> ueberwachungCaptions();  // the record view
std::span<const Caption> hardwareCaptions();      // the hardware selection
std::span<const Caption> anzeilistCaptions();     // the live measured values
std::span<const Caption> digAuswahlCaptions();    // the interface value selection
std::span<const Caption> verlaufCaptions();       // the trend of chosen values
std::span<const Caption> handbuchCaptions();      // the user guide's window

// The START button of `Anzeilist` while polling runs (the table holds its "START").
inline constexpr Text kAnzeilistStop{"STOP", "STOP"};

// The text of one target in a table; empty when the table has no such row.
std::string_view captionOf(std::span<const Caption> table, std::string_view target,
                           Language language);

}  // namespace kalvo
