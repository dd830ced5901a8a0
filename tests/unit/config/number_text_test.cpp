#include "config/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "config/cell.h"
#include "config/record.h"

namespace kalvo {
namespace {

TEST(FormatNumber, FifteenDigitsRegionalSeparatorNeverExponentForm) {
    // 15 digits hide the binary residue of 0.1 + 0.2; no infinity or NaN in a text.
    const struct {
        double value;
        char decimal;
        const char* text;
    } cases[] = {
        {16.666, ',', "16,666"},
        {0.1 + 0.2, '.', "0.3"},
        {2.0 / 3.0, '.', "0.666666666666667"},
        {-0.0, ',', "0"},
        {1e20, '.', "100000000000000000000"},
        {-1.5e-7, ',', "-0,00000015"},
        {HUGE_VAL, '.', "0"},
        {std::nan(""), '.', "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatNumber(c.value, c.decimal), c.text);
    EXPECT_EQ(formatNumber(123456789012345678.0, '.'), "123456789012346000");
    EXPECT_EQ(formatNumber(1e-300, '.').size(), 302u);  // "0." + 299 zeros + "1"
}

TEST(LeadingNumber, ReadsLikeTheDeviceFirmwareTexts) {
    // Blanks inside are ignored; the number ends at the first other character.
    const std::pair<const char*, double> cases[] = {
        {" 4", 4},      {"1.2", 1.2},      {"12ab", 12},   {"1,2", 1},  {"abc", 0}, {"", 0},
        {"1 2 3", 123}, {" - 2.5V", -2.5}, {"1.2.3", 1.2}, {".5", 0.5}, {"--1", 0}, {"3e5", 3},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(leadingNumber(text), value) << text;
    EXPECT_TRUE(std::isinf(leadingNumber(std::string(400, '9'))));
}

TEST(ParseNumber, AcceptsEitherSeparatorForTheWholeText) {
    const std::optional<double> no;
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"0,5", 0.5}, {"0.5", 0.5}, {" -57,735 ", -57.735},
        {",5", 0.5},  {"5,", 5},    {"1,000.5", no},
        {"12ab", no}, {"1 2", no},  {"", no},
        {",", no},    {"1e5", no},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(parseNumber(text), value) << text;
}

TEST(CellConversion, TextAndNumberFollowOneSetOfRules) {
    EXPECT_EQ(Cell(16.666).toText('.'), "16.666");
    EXPECT_EQ(Cell("0,5").toText('.'), "0,5");  // texts stay as they are
    EXPECT_EQ(Cell("0,5").toNumber(), 0.5);
    EXPECT_EQ(Cell("V").toNumber(), 0);
    EXPECT_TRUE(Cell("0,5").equals(0.5));
    EXPECT_TRUE(Cell().equals(0));
    EXPECT_FALSE(Cell("V").equals(0));  // a text that is no number equals nothing
    EXPECT_FALSE(Cell("50").equals(60));
}

}  // namespace
}  // namespace kalvo
