// The transcript of a device job: how bytes read as text, which events a conversation over the
// link makes and when, and saving it whole or not at all.
#include "link/transcript.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "link/transaction.h"
#include "support/link_rig.h"
#include "support/scratch_dir.h"

namespace kalvo::test {
namespace {

using Lines = std::vector<std::string>;

TEST(Transcript, BytesReadAsOneLineOfText) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"-0-t\n\r", "-0-t<LF><CR>"},
        {"\f\r", "<FF><CR>"},
        {std::string("\x00\x07\t\x1B\x7F", 5), "<0x00><0x07><0x09><0x1B><0x7F>"},
        {"a<LF>", "a<0x3C>LF>"},  // the text "<LF>" is not the byte
        {"20\xB0"
         "C \x80",
         "20°C €"},
        {"\x81\x8D\x8F\x90\x9D", "<0x81><0x8D><0x8F><0x90><0x9D>"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(wireText(bytes), text);
    EXPECT_EQ(escapedText("Meßbereich\t<5>"), "Meßbereich<0x09><0x3C>5>");
}

// One exchange and what follows it, through the link, in virtual time from a fixed start.
TEST(Transcript, RecordsEveryEventOfTheLinkWithItsTime) {
    using namespace std::chrono;
    Rig r;
    echoFrames(r.port, "\r\n");  // 20 ms after the frame
    Lines lines;
    Transcript t(sys_days{year{2026} / 12 / 7} + 9h + 15min, r.clock,
                 [&](const std::string& line) { lines.push_back(line); });
    r.link.setTranscript(&t);

    t.begin("kalvo-cli transact -t");
    r.link.stage(Stage::Programming);
    EXPECT_TRUE(seriell(r.link, "-0-t", 0).Befehl_ok);
    // Pauses one after the other are one; bytes of one line in two bursts are one event.
    r.link.pause(Millis{1000});
    r.link.pause(Millis{12});
    r.port.deliver("TX");
    r.link.flushInput();
    r.clock.advance(Millis{5});
    r.port.deliver("R\r\n\x07x\rz");
    r.link.flushInput();
    r.link.pause(Millis{12});  // ends the burst "z"
    r.clock.advance(Millis{3});
    t.ended(Outcome::LinkFailure, "keine Antwort");

    EXPECT_EQ(lines, (Lines{
                         "2026-12-07T09:15:00.000Z\tstart\tkalvo-cli transact -t",
                         "2026-12-07T09:15:00.000Z\tstage\tprogramming",
                         "2026-12-07T09:15:00.000Z\tlog\t-0-t",
                         "2026-12-07T09:15:00.000Z\tsend\t-0-t<LF><CR>",
                         "2026-12-07T09:15:00.020Z\trecv\t-0-t<CR><LF>",
                         "2026-12-07T09:15:00.020Z\tlog\t-0-t  OK",
                         "2026-12-07T09:15:00.020Z\tpause\t1012 ms",
                         "2026-12-07T09:15:01.032Z\trecv\tTXR<CR><LF>",
                         "2026-12-07T09:15:01.037Z\trecv\t<0x07>x<CR>",
                         "2026-12-07T09:15:01.037Z\trecv\tz",
                         "2026-12-07T09:15:01.037Z\tpause\t12 ms",
                         "2026-12-07T09:15:01.052Z\tend\tlink failure\tkeine Antwort",
                     }));
}

TEST(Transcript, IsSavedWholeOrNotAtAll) {
    ScratchDir dir;
    const std::string path = dir.file("t.txt");
    ASSERT_TRUE(saveTranscript(path, {"old line", "old line"}));
    ASSERT_TRUE(saveTranscript(path, {"a\tb", "c"}));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a\tb\nc\n");
    // A folder in the way of the file, or no folder for it: nothing is left behind.
    std::filesystem::create_directory(dir.file("taken"));
    EXPECT_FALSE(saveTranscript(dir.file("taken"), {"x"}));
    EXPECT_FALSE(saveTranscript(dir.file("none/t.txt"), {"x"}));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

}  // namespace
}  // namespace kalvo::test
