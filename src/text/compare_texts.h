// The words of a comparison of two configurations: the parameters the dialog's field names do
// not cover, the values of check boxes, and the window that lists the differences.
#pragma once

#include "text/language.h"

namespace kalvo {

// The variant, on the basic page.
inline constexpr Text kCompareAnalogCount{"Analogausgänge", "Analog outputs"};
inline constexpr Text kCompareBinaryCount{"Binärausgänge", "Binary outputs"};
inline constexpr Text kCompareVoltageClass{"Spannungsklasse", "Voltage class"};
inline constexpr Text kCompareCurrentClass{"Stromklasse", "Current class"};
// An output one side has and the other has not: one line with this parameter.
inline constexpr Text kCompareOutput{"Ausgang", "Output"};
// A check box (kinked characteristic, interface values).
inline constexpr Text kCompareOn{"ein", "on"};
inline constexpr Text kCompareOff{"aus", "off"};

// The window that shows the differences against the device.
inline constexpr Text kCompareTitle{"Vergleich mit dem Gerät", "Comparison with the device"};
inline constexpr Text kCompareNone{"Keine Unterschiede", "No differences"};
inline constexpr Text kComparePage{"Seite", "Page"};
inline constexpr Text kCompareParameter{"Parameter", "Parameter"};
inline constexpr Text kCompareInTool{"im Programm", "in the tool"};
inline constexpr Text kCompareInDevice{"im Gerät", "in the device"};
inline constexpr Text kCompareClose{"Schließen", "Close"};
// "Mit Gerät vergleichen" with no configuration in the tool yet.
inline constexpr Text kCompareNothingTitle{"Vergleich mit dem Gerät", "Comparison with the device"};
inline constexpr Text kCompareNothing{
    "Im Programm ist noch keine Konfiguration. Legen Sie ein Projekt an, öffnen Sie eines oder "
    "lesen Sie die Daten aus dem Gerät aus.",
    "There is no configuration in the tool yet. Create or open a project, or read the data from "
    "the device."};

}  // namespace kalvo
