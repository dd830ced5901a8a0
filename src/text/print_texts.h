// The words around the data sheet: the file menu's PDF entry and its dialog, and the boxes for a
// sheet that could not be printed or written. The sheet's own headings are German in every
// language and live with its layout.
#pragma once

#include <string_view>

#include "text/language.h"

namespace kalvo {

inline constexpr std::string_view kPrintDialogTitle = "Drucken";

// The file menu's entry between "Speichern &unter..." and "Dru&cken..." (mnufile_6).
inline constexpr Text kPdfMenuEntry{"Als &PDF speichern...", "Save as P&DF..."};

inline constexpr Text kPdfSaveTitle{"Als PDF speichern", "Save as PDF"};
inline constexpr std::string_view kPdfFilter = "PDF (*.pdf)";

// "%1" stands for the file's path in quotes.
inline constexpr Text kPdfNoText{
    "Keine Schrift für das Datenblatt gefunden: die Datei %1 wurde nicht geschrieben.",
    "No font found for the data sheet: the file %1 was not written."};

inline constexpr Text kPdfIsProject{
    "Die Datei %1 ist die Projektdatei, aus der das Datenblatt entsteht: sie wird nicht "
    "überschrieben.",
    "The file %1 is the project file the data sheet is made from: it is not written over."};

inline constexpr Text kPrintErrorTitle{"Drucken", "Print"};
inline constexpr Text kPrintFailed{"Das Datenblatt konnte nicht gedruckt werden.",
                                   "The data sheet could not be printed."};

}  // namespace kalvo
