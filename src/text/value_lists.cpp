#include "text/value_lists.h"

namespace kalvo {

namespace {

constexpr Text kConnectionTypes[] = {
    {"Vierleiter beliebiger Belastung", "Four wire unbalanced", "Vierleider beliebcher Belasdung"},
    {"Vierleiter gleicher Belastung", "Four wire balanced", "Vierleider gleicher Belasdung"},
    {"Dreileiter beliebiger Belastung", "Three wire unbalanced", "Dreileider beliebcher Belasdung"},
    {"Dreileiter gleicher Belastung", "Three wire balanced", "Dreileider gleicher Belasdung"},
    {"Einphasennetz", "Single-Phase System", "Einphosennetz"},
};

constexpr Text kQuantities[] = {
    {"Spannung", "Voltage", "Schbannung"},
    {"Strom", "Current", "Schdrohm"},
    {"Wirkleistung", "Active Power", "Wirgleisdung"},
    {"Blindleistung", "Reactive Power", "Blindleisdung"},
    {"Scheinleistung", "Apparent Power", "Scheinleisdung"},
    {"Wirkfaktor", "Power Factor", "Wirgfagdor"},
    {"Blindfaktor", "Reactive Power Factor", "Blindfagdor"},
    {"Phasenwinkel", "Phase Angle", "Phasenwingkel"},
    {"Frequenz", "Frequency", "Frequenz"},
    {"10V DC-Input", "10V DC-Input", "10V DC-Input"},
};

std::string_view entry(std::span<const Text> list, int position, Language language) {
    if (position < 0 || position >= static_cast<int>(list.size())) return {};
    return list[static_cast<std::size_t>(position)].in(language);
}

}  // namespace

std::span<const Text> connectionTypeTexts() {
    return kConnectionTypes;
}

std::span<const Text> quantityTexts() {
    return kQuantities;
}

std::string_view connectionTypeText(int position, Language language) {
    return entry(kConnectionTypes, position, language);
}

std::string_view quantityText(int position, Language language) {
    return entry(kQuantities, position, language);
}

}  // namespace kalvo
