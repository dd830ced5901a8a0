#include "config/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "config/cell.h"
#include "config/record.h"

namespace kalvo {
namespace {

TEST(FormatNumber, ShortestFormWithRegionalSeparator) {
    EXPECT_EQ(formatNumber(16.666, ','), "16,666");
    EXPECT_EQ(formatNumber(16.666, '.'), "16.666");
    EXPECT_EQ(formatNumber(300, ','), "300");
    EXPECT_EQ(formatNumber(-0.5, ','), "-0,5");
    EXPECT_EQ(formatNumber(0.1 + 0.2, '.'), "0.3");  // 15 digits hide the binary residue
    EXPECT_EQ(formatNumber(600 / kSqrt3, ','), "346,410161513775");
    EXPECT_EQ(formatNumber(2.0 / 3.0, '.'), "0.666666666666667");
}

TEST(FormatNumber, ZeroAndExtremesNeverUseExponentForm) {
    EXPECT_EQ(formatNumber(0.0, '.'), "0");
    EXPECT_EQ(formatNumber(-0.0, ','), "0");
    EXPECT_EQ(formatNumber(1e15, '.'), "1000000000000000");
    EXPECT_EQ(formatNumber(1e20, '.'), "100000000000000000000");
    EXPECT_EQ(formatNumber(123456789012345678.0, '.'), "123456789012346000");
    EXPECT_EQ(formatNumber(0.00001, ','), "0,00001");
    EXPECT_EQ(formatNumber(-1.5e-7, '.'), "-0.00000015");
    EXPECT_EQ(formatNumber(1e-300, '.').size(), 302u);  // "0." + 299 zeros + "1"
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::infinity(), '.'), "0");
    EXPECT_EQ(formatNumber(std::nan(""), '.'), "0");
}

TEST(LeadingNumber, ReadsLikeTheDeviceFirmwareTexts) {
    EXPECT_EQ(leadingNumber(" 4"), 4);
    EXPECT_EQ(leadingNumber("1.2"), 1.2);
    EXPECT_EQ(leadingNumber("12ab"), 12);
    EXPECT_EQ(leadingNumber("1,2"), 1);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("1 2 3"), 123);  // blanks inside the number are ignored
    EXPECT_EQ(leadingNumber(" - 2.5V"), -2.5);
    EXPECT_EQ(leadingNumber("+7"), 7);
    EXPECT_EQ(leadingNumber("1.2.3"), 1.2);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("-"), 0);
    EXPECT_EQ(leadingNumber("--1"), 0);
    EXPECT_EQ(leadingNumber("3e5"), 3);
    EXPECT_TRUE(std::isinf(leadingNumber(std::string(400, '9'))));
    EXPECT_EQ(leadingNumber("0." + std::string(400, '0') + "1"), 0);
}

TEST(ParseNumber, AcceptsEitherSeparatorForTheWholeText) {
    EXPECT_EQ(parseNumber("0,5"), 0.5);
    EXPECT_EQ(parseNumber("0.5"), 0.5);
    EXPECT_EQ(parseNumber(" -57,735 "), -57.735);
    EXPECT_EQ(parseNumber("+3"), 3);
    EXPECT_EQ(parseNumber(",5"), 0.5);
    EXPECT_EQ(parseNumber("5,"), 5);
    EXPECT_EQ(parseNumber("1,000.5"), std::nullopt);
    EXPECT_EQ(parseNumber("12ab"), std::nullopt);
    EXPECT_EQ(parseNumber("1 2"), std::nullopt);
    EXPECT_EQ(parseNumber(""), std::nullopt);
    EXPECT_EQ(parseNumber("-"), std::nullopt);
    EXPECT_EQ(parseNumber(","), std::nullopt);
    EXPECT_EQ(parseNumber("1e5"), std::nullopt);
}

TEST(CellConversion, TextAndNumberFollowOneSetOfRules) {
    EXPECT_EQ(Cell(16.666).toText(','), "16,666");
    EXPECT_EQ(Cell(16.666).toText('.'), "16.666");
    EXPECT_EQ(Cell(3).toText(','), "3");
    EXPECT_EQ(Cell("0,5").toText('.'), "0,5");  // texts stay as they are
    EXPECT_EQ(Cell().toText(','), "");

    EXPECT_EQ(Cell("0,5").toNumber(), 0.5);
    EXPECT_EQ(Cell("0.5").toNumber(), 0.5);
    EXPECT_EQ(Cell("V").toNumber(), 0);
    EXPECT_EQ(Cell().toNumber(), 0);

    EXPECT_TRUE(Cell("50").equals(50));
    EXPECT_TRUE(Cell("0").equals(0));
    EXPECT_TRUE(Cell("0,5").equals(0.5));
    EXPECT_TRUE(Cell(2).equals(2));
    EXPECT_TRUE(Cell().equals(0));
    EXPECT_FALSE(Cell().equals(1));
    EXPECT_FALSE(Cell("V").equals(0));  // a text that is no number equals nothing
    EXPECT_FALSE(Cell("50").equals(60));
}

}  // namespace
}  // namespace kalvo
