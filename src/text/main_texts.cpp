#include "text/main_texts.h"

namespace kalvo {

namespace {

constexpr TextRow kRows[] = {
    {"frmMain.mnuFile1", "&Datei", "File"},
    {"frmMain.mnufile_0", "&Neu", "New"},
    {"frmMain.mnufile_1", "Ö&ffnen", "Open"},
    {"frmMain.mnufile_3", "&Speichern", "Save"},
    {"frmMain.mnufile_4", "Speichern &unter...", "Save As"},
    {"frmMain.mnufile_7", "Dru&cken...", "Print"},
    {"frmMain.mnufile_9", "&Beenden", "E&xit"},
    {"frmMain.mnubearb", "&Bearbeiten", "Edit"},
    {"frmMain.mnupara", "Para&metrieren", "Configuration"},
    {"frmMain.mnuprogr", "&Programmieren", "programming"},
    {"frmMain.mnudaten", "&Daten auslesen", "read data"},
    {"frmMain.mnudirekt", "Direkt&eingabe", "direct input"},
    {"frmMain.mnuView", "&Einstellungen", "attitudes"},
    {"frmMain.mnustand", "Standard-A&dresse", "standard address"},
    {"frmMain.mnuadr", "&Adresse ändern", "change address"},
    {"frmMain.mnuViewToolbar", "&Symbolleiste", "Toolbar"},
    {"frmMain.mnuViewStatusBar", "Status&leiste", "StatusBar"},
    {"frmMain.mnumessen", "&Messen", "&measure"},
    {"frmMain.mnumess", "&Messen", "&measure"},
    {"frmMain.tbToolBar#1", "Neu", "New"},
    {"frmMain.tbToolBar#2", "Öffnen", "Open"},
    {"frmMain.tbToolBar#3", "Speichern", "Save"},
    {"frmMain.tbToolBar#5", "Parametrierung Drucken", "Print Configuration"},
    {"frmMain.tbToolBar#7", "Parametrieren", "Configuration"},
    {"frmMain.tbToolBar#8", "Messwerte anzeigen", "values measured indicate"},
    {"frmMain.tbToolBar#10", "Daten auslesen", "read data"},
    {"frmMain.tbToolBar#11", "Programmieren", "programming"},
    {"frmMain.tbToolBar#13", "Deutsch", "German"},
    {"frmMain.tbToolBar#14", "Englisch", "English"},
    {"Meldung", "Achtung !!", "Note!!"},
    {"Meldung.lblM11", "Achtung !!", "Note!!"},
    {"Meldung.lblM12", "Die Grundeinstellungen wurden geändert !!",
     "The basic adjustments were changed!!"},
    {"Meldung.lblM13", "Alle Analog, Binär und Seriellen Einstellungen",
     "All analog, binary and serial attitudes"},
    {"Meldung.lblM14", "wurden zurückgesetzt,,", "were put back,"},
    {"Meldung.lblM15", "und sind neu zu parametrieren !!", "and are to be configured again!!"},
    {"Adresse", "Ändern der Geräteadresse", "Change the device address"},
    {"Adresse.Label1", "neue Adresse", "new address "},
    {"Adresse.Label2", "alte Adresse", "old address "},
    {"Adresse.Abbrechen_Adresse_ändern", "Abbrechen", "Cancel"},
    {"Direkt", "Direkteingabe Schnittstelle", "Direct input interface"},
    {"Direkt.Command1", "Senden", "Send"},
    {"Direkt.Command2", "Abbrechen", "Cancel"},
    {"standartadr.Abbrechen", "Abbrechen", "Cancel"},
    {"standartadr", "Ändern der Standardadresse", "Change the standard address"},
    {"standartadr.Label1", "Geben Sie die neue Standardadresse ein!",
     "Enter the new standard address!"},
    {"Anzeilist.zurück", "zurück", "back"},
    {"Anzeilist.start", "START", "START"},
    {"Anzeilist", "Messwerte", "Measured values"},
    {"Meldung.Command1", "Weiter", "continue"},
};

}  // namespace

std::span<const TextRow> Texte_allgemein() {
    return kRows;
}

std::string_view allgemeinText(std::string_view target, bool english) {
    for (const TextRow& row : kRows) {
        if (row.target == target) return english ? row.english : row.german;
    }
    return {};
}

std::string_view progrCaption(ProgrStage stage, bool english) {
    switch (stage) {
        case ProgrStage::Hardware:
            return english ? "read Hardware data" : "Hardware Daten werden ausgelesen";
        case ProgrStage::Programming:
            return english ? "Transducer is programmed" : "Messumformer wird programmiert";
        case ProgrStage::ReadBack:
            return english ? "read data transducers " : "Daten Messumformer werden ausgelesen";
    }
    return {};
}

std::optional<MessageText> fileErrorMessage(FileError error, const std::string& path, bool saving,
                                            bool english) {
    MessageText m;
    m.critical = true;
    m.title = english ? "File error" : "Dateifehler";
    const std::string quoted = "\"" + path + "\"";
    switch (error) {
        case FileError::None:
            return std::nullopt;
        case FileError::CannotOpen:
            m.text = english ? "The file " + quoted + " could not be opened."
                             : "Die Datei " + quoted + " konnte nicht geöffnet werden.";
            break;
        case FileError::Malformed:
            m.text = english ? "The file " + quoted + " is not a valid project file."
                             : "Die Datei " + quoted + " ist keine gültige Projektdatei.";
            break;
        case FileError::CannotWrite:
            m.text = english ? "The file " + quoted + " could not be written."
                             : "Die Datei " + quoted + " konnte nicht geschrieben werden.";
            break;
        case FileError::TooLong:
            m.text = english ? "The project is too large for the file " + quoted + "."
                             : "Das Projekt ist zu groß für die Datei " + quoted + ".";
            break;
    }
    if (saving) {
        m.text += english ? " The project was not saved." : " Das Projekt wurde nicht gespeichert.";
    } else {
        m.text += english ? " The project was not changed." : " Das Projekt wurde nicht geändert.";
    }
    return m;
}

}  // namespace kalvo
