#include <gtest/gtest.h>

#include "text/cp1252.h"
#include "text/messages.h"

namespace kalvo {
namespace {

TEST(Cp1252, ConvertsTheCharactersOfFilesAndTheWire) {
    EXPECT_EQ(toCp1252("-0-t"), "-0-t");
    EXPECT_EQ(toCp1252("90°"), "90\xB0");
    EXPECT_EQ(toCp1252("ÄÖÜäöüß"), "\xC4\xD6\xDC\xE4\xF6\xFC\xDF");
    EXPECT_EQ(toCp1252("€‚ƒ„…†‡ˆ‰Š‹ŒŽ"), "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E");
    EXPECT_EQ(toCp1252("‘’“”•–—˜™š›œžŸ"),
              "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F");
    EXPECT_EQ(fromCp1252("90\xB0"), "90°");
    EXPECT_EQ(fromCp1252("\x80 \xDC\x9F\xFF"), "€ ÜŸÿ");
}

TEST(Cp1252, WhatHasNoByteBecomesAQuestionMark) {
    EXPECT_EQ(toCp1252("Ω"), "?");             // a character outside the code page
    EXPECT_EQ(toCp1252("a😀b"), "a?b");         // four-byte sequence
    EXPECT_EQ(toCp1252("\x80x"), "?x");        // stray continuation byte
    EXPECT_EQ(toCp1252("\xC3"), "?");          // truncated at the end
    EXPECT_EQ(toCp1252("\xC3(x"), "?(x");      // truncated in the middle
    EXPECT_EQ(toCp1252("\xC0\xB0"), "??");     // overlong form of '0'
    EXPECT_EQ(toCp1252("\xED\xA0\x80"), "?");  // surrogate
    EXPECT_EQ(toCp1252("\xC2\x80"), "?");      // U+0080 is not the euro sign's byte
}

TEST(Cp1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
}

TEST(Messages, BothLanguages) {
    EXPECT_EQ(msg(false).title, "Aktion abgebrochen!");
    EXPECT_EQ(msg(false).text, "Überprüfen Sie die Datenverbindung und versuchen Sie es nochmals!");
    EXPECT_EQ(msg(true).title, "Action cancelled!");
    EXPECT_EQ(msg(true).text, "Check the dataconnection and try again!");
    EXPECT_EQ(msg_para(false).text, "Der Messumformer wurde noch nie parametriert.");
    EXPECT_EQ(msg_para(true).text, "The transducer was not ever parametriert.");
    EXPECT_EQ(msg_prog_err(false).text, "falscher Messumformer!!");
    EXPECT_EQ(msg_prog_err(true).text, "wrong transducer!!");
    EXPECT_TRUE(msg_prog_err(true).critical);

    const MessageText done = programmingDone(false);
    EXPECT_EQ(done.title, "Information");
    EXPECT_EQ(done.text, "Programmierung erfolgreich abgeschlossen!");
    EXPECT_FALSE(done.critical);
    EXPECT_EQ(programmingDone(true).text, "Programming successfully finally!");
}

TEST(Messages, OneBoxPerFailedOutcome) {
    EXPECT_EQ(messageFor(Outcome::LinkFailure, true)->text, msg(true).text);
    EXPECT_EQ(messageFor(Outcome::BadReply, false)->text, msg(false).text);
    EXPECT_EQ(messageFor(Outcome::WrongTransducer, false)->text, "falscher Messumformer!!");
    EXPECT_EQ(messageFor(Outcome::NeverProgrammed, true)->text, msg_para(true).text);
    EXPECT_FALSE(messageFor(Outcome::Ok, false));
    EXPECT_FALSE(messageFor(Outcome::Cancelled, true));
}

}  // namespace
}  // namespace kalvo
