// Program-wide state: the record, the device address and the language. The session owns one
// and hands it to whoever needs it.
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
};

}  // namespace kalvo
