// Program-wide state: the record, the device address, the language and the dialog flags.
// One object owns it and is handed to whoever needs it.
#pragma once

#include <string>

#include "config/record.h"

namespace kalvo {

struct AppContext {
    Record record = startRecord();
    std::string Geraeteadresse = "0";
    bool Sprache = false;  // false German, true English
    char decimal = '.';    // the user's regional decimal separator
    int Wartezeit = 2000;  // ms
    // Parameter dialog flags.
    bool param_bereit = true;
    bool Ruecksetzmeldung_aus = true;
    bool Grund_geaendert = false;
    bool Eingabefehler = false;  // the dialog page last stored holds a fault
};

}  // namespace kalvo
