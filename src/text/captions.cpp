#include "text/captions.h"

#include "text/print_texts.h"

namespace kalvo {

namespace {

// Where German and English agree, the text is the same in both columns: those captions are
// not touched by a language change, but they still come from here.
constexpr Caption kMainWindow[] = {
    {"", {"Kalvo       TXR 3.0", "Kalvo       TXR 3.0"}},
    {"mnuFile1", {"&Datei", "File"}},
    {"mnufile_0", {"&Neu", "New"}},
    {"mnufile_1", {"Ö&ffnen", "Open"}},
    {"mnufile_3", {"&Speichern", "Save"}},
    {"mnufile_4", {"Speichern &unter...", "Save As"}},
    {"mnufile_6", kPdfMenuEntry},
    {"mnufile_7", {"Dru&cken...", "Print"}},
    {"mnufile_9", {"&Beenden", "E&xit"}},
    {"mnubearb", {"&Bearbeiten", "Edit"}},
    {"mnupara", {"Para&metrieren", "Configuration"}},
    {"mnuprogr", {"&Programmieren", "programming"}},
    {"mnudaten", {"&Daten auslesen", "read data"}},
    {"mnudirekt", {"Direkt&eingabe", "direct input"}},
    {"mnuView", {"&Einstellungen", "attitudes"}},
    {"mnucomm", {"&Com", "&Com"}},
    {"mnucom_1", {"&COM1", "&COM1"}},
    {"mnucom_2", {"&COM2", "&COM2"}},
    {"mnucom_3", {"&COM3", "&COM3"}},
    {"mnucom_4", {"&COM4", "&COM4"}},
    {"mnucom_5", {"&COM5", "&COM5"}},
    {"mnucom_6", {"&COM6", "&COM6"}},
    {"mnucom_7", {"&COM7", "&COM7"}},
    {"mnucom_8", {"&COM8", "&COM8"}},
    {"mnuss", {"&RS-232 / RS-485", "&RS-232 / RS-485"}},
    {"mnurs_232", {"&RS-232", "&RS-232"}},
    {"mnurs_485", {"&RS-485", "&RS-485"}},
    {"mnustand", {"Standard-A&dresse", "standard address"}},
    {"mnuadr", {"&Adresse ändern", "change address"}},
    {"mnuViewToolbar", {"&Symbolleiste", "Toolbar"}},
    {"mnuViewStatusBar", {"Status&leiste", "StatusBar"}},
    {"mnumessen", {"&Messen", "&measure"}},
    {"mnueinstell", {"&Einstellungen", "&Einstellungen"}},
    {"mnumess", {"&Messen", "&measure"}},
    {"mnuHelp", {"&?", "&?"}},
    {"mnuHelpAbout", {"Inf&o ", "Inf&o "}},
    // Toolbar buttons: the tool tip, and the same words as the button's own text (shown in the
    // overflow menu and read by screen readers). The positions 4, 6, 9 and 12 are separators.
    {"tbToolBar_Neu", {"Neu", "New"}},
    {"tbToolBar_Neu@tip", {"Neu", "New"}},
    {"tbToolBar_Öffnen", {"Öffnen", "Open"}},
    {"tbToolBar_Öffnen@tip", {"Öffnen", "Open"}},
    {"tbToolBar_Speichern", {"Speichern", "Save"}},
    {"tbToolBar_Speichern@tip", {"Speichern", "Save"}},
    {"tbToolBar_Drucken", {"Parametrierung Drucken", "Print Configuration"}},
    {"tbToolBar_Drucken@tip", {"Parametrierung Drucken", "Print Configuration"}},
    {"tbToolBar_Parametrieren", {"Parametrieren", "Configuration"}},
    {"tbToolBar_Parametrieren@tip", {"Parametrieren", "Configuration"}},
    {"tbToolBar_Messen", {"Messwerte anzeigen", "values measured indicate"}},
    {"tbToolBar_Messen@tip", {"Messwerte anzeigen", "values measured indicate"}},
    {"tbToolBar_Daten auslesen", {"Daten auslesen", "read data"}},
    {"tbToolBar_Daten auslesen@tip", {"Daten auslesen", "read data"}},
    {"tbToolBar_Programmieren", {"Programmieren", "programming"}},
    {"tbToolBar_Programmieren@tip", {"Programmieren", "programming"}},
    {"tbToolBar_Deutsch", {"Deutsch", "German"}},
    {"tbToolBar_Deutsch@tip", {"Deutsch", "German"}},
    {"tbToolBar_Englisch", {"Englisch", "English"}},
    {"tbToolBar_Englisch@tip", {"Englisch", "English"}},
};

constexpr Caption kProgr[] = {
    {"", {"Messumformer wird programmiert", "Transducer is programmed"}},
    {"Command1", {"OK", "OK"}},
};

constexpr Caption kMeldung[] = {
    {"", {"Achtung !!", "Note!!"}},
    {"lblM11", {"Achtung !!", "Note!!"}},
    {"lblM12",
     {"Die Grundeinstellungen wurden geändert !!", "The basic adjustments were changed!!"}},
    {"lblM13",
     {"Alle Analog, Binär und Seriellen Einstellungen", "All analog, binary and serial attitudes"}},
    {"lblM14", {"wurden zurückgesetzt,,", "were put back,"}},
    {"lblM15", {"und sind neu zu parametrieren !!", "and are to be configured again!!"}},
    {"Command1", {"Weiter", "continue"}},
};

constexpr Caption kUeberwachung[] = {
    {"", {"Überwachung", "Überwachung"}},
    {"Command1", {"zurück", "zurück"}},
};

constexpr Caption kHardware[] = {
    {"", {"Hardware-Typ", "Hardware-Typ"}},
    {"OK_Hardware_Type", {"OK", "OK"}},
    {"Abbruch_Hardware_Type", {"Abbruch", "Abbruch"}},
};

}  // namespace

std::span<const Caption> mainWindowCaptions() {
    return kMainWindow;
}
std::span<const Caption> progrCaptions() {
    return kProgr;
}
std::span<const Caption> meldungCaptions() {
    return kMeldung;
}
std::span<const Caption> ueberwachungCaptions() {
    return kUeberwachung;
}
std::span<const Caption> hardwareCaptions() {
    return kHardware;
}

std::string_view captionOf(std::span<const Caption> table, std::string_view target,
                           Language language) {
    for (const Caption& row : table) {
        if (row.target == target) return row.text.in(language);
    }
    return {};
}

}  // namespace kalvo
