#include "text/link_captions.h"

namespace kalvo {

namespace {

// Label1 stands beside the new address (Text2), Label2 beside the old one (Text1).
constexpr Caption kAdresse[] = {
    {"", {"Ändern der Geräteadresse", "Change the device address"}},
    {"Label1", {"neue Adresse", "new address "}},
    {"Label2", {"alte Adresse", "old address "}},
    {"OK_Adresse_ändern", {"OK", "OK"}},
    {"Abbrechen_Adresse_ändern", {"Abbrechen", "Cancel"}},
    {"prüfen_check", {"prüfen", "verify"}},
    {"prüfen_check@tip",
     {"Nach dem Ändern einen Verbindungstest an der neuen Adresse senden",
      "After the change, send a link test to the new address"}},
    {"Standardadresse_Command", {"Als &Standardadresse übernehmen", "Use as &standard address"}},
};

constexpr Caption kStandartadr[] = {
    {"", {"Ändern der Standardadresse", "Change the standard address"}},
    {"Label1", {"Geben Sie die neue Standardadresse ein!", "Enter the new standard address!"}},
    {"OK", {"OK", "OK"}},
    {"Abbrechen", {"Abbrechen", "Cancel"}},
};

constexpr Caption kDirekt[] = {
    {"", {"Direkteingabe Schnittstelle", "Direct input interface"}},
    {"Command1", {"Senden", "Send"}},
    {"Command2", {"Abbrechen", "Cancel"}},
};

}  // namespace

std::span<const Caption> adresseCaptions() {
    return kAdresse;
}
std::span<const Caption> standartadrCaptions() {
    return kStandartadr;
}
std::span<const Caption> direktCaptions() {
    return kDirekt;
}

}  // namespace kalvo
