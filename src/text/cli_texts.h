// The command line's own words on stderr: what is wrong with a command line, and what a
// command refuses. "%1" stands for what the user gave.
#pragma once

#include "text/language.h"

namespace kalvo {

// Below every usage error.
inline constexpr Text kCliSeeHelp{"\"kalvo-cli --help\" zeigt alle Befehle und Optionen.",
                                  "\"kalvo-cli --help\" lists every command and option."};

inline constexpr Text kCliNoCommand{"kein Befehl angegeben", "no command given"};
inline constexpr Text kCliUnknownCommand{"unbekannter Befehl: %1", "unknown command: %1"};
inline constexpr Text kCliUnknownOption{"unbekannte Option %1", "unknown option %1"};
inline constexpr Text kCliPortNeedsPath{"--port erwartet einen Gerätepfad",
                                        "--port needs a device path"};
inline constexpr Text kCliPortOrSimulator{"--port und --simulator schließen einander aus",
                                          "--port and --simulator exclude each other"};
inline constexpr Text kCliFreshNeedsSimulator{"--fresh gehört zu --simulator",
                                              "--fresh goes with --simulator"};
inline constexpr Text kCliLangValues{"--lang erwartet de oder en", "--lang takes de or en"};
inline constexpr Text kCliAddressAllowed{
    "--address erwartet eine ganze Zahl von 0 bis 32, nicht \"%1\"",
    "--address takes a whole number from 0 to 32, not \"%1\""};

inline constexpr Text kCliTransactNeedsText{"transact erwartet den Befehlstext, z. B. transact -t",
                                            "transact needs the command text, e.g. transact -t"};
inline constexpr Text kCliIdentifyNoArguments{"identify erwartet keine Argumente",
                                              "identify takes no arguments"};
inline constexpr Text kCliProgramNeedsFile{"program erwartet eine Projektdatei",
                                           "program needs one project file"};
inline constexpr Text kCliReadOptions{"read erwartet nur --output DATEI",
                                      "read takes only --output FILE"};
inline constexpr Text kCliCheckNeedsFile{"check erwartet eine Projektdatei",
                                         "check needs one project file"};
inline constexpr Text kCliDiffArguments{"diff erwartet [--lang de|en] DATEI.cfg [ANDERE.cfg]",
                                        "diff takes [--lang de|en] FILE.cfg [OTHER.cfg]"};
inline constexpr Text kCliShowNeedsFile{"show erwartet eine Projektdatei",
                                        "show needs one project file"};
inline constexpr Text kCliSetAddressArguments{
    "set-address erwartet ALT und NEU, z. B. set-address 0 5",
    "set-address needs OLD and NEW, e.g. set-address 0 5"};
inline constexpr Text kCliSetAddressAllowed{
    "set-address: ALT und NEU sind ganze Zahlen von 0 bis 32, nicht \"%1\"",
    "set-address: OLD and NEW are whole numbers from 0 to 32, not \"%1\""};
inline constexpr Text kCliSendNeedsText{"send erwartet den Text, z. B. send -0-t",
                                        "send needs the text, e.g. send -0-t"};
inline constexpr Text kCliDatasheetArguments{
    "datasheet erwartet [--lang de|en] DATEI.cfg --pdf AUSGABE.pdf",
    "datasheet takes [--lang de|en] FILE.cfg --pdf OUT.pdf"};
inline constexpr Text kCliWatchArguments{
    "watch erwartet --config DATEI, --lines N oder --cycles N, --csv DATEI",
    "watch takes --config FILE, --lines N or --cycles N, --csv FILE"};
inline constexpr Text kCliWatchCount{"%1 erwartet eine ganze Zahl größer als 0",
                                     "%1 needs a whole number above 0"};
inline constexpr Text kCliLinesOrCycles{"--lines und --cycles schließen einander aus",
                                        "--lines and --cycles exclude each other"};

// Refusals.
inline constexpr Text kCliSendNotCp1252{
    "Der Text enthält Zeichen, die die Schnittstelle nicht übertragen kann (nur Windows-1252): "
    "%1. Es wurde nichts gesendet.",
    "The text holds characters the line cannot carry (Windows-1252 only): %1. Nothing was "
    "sent."};
inline constexpr Text kCliNoPdf{"dieses Programm schreibt kein PDF", "this build writes no PDF"};

}  // namespace kalvo
