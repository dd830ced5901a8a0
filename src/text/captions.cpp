#include "text/captions.h"

#include "text/network_texts.h"
#include "text/print_texts.h"

namespace kalvo {

namespace {

// Where German and English agree, the text is the same in both columns: those captions are
// not touched by a language change, but they still come from here.
constexpr Caption kMainWindow[] = {
    {"", {"Kalvo       TXR 3.0", "Kalvo       TXR 3.0"}},
    {"mnuFile1", {"&Datei", "&File"}},
    {"mnufile_0", {"&Neu", "&New"}},
    {"mnufile_1", {"Ö&ffnen", "&Open"}},
    {"mnufile_3", {"&Speichern", "&Save"}},
    {"mnufile_4", {"Speichern &unter...", "Save &As"}},
    {"mnufile_6", kPdfMenuEntry},
    {"mnufile_7", {"Dru&cken...", "&Print"}},
    {"mnufile_9", {"&Beenden", "E&xit"}},
    {"mnubearb", {"&Bearbeiten", "&Edit"}},
    {"mnupara", {"Para&metrieren", "&Configuration"}},
    {"mnuprogr", {"&Programmieren", "&programming"}},
    {"mnudaten", {"&Daten auslesen", "&read data"}},
    {"mnuvergleich", {"Mit Gerät &vergleichen", "Compare &with device"}},
    {"mnudirekt", {"Direkt&eingabe", "&direct input"}},
    {"mnuView", {"&Einstellungen", "&attitudes"}},
    {"mnucomm", {"&Com", "&Com"}},
    {"mnucom_1", {"&COM1", "&COM1"}},
    {"mnucom_2", {"&COM2", "&COM2"}},
    {"mnucom_3", {"&COM3", "&COM3"}},
    {"mnucom_4", {"&COM4", "&COM4"}},
    {"mnucom_5", {"&COM5", "&COM5"}},
    {"mnucom_6", {"&COM6", "&COM6"}},
    {"mnucom_7", {"&COM7", "&COM7"}},
    {"mnucom_8", {"&COM8", "&COM8"}},
    {"mnunetz", kNetworkMenuEntry},
    {"mnuss", {"&RS-232 / RS-485", "&RS-232 / RS-485"}},
    {"mnurs_232", {"&RS-232", "&RS-232"}},
    {"mnurs_485", {"&RS-485", "&RS-485"}},
    {"mnustand", {"Standard-A&dresse", "standard a&ddress"}},
    {"mnuadr", {"&Adresse ändern", "change &address"}},
    {"mnusichern", {"Vor dem Programmieren s&ichern", "&Back up before programming"}},
    {"mnupruefen", {"Nach dem Programmieren &prüfen", "&Verify after programming"}},
    {"mnuViewToolbar", {"&Symbolleiste", "&Toolbar"}},
    {"mnuViewStatusBar", {"Status&leiste", "&StatusBar"}},
    {"mnumessen", {"&Messen", "&measure"}},
    {"mnueinstell", {"&Einstellungen", "&Einstellungen"}},
    {"mnumess", {"&Messen", "&measure"}},
    {"mnuverlauf", {"&Verlauf", "&Trend"}},
    {"mnuHelp", {"&?", "&?"}},
    {"mnuHelpGuide", {"&Handbuch", "&User guide"}},
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
    {"tbToolBar_Verlauf", {"Verlauf", "Trend"}},
    {"tbToolBar_Verlauf@tip", {"Verlauf", "Trend"}},
    {"tbToolBar_Daten auslesen", {"Daten auslesen", "read data"}},
    {"tbToolBar_Daten auslesen@tip", {"Daten auslesen", "read data"}},
    {"tbToolBar_Programmieren", {"Programmieren", "programming"}},
    {"tbToolBar_Programmieren@tip", {"Programmieren", "programming"}},
    {"tbToolBar_Deutsch", {"Deutsch", "German"}},
    {"tbToolBar_Deutsch@tip", {"Deutsch", "German"}},
    {"tbToolBar_Englisch", {"Englisch", "English"}},
    {"tbToolBar_Englisch@tip", {"Englisch", "English"}},
};

constexpr Caption kHandbuch[] = {
    {"", {"Handbuch", "User guide"}},
};

constexpr Caption kProgr[] = {
    {"", {"Messumformer wird programmiert", "Transducer is programmed"}},
    {"Command1", {"OK", "OK"}},
    {"Protokoll_speichern", {"Protokoll speichern...", "Save transcript..."}},
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

constexpr Caption kAnzeilist[] = {
    {"zurück", {"zurück", "back"}},
    {"start", {"START", "START"}},
    {"", {"Messwerte", "Measured values"}},
};

constexpr Caption kVerlauf[] = {
    {"", {"Verlauf", "Trend"}},
    {"start", {"START", "START"}},
    {"Pause", {"Anhalten", "Pause"}},
    {"Zeitraum_Label", {"Zeitraum", "Span"}},
    {"Bild_speichern", {"Bild speichern...", "Save picture..."}},
    {"Aufzeichnen", {"Aufzeichnen...", "Record..."}},
    {"zurück", {"zurück", "back"}},
};

// Not touched by a language change: the window, its OK and the quantities are named the same
// in both languages.
constexpr Caption kDigAuswahl[] = {
    {"", {"Dig_Auswahl", "Dig_Auswahl"}},
    {"Command1", {"OK", "OK"}},
    {"Dig_Auswahl_Messgrösse_Check_0", {"U1", "U1"}},
    {"Dig_Auswahl_Messgrösse_Check_1", {"U2", "U2"}},
    {"Dig_Auswahl_Messgrösse_Check_2", {"U3", "U3"}},
    {"Dig_Auswahl_Messgrösse_Check_3", {"U12", "U12"}},
    {"Dig_Auswahl_Messgrösse_Check_4", {"U23", "U23"}},
    {"Dig_Auswahl_Messgrösse_Check_5", {"U31", "U31"}},
    {"Dig_Auswahl_Messgrösse_Check_6", {"I1", "I1"}},
    {"Dig_Auswahl_Messgrösse_Check_7", {"I2", "I2"}},
    {"Dig_Auswahl_Messgrösse_Check_8", {"I3", "I3"}},
    {"Dig_Auswahl_Messgrösse_Check_9", {"P", "P"}},
    {"Dig_Auswahl_Messgrösse_Check_10", {"P1", "P1"}},
    {"Dig_Auswahl_Messgrösse_Check_11", {"P2", "P2"}},
    {"Dig_Auswahl_Messgrösse_Check_12", {"P3", "P3"}},
    {"Dig_Auswahl_Messgrösse_Check_13", {"Q", "Q"}},
    {"Dig_Auswahl_Messgrösse_Check_14", {"Q1", "Q1"}},
    {"Dig_Auswahl_Messgrösse_Check_15", {"Q2", "Q2"}},
    {"Dig_Auswahl_Messgrösse_Check_16", {"Q3", "Q3"}},
    {"Dig_Auswahl_Messgrösse_Check_17", {"S", "S"}},
    {"Dig_Auswahl_Messgrösse_Check_18", {"S1", "S1"}},
    {"Dig_Auswahl_Messgrösse_Check_19", {"S2", "S2"}},
    {"Dig_Auswahl_Messgrösse_Check_20", {"S3", "S3"}},
    {"Dig_Auswahl_Messgrösse_Check_21", {"PF", "PF"}},
    {"Dig_Auswahl_Messgrösse_Check_22", {"PF1", "PF1"}},
    {"Dig_Auswahl_Messgrösse_Check_23", {"PF2", "PF2"}},
    {"Dig_Auswahl_Messgrösse_Check_24", {"PF3", "PF3"}},
    {"Dig_Auswahl_Messgrösse_Check_25", {"QF", "QF"}},
    {"Dig_Auswahl_Messgrösse_Check_26", {"QF1", "QF1"}},
    {"Dig_Auswahl_Messgrösse_Check_27", {"QF2", "QF2"}},
    {"Dig_Auswahl_Messgrösse_Check_28", {"QF3", "QF3"}},
    {"Dig_Auswahl_Messgrösse_Check_29", {"phi", "phi"}},
    {"Dig_Auswahl_Messgrösse_Check_30", {"phi1", "phi1"}},
    {"Dig_Auswahl_Messgrösse_Check_31", {"phi2", "phi2"}},
    {"Dig_Auswahl_Messgrösse_Check_32", {"phi3", "phi3"}},
    {"Dig_Auswahl_Messgrösse_Check_33", {"F", "F"}},
    {"Dig_Auswahl_Messgrösse_Check_34", {"10VDC-Input", "10VDC-Input"}},
    {"Dig_Auswahl_Messgrösse_Check_35", {"U", "U"}},
    {"Dig_Auswahl_Messgrösse_Check_36", {"I", "I"}},
};

}  // namespace

std::span<const Caption> anzeilistCaptions() {
    return kAnzeilist;
}
std::span<const Caption> verlaufCaptions() {
    return kVerlauf;
}
std::span<const Caption> digAuswahlCaptions() {
    return kDigAuswahl;
}

std::span<const Caption> handbuchCaptions() {
    return kHandbuch;
}

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
