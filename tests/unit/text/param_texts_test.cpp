// The parameter dialog's texts where a slip is easy: the blanks inside the transformer heading
// and the cap./ind. label, the dialect's own words, and the page list words.
#include "text/param_texts.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kalvo {
namespace {

std::size_t blanksBetween(std::string_view text) {
    const auto first = text.find(' ');
    const auto last = text.find_first_not_of(' ', first);
    return last - first;
}

TEST(ParamTexts, BlanksInsideTheTextsAreExact) {
    const auto table = paramCaptions();
    EXPECT_EQ(blanksBetween(captionOf(table, "G2_0", Language::German)), 11u);
    EXPECT_EQ(blanksBetween(captionOf(table, "G2_0", Language::English)), 8u);
    EXPECT_EQ(blanksBetween(captionOf(table, "G2_0", Language::Dialect)), 11u);
    EXPECT_EQ(captionOf(table, "G2_1", Language::Dialect),
              captionOf(table, "G2_0", Language::Dialect));
    for (const Language l : {Language::German, Language::English, Language::Dialect}) {
        EXPECT_EQ(blanksBetween(captionOf(table, "Beschriftungen_Label_8", l)), 22u);
    }
}

TEST(ParamTexts, CopiesAndTheDialectsOwnWords) {
    const auto table = paramCaptions();
    const std::pair<const char*, const char*> copies[] = {
        {"Stromwandler_Option_0", "Spannungswandler_Option_0"},
        {"Stromwandler_Option_1", "Spannungswandler_Option_1"},
        {"Beschriftungen_Label_3", "Beschriftungen_Label_1"},
        {"Beschriftungen_Label_4", "Beschriftungen_Label_2"},
        {"Beschriftungen_Label_9", "Beschriftungen_Label_0"}};
    for (const Language l : {Language::German, Language::English, Language::Dialect}) {
        for (const auto& [copy, original] : copies) {
            EXPECT_EQ(captionOf(table, copy, l), captionOf(table, original, l)) << copy;
        }
    }
    EXPECT_EQ(captionOf(table, "", Language::Dialect), "Bara-, Bara-, äh, Einschdellungen");
    EXPECT_EQ(captionOf(table, "Nenneingangsspannung_Frame", Language::Dialect),
              "Nennoangangssboannung");
    EXPECT_EQ(captionOf(table, "Signal_off_on_Grenzwert_Option_1", Language::English),
              "Device aktive");
    EXPECT_EQ(captionOf(table, "Beschriftungen_Label_0", Language::English), "measuruing signals");
    EXPECT_EQ(kPageAnalog.in(Language::Dialect), "Analogoausgong ");
    EXPECT_EQ(kPageInterface.in(Language::Dialect), "Schnittstelle");
    EXPECT_NE(captionOf(table, "Abbruch_Parametrieren@tip", Language::English)
                  .find("Pages already left stay stored"),
              std::string_view::npos);
}

TEST(ParamTexts, FillInAll) {
    EXPECT_EQ(fillInAll("-%1 ... %1 %3, %2", {"20", "24", "mA"}), "-20 ... 20 mA, 24");
    EXPECT_EQ(fillInAll("%1 %4 100%", {"a"}), "a %4 100%");
}

}  // namespace
}  // namespace kalvo
