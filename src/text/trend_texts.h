// The words of the trend window beyond its captions: the changing button texts, the line
// choice, the statistics and the file dialogs of its picture and its record.
#pragma once

#include "text/language.h"

namespace kalvo {

inline constexpr Text kTrendContinue{"Weiter", "Continue"};  // "Anhalten" while paused
inline constexpr Text kTrendRecording{"Aufzeichnung beenden", "Stop recording"};
inline constexpr Text kTrendNoLine{"(keine)", "(none)"};
inline constexpr Text kTrendMinutes{"%1 min", "%1 min"};
// "%1" the minimum, "%2" the maximum, "%3" the mean since the start.
inline constexpr Text kTrendStats{"Min %1   Max %2   Mittel %3", "Min %1   Max %2   Mean %3"};
inline constexpr Text kTrendPictureTitle{"Bild speichern", "Save picture"};
inline constexpr Text kTrendPictureFilter{"PNG-Bilder (*.png)", "PNG images (*.png)"};
inline constexpr Text kTrendPicturePreset{"Verlauf_%1.png", "trend_%1.png"};
inline constexpr Text kTrendRecordTitle{"Aufzeichnen", "Record"};
inline constexpr Text kTrendRecordFilter{"CSV-Dateien (*.csv)", "CSV files (*.csv)"};
inline constexpr Text kTrendRecordPreset{"Messwerte_%1.csv", "values_%1.csv"};

}  // namespace kalvo
