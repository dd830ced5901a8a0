#include <gtest/gtest.h>

#include "shell/messages.h"
#include "text/cp1252.h"
#include "text/messages.h"

namespace kalvo {
namespace {

TEST(Cp1252, ConvertsTheCharactersOfFilesAndTheWire) {
    EXPECT_EQ(toCp1252("90°ÄÖÜäöüß"), "90\xB0\xC4\xD6\xDC\xE4\xF6\xFC\xDF");
    EXPECT_EQ(toCp1252("€‚ƒ„…†‡ˆ‰Š‹ŒŽ"), "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E");
    EXPECT_EQ(toCp1252("‘’“”•–—˜™š›œžŸ"),
              "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F");
    EXPECT_EQ(fromCp1252("\x80 \xDC\x9F\xFF"), "€ ÜŸÿ");
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
}

TEST(Cp1252, WhatHasNoByteBecomesAQuestionMark) {
    EXPECT_EQ(toCp1252("Ω"), "?");             // a character outside the code page
    EXPECT_EQ(toCp1252("a😀b"), "a?b");         // four-byte sequence
    EXPECT_EQ(toCp1252("\x80x"), "?x");        // stray continuation byte
    EXPECT_EQ(toCp1252("\xC3(x"), "?(x");      // truncated
    EXPECT_EQ(toCp1252("\xC0\xB0"), "??");     // overlong form of '0'
    EXPECT_EQ(toCp1252("\xED\xA0\x80"), "?");  // surrogate
    EXPECT_EQ(toCp1252("\xC2\x80"), "?");      // U+0080 is not the euro sign's byte
}

}  // namespace
}  // namespace kalvo
