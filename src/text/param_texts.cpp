#include "text/param_texts.h"

namespace kalvo {

namespace {

// The three columns are the routines Texte_deutsch, Texte_englisch and Texte_fraenkisch.
// Blanks inside the texts are part of them: the transformer heading lines up over two boxes.
constexpr Caption kParam[] = {
    {"", {"Parametrierung", "Configuration", "Bara-, Bara-, äh, Einschdellungen"}},
    {"Abbruch_Parametrieren", {"Abbruch", "Cancel", "Abbruch"}},
    {"Abbruch_Parametrieren@tip",
     {"Schließen, ohne die angezeigte Seite zu speichern. Seiten, die schon verlassen wurden, "
      "bleiben gespeichert.",
      "Close without storing the page shown. Pages already left stay stored."}},
    {"G1_0", {"Anschlußart", "Connection", "Anschlussoard"}},
    {"G1_1", {"Nennfrequenz", "Nominal frequency", "Nennfrequenz"}},
    {"Nenneingangsspannung_Frame",
     {"Nenneingangsspannung", "Nominal input voltage", "Nennoangangssboannung"}},
    {"Nenneingangsstrom_Frame",
     {"Nenneingangsstrom", "Nominal input current", "Nennoangangssdroom"}},
    {"Spannungswandler_Option_0", {"ohne Wandler", "Without transf.", "oh Woandler"}},
    {"Spannungswandler_Option_1", {"mit Wandler", "With transformer", "mid Woandler"}},
    // Copies of the voltage transformer options.
    {"Stromwandler_Option_0", {"ohne Wandler", "Without transf.", "oh Woandler"}},
    {"Stromwandler_Option_1", {"mit Wandler", "With transformer", "mid Woandler"}},
    {"Signal_off_on_Grenzwert_Option_0", {"kein Signal", "No signal", "kein Signal"}},
    {"Signal_off_on_Grenzwert_Option_1", {"Gerät aktiv", "Device aktive", "Gerät aktiv"}},
    {"Signal_off_on_Grenzwert_Option_2", {"Grenzwert", "Limit value", "Grenzwert"}},
    {"über_unterschreitung_Option_0", {"Überschreitung", "to exceed", "Überschreitung"}},
    {"über_unterschreitung_Option_1", {"Unterschreitung", "to fall below", "Unterschreitung"}},
    {"G2_0",
     {"Primär:           Sekundär:", "Primary:        Secondary:", "Brimär:           Segundär:"}},
    {"G2_1",
     {"Primär:           Sekundär:", "Primary:        Secondary:", "Brimär:           Segundär:"}},
    {"Analog_Ausgangssignal_Frame", {"Ausgangssignal", "Output Signal", "Oausgangssingnal"}},
    {"Analog_Messbereich1_Frame", {"Meßbereich", "Measuring Range", "Messbereich"}},
    {"Schnittstelle_Frame",
     {"Messwerte über Schnittstelle", "Measured at Interface", "Messwerte über Schnittstelle"}},
    {"Beschriftungen_Label_0", {"Meßgröße", "measuruing signals", "Messgröße"}},
    {"Beschriftungen_Label_1", {"von:", "from:", "vo:"}},
    {"Beschriftungen_Label_2", {"bis:", "to:", "bis:"}},
    {"Beschriftungen_Label_3", {"von:", "from:", "vo:"}},
    {"Beschriftungen_Label_4", {"bis:", "to:", "bis:"}},
    {"Beschriftungen_Label_5", {"Begrenzung", "Limitation", "Begrenzung"}},
    {"Beschriftungen_Label_6", {"min:", "min:", "min:"}},
    {"Beschriftungen_Label_7", {"max:", "max:", "max:"}},
    {"Beschriftungen_Label_8",
     {"kap.                      ind.", "cap.                      ind.",
      "kap.                      ind."}},
    {"Beschriftungen_Label_9", {"Meßgröße", "measuruing signals", "Messgröße"}},
    {"Beschriftungen_Label_10", {"Meldung bei:", "Message at:", "Meldung bei:"}},
    {"knick_check", {"geknickte Kennlinie", "buckled characteristic curve", "gegniggde Gennlinie"}},
    // Captions no text routine changes: the same in every language.
    {"OK_Parametrieren", {"OK", "OK", "OK"}},
    {"test", {"TEST 1", "TEST 1", "TEST 1"}},
    {"Nennfrquenz_Option_0", {"16,6 Hz", "16,6 Hz", "16,6 Hz"}},
    {"Nennfrquenz_Option_1", {"50 Hz", "50 Hz", "50 Hz"}},
    {"Nennfrquenz_Option_2", {"60 Hz", "60 Hz", "60 Hz"}},
    {"Spannung_Einheit_Label", {"V", "V", "V"}},
    {"Wandlerspannung_Einheit_Label", {"kV", "kV", "kV"}},
    {"Strom_Einheit_Label", {"A", "A", "A"}},
    {"Wandlerstrom_Einheit_Label", {"A", "A", "A"}},
    {"Label5", {"MAX:", "MAX:", "MAX:"}},
    {"Analog_Max_Label", {"Max:", "Max:", "Max:"}},
    {"Binär_Max_Label", {"Max:", "Max:", "Max:"}},
};

}  // namespace

std::span<const Caption> paramCaptions() {
    return kParam;
}

std::string fillInAll(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < values.size()) {
                out += *(values.begin() + n);
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace kalvo
