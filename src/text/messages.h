// The texts of the message boxes, the progress window's captions and the file dialogs. Which
// box a situation gets is decided above this layer; here are only the words.
#pragma once

#include <string>
#include <string_view>

#include "text/language.h"

namespace kalvo {

struct MessageText {
    std::string title;
    std::string text;
    bool critical = true;  // critical icon; false = information icon
};

MessageText msg(Language language);           // link failure
MessageText msg_para(Language language);      // never programmed
MessageText msg_prog_err(Language language);  // wrong transducer
MessageText programmingDone(Language language);

// A configuration that cannot be programmed at all; "%1" is what is wrong with it.
inline constexpr Text kRecordNotSendable{"Die Konfiguration kann nicht programmiert werden: %1",
                                         "The configuration cannot be programmed: %1"};
inline constexpr Text kRecordAnalogCount{"Die Anzahl der Analogausgänge ist nicht 1 bis 4.",
                                         "The number of analog outputs is not 1 to 4."};
inline constexpr Text kRecordBinaryCount{"Die Anzahl der Binärausgänge ist nicht 1 bis 13.",
                                         "The number of binary outputs is not 1 to 13."};
inline constexpr Text kRecordVoltageClass{"Die Spannungsklasse ist nicht größer als 0.",
                                          "The voltage class is not above 0."};
inline constexpr Text kRecordCurrentClass{"Die Stromklasse ist nicht größer als 0.",
                                          "The current class is not above 0."};
inline constexpr Text kRecordVoltageRatio{
    "Der Spannungswandler hat kein gültiges Übersetzungsverhältnis (Primär- oder Sekundärwert 0).",
    "The voltage transformer has no valid ratio (primary or secondary value 0)."};
inline constexpr Text kRecordCurrentRatio{
    "Der Stromwandler hat kein gültiges Übersetzungsverhältnis (Primär- oder Sekundärwert 0).",
    "The current transformer has no valid ratio (primary or secondary value 0)."};

// "Programmieren" on a record whose pages have faults; "%1" is the list of faults, one per line.
inline constexpr Text kProgramWithFaultsTitle{"Parametrierung fehlerhaft",
                                              "Configuration with faults"};
inline constexpr Text kProgramWithFaults{
    "Die Parametrierung enthält Fehler:\n\n%1\n\nTrotzdem programmieren?",
    "The configuration has faults:\n\n%1\n\nProgram anyway?"};

// "Neu", "Öffnen", "Beenden" or closing the window while the configuration has changes that are
// in no file and no unit: Yes saves, No drops them, Cancel stays.
inline constexpr Text kUnsavedTitle{"Änderungen speichern?", "Save changes?"};
inline constexpr Text kUnsaved{
    "Die Konfiguration wurde geändert. Sollen die Änderungen gespeichert werden?",
    "The configuration has changed. Do you want to save the changes?"};

// In front of the system's words when the port itself failed.
inline constexpr Text kPortErrorLine{"Schnittstelle: ", "Port: "};

// Captions of the progress window while the device is asked what it is, programmed, read.
inline constexpr Text kProgrHardware{"Hardware Daten werden ausgelesen", "read Hardware data"};
inline constexpr Text kProgrProgramming{"Messumformer wird programmiert",
                                        "Transducer is programmed"};
inline constexpr Text kProgrReadBack{"Daten Messumformer werden ausgelesen",
                                     "read data transducers "};

// The file menu's dialogs. The save filter is spelled the way users of the program know it.
inline constexpr std::string_view kOpenTitle = "Projekt Laden ";
inline constexpr std::string_view kSaveTitle = "Speichern von Projekt";
inline constexpr std::string_view kSaveAsTitle = "Speichern von Projekt unter";
inline constexpr std::string_view kSavePreset = "kalvo.cfg";
inline constexpr std::string_view kOpenFilterCfg = "Konfigurationsdateien (*.cfg)";
inline constexpr std::string_view kSaveFilterCfg = "Konfigurationsdadateien (*.cfg)";
inline constexpr std::string_view kFilterAll = "Alle Dateien (*.*)";

// Saving a device job's transcript from the progress window: the dialog's title, the filter,
// and the file name offered ("%1" the job's start, local time, as 2026-12-07_0915).
inline constexpr Text kTranscriptSaveTitle{"Protokoll speichern", "Save transcript"};
inline constexpr Text kTranscriptFilter{"Textdateien (*.txt)", "Text files (*.txt)"};
inline constexpr Text kTranscriptPreset{"Protokoll_%1.txt", "transcript_%1.txt"};

// The boxes for a project file that could not be read or written. "%1" stands for the file's
// path in quotes.
inline constexpr Text kFileErrorTitle{"Dateifehler", "File error"};
inline constexpr Text kFileCannotOpen{"Die Datei %1 konnte nicht geöffnet werden.",
                                      "The file %1 could not be opened."};
inline constexpr Text kFileMalformed{"Die Datei %1 ist keine gültige Projektdatei.",
                                     "The file %1 is not a valid project file."};
inline constexpr Text kFileCannotWrite{"Die Datei %1 konnte nicht geschrieben werden.",
                                       "The file %1 could not be written."};
inline constexpr Text kFileTooLong{"Das Projekt ist zu groß für die Datei %1.",
                                   "The project is too large for the file %1."};
inline constexpr Text kNotSaved{" Das Projekt wurde nicht gespeichert.",
                                " The project was not saved."};
inline constexpr Text kNotChanged{" Das Projekt wurde nicht geändert.",
                                  " The project was not changed."};

// `pattern` with every "%1" replaced by `value`.
std::string fillIn(std::string_view pattern, std::string_view value);
// Both languages of `pattern` with every "%1" replaced by `first` and every "%2" by `second`.
Wording fillIn(const Text& pattern, std::string_view first, std::string_view second = {});

}  // namespace kalvo
