// Program-wide state: the record, the device address, the language and the parameter dialog's
// flags. The session owns one and hands it to whoever needs it.
#pragma once

#include <string>

#include "config/record.h"
#include "text/language.h"

namespace kalvo {

struct AppContext {
    Record record = startRecord();
    std::string Geraeteadresse = "0";
    // The language of this run: German or English (the dialect belongs to the parameter dialog
    // alone).
    Language language = Language::German;
    char decimal = '.';  // the user's regional decimal separator
    // The folder the program lies in: the wiring pictures are read from there.
    std::string programFolder;
    // Parameter dialog flags: the reset notice is suppressed right after a new project and
    // until a page other than the basic page was left; the basic page on screen differs from
    // the record.
    bool Ruecksetzmeldung_aus = true;
    bool Grund_geaendert = false;
    bool Eingabefehler = false;  // the dialog page last stored holds a fault
};

}  // namespace kalvo
