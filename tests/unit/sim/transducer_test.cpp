// The simulated transducer as a byte-in, byte-out model, driven directly in virtual time.
#include "sim/transducer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "link/hardware.h"

namespace kalvo::sim {
namespace {

using namespace std::chrono_literals;

const TimePoint t0 = TimePoint{} + 1h;

std::string all(Transducer& d) {
    return d.takeOutput(TimePoint::max());
}

// What the hardware query's reader keeps: the first 150 characters, without CR, LF and TAB.
std::string readAsQuery(const std::string& raw) {
    std::string kept;
    for (std::size_t i = 0; i < raw.size() && i < 150; ++i)
        if (raw[i] != '\r' && raw[i] != '\n' && raw[i] != '\t') kept.push_back(raw[i]);
    return kept;
}

// 1-based characters from..to of s.
std::string chars(const std::string& s, std::size_t from, std::size_t to) {
    return s.substr(from - 1, to - from + 1);
}

TEST(TransducerEcho, EveryCommandComesBackWithCr) {
    Transducer d({});
    for (std::string cmd : {"-0-t", "-0-S 4U,1,1,50", "-0-M A1,U1,0,50,100,mA,4,12,20,0,24,0",
                            "-0-M B1,on", "-0-M S,FF,E,U1,U31,F", "-0-D1,:0:50:230"}) {
        d.receive(cmd + "\n\r", t0);
        EXPECT_EQ(d.nextOutputAt(), t0) << cmd;
        EXPECT_EQ(all(d), cmd + "\r");
    }
    EXPECT_EQ(d.frames().size(), 6u);
    EXPECT_EQ(d.frames()[1].text, "-0-S 4U,1,1,50");
    EXPECT_EQ(d.frames()[1].at, t0);
}

TEST(TransducerEcho, WakeUpFramesAndLoneCrAreToleratedAsLineNoise) {
    Transducer d({});
    d.receive("\r", t0);
    d.receive("\n\r-0-t\n\r", t0);
    d.receive("\n\r-0-t\n\r", t0);
    EXPECT_EQ(all(d), "-0-t\r-0-t\r");
    ASSERT_EQ(d.frames().size(), 2u);  // the empty frames are not frames
    // A frame closed by CR alone or LF alone is answered as well.
    d.receive("-0-t\r", t0);
    d.receive("-0-t\n", t0);
    EXPECT_EQ(all(d), "-0-t\r-0-t\r");
    // Noise before the "-" is not echoed.
    d.receive("xy-0-t\n\r", t0);
    EXPECT_EQ(all(d), "-0-t\r");
}

TEST(TransducerEcho, LongCommandArrivingInPiecesIsOneFrame) {
    Transducer d({});
    std::string cmd = "-0-D2,";
    while (cmd.size() < 130) cmd += ":12,5";
    d.receive(cmd.substr(0, 60), t0);
    d.receive(cmd.substr(60, 60), t0 + 1s);
    EXPECT_FALSE(d.nextOutputAt());
    d.receive(cmd.substr(120) + "\n\r", t0 + 2s);
    EXPECT_EQ(d.nextOutputAt(), t0 + 2s);
    EXPECT_EQ(all(d), cmd + "\r");
}

TEST(TransducerAddress, OnlyItsOwnAddressIsAnswered) {
    Transducer d({.address = "12"});
    d.receive("-0-t\n\r", t0);
    d.receive("-1-t\n\r", t0);
    d.receive("-120-t\n\r", t0);
    EXPECT_FALSE(d.nextOutputAt());
    d.receive("-12-t\n\r", t0);
    EXPECT_EQ(all(d), "-12-t\r");
    EXPECT_EQ(d.frames().size(), 4u);  // all frames are recorded, answered or not
}

TEST(TransducerAddress, AddressChangeTakesEffectAfterItsEcho) {
    Transducer d({});
    d.receive("-0-*5\n\r", t0);
    EXPECT_EQ(all(d), "-0-*5\r");
    d.receive("-0-t\n\r", t0);
    EXPECT_EQ(all(d), "");
    d.receive("-5-t\n\r", t0);
    EXPECT_EQ(all(d), "-5-t\r");
}

TEST(TransducerFaults, SilentAnswersNothingButRecordsFrames) {
    Transducer d({.silent = true});
    d.receive("-0-t\n\r-0-*?\n\r-0-D1\n\r", t0);
    EXPECT_FALSE(d.nextOutputAt());
    EXPECT_EQ(all(d), "");
    EXPECT_EQ(d.frames().size(), 3u);
}

TEST(TransducerFaults, GarbledEchoDiffersInOneCharacter) {
    Transducer d({.garbleEcho = true});
    d.receive("-0-t\n\r", t0);
    EXPECT_EQ(all(d), "-0-T\r");  // differs only in letter case: still a wrong echo
    d.receive("-0-S 4U,1,1,50\n\r", t0);
    std::string echo = all(d);
    ASSERT_EQ(echo.size(), 15u);
    EXPECT_EQ(echo.substr(0, 13), "-0-S 4U,1,1,5");
    EXPECT_NE(echo[13], '0');
    EXPECT_EQ(echo.back(), '\r');
}

TEST(TransducerTiming, ReplyDelayHoldsBackTheWholeReply) {
    Transducer d({.replyDelay = Millis{300}});
    d.receive("-0-t\n\r", t0);
    EXPECT_EQ(d.nextOutputAt(), t0 + 300ms);
    EXPECT_EQ(d.takeOutput(t0 + 299ms), "");
    EXPECT_EQ(d.takeOutput(t0 + 300ms), "-0-t\r");
}

TEST(TransducerTiming, WireTimeSpacesEveryCharacterBothWays) {
    const auto c = kCharTime;
    EXPECT_EQ(c.count(), 572916);  // 11 bits at 19200 baud
    Transducer d({.wireTime = true});
    d.receive("-0-t\n\r", t0);
    // The frame ends with its LF, the 5th character on the line.
    ASSERT_EQ(d.frames().size(), 1u);
    EXPECT_EQ(d.frames()[0].at, t0 + 5 * c);
    // The echo's first character has arrived one character time later, the rest follow.
    EXPECT_EQ(d.nextOutputAt(), t0 + 6 * c);
    EXPECT_EQ(d.takeOutput(t0 + 6 * c - 1ns), "");
    EXPECT_EQ(d.takeOutput(t0 + 6 * c), "-");
    EXPECT_EQ(d.takeOutput(t0 + 9 * c), "0-t");
    EXPECT_EQ(d.nextOutputAt(), t0 + 10 * c);
    EXPECT_EQ(d.takeOutput(t0 + 10 * c), "\r");
}

TEST(TransducerTiming, WireTimeQueuesBackToBackTraffic) {
    const auto c = kCharTime;
    Transducer d({.wireTime = true});
    // Two frames written at once: the second one's LF arrives as the 11th character.
    d.receive("-0-t\n\r-0-t\n\r", t0);
    ASSERT_EQ(d.frames().size(), 2u);
    EXPECT_EQ(d.frames()[1].at, t0 + 11 * c);
    // First echo leaves at 6c..10c; the second starts once its frame is complete.
    EXPECT_EQ(d.takeOutput(t0 + 10 * c), "-0-t\r");
    EXPECT_EQ(d.nextOutputAt(), t0 + 12 * c);
    // Bytes written later than the line is busy queue behind it.
    Transducer e({.wireTime = true});
    e.receive("-0-", t0);
    e.receive("t\n", t0 + c);  // the line is still busy until 3c
    EXPECT_EQ(e.frames().at(0).at, t0 + 5 * c);
}

TEST(TransducerHardware, ReplyFieldsSitAtTheReadersOffsetsWithinItsWindow) {
    struct Case {
        Options o;
        const char* analog;
        const char* binary;
        const char* volts;
        const char* amps;
        HardwareInfo parsed;
    };
    const Case cases[] = {
        {{}, " 2", " 5", "120", "1.2", {2, 5, 120, 1.2}},
        {{.analog = 4, .binary = 9, .voltage = 600, .current = 5},
         " 4",
         " 9",
         "600",
         "  5",
         {4, 9, 600, 5}},
        {{.analog = 1, .binary = 1, .voltage = 100, .current = 1, .address = "255"},
         " 1",
         " 1",
         "100",
         "  1",
         {1, 1, 100, 1}},
    };
    for (const Case& k : cases) {
        Transducer d(k.o);
        std::string frame = "-" + k.o.address + "-*?";
        d.receive(frame + "\n\r", t0);
        std::string raw = all(d);
        // The reader starts right after its query, so the echo counts against the 150.
        EXPECT_EQ(raw.substr(0, frame.size() + 1), frame + "\r");
        EXPECT_LE(raw.size(), 150u);
        EXPECT_EQ(raw, frame + "\r\n" + d.hardwareReply());

        std::string text = readAsQuery(raw);
        std::size_t at = text.rfind("Ana.:  ");
        ASSERT_NE(at, std::string::npos);
        std::size_t p = at + 7;  // 1-based position of the marker's last character
        ASSERT_GE(text.size(), p + 95);
        EXPECT_EQ(chars(text, p, p + 1), k.analog);
        EXPECT_EQ(chars(text, p + 11, p + 12), k.binary);
        EXPECT_EQ(chars(text, p + 69, p + 71), k.volts);
        EXPECT_EQ(chars(text, p + 93, p + 95), k.amps);

        HardwareParse parsed = parseHardwareReply(text);
        ASSERT_TRUE(parsed.info) << parsed.reason;
        EXPECT_EQ(parsed.info->analog, k.parsed.analog);
        EXPECT_EQ(parsed.info->binary, k.parsed.binary);
        EXPECT_DOUBLE_EQ(parsed.info->voltage, k.parsed.voltage);
        EXPECT_DOUBLE_EQ(parsed.info->current, k.parsed.current);
    }
}

TEST(TransducerData, StoredCopiesAreReplayedBehindTheRequestEcho) {
    Transducer d({});
    const std::string d1 = ":0:50:230:0:0:5:0:0:4:1:" + std::string(37, '0');
    const std::string d2 = ":5:0:0:0:0,5:0:4:12:20:0:24:0:0";
    const std::string d3 = ":0:0:0:0:0:0";
    d.receive("-0-D1," + d1 + "\n\r", t0);
    d.receive("-0-D2," + d2 + "\n\r", t0);
    d.receive("-0-D3," + d3 + "\n\r", t0);
    EXPECT_EQ(all(d), "-0-D1," + d1 + "\r-0-D2," + d2 + "\r-0-D3," + d3 + "\r");
    EXPECT_EQ(d.storedData(2), d2);
    EXPECT_TRUE(d.dataWritten(3));

    d.receive("-0-D2\n\r", t0);
    EXPECT_EQ(all(d), "-0-D2," + d2 + "\r");
    d.receive("-0-D1\n\r", t0);
    std::string reply = all(d);
    EXPECT_EQ(reply, "-0-D1," + d1 + "\r");
    // Everything before the first colon is skipped by the reader; the fields follow it.
    EXPECT_EQ(reply.substr(reply.find(':')), d1 + "\r");
    // Storing again replaces the copy.
    d.receive("-0-D3,:1:0:0:0:0:0\n\r", t0);
    d.receive("-0-D3\n\r", t0);
    EXPECT_EQ(all(d), "-0-D3,:1:0:0:0:0:0\r-0-D3,:1:0:0:0:0:0\r");
}

TEST(TransducerData, FreshUnitAnswersWithAnErasedArea) {
    for (std::string address : {"0", "7", "255"}) {
        Transducer d({.address = address});
        EXPECT_FALSE(d.dataWritten(1));
        for (int n = 1; n <= 3; ++n) {
            std::string frame = "-" + address + "-D" + std::to_string(n);
            d.receive(frame + "\n\r", t0);
            std::string reply = all(d);
            ASSERT_GE(reply.size(), 10u);
            EXPECT_EQ(reply.substr(0, frame.size()), frame);
            EXPECT_EQ(reply[9], '\xFF') << frame;  // the 10th character
            EXPECT_EQ(reply.back(), '\r');
            EXPECT_EQ(std::count(reply.begin(), reply.end(), '\r'), 1);
            EXPECT_EQ(reply.find(':'), std::string::npos);
        }
    }
}

TEST(TransducerMeasured, OneLinePerRequestCycleStartsWithFormFeed) {
    Transducer d({});
    d.receive("-0-M S,FF,E,U1,I2,F\n\r", t0);
    all(d);
    std::vector<std::string> lines;
    for (int k = 0; k < 5; ++k) {
        d.receive("\n\r-0-r\n\r", t0);
        lines.push_back(all(d));
    }
    EXPECT_EQ(lines[0], "\x0C\r");
    EXPECT_EQ(lines[4], "\x0C\r");
    // Value in columns 1..7 with a decimal point, unit from column 9, group tag.
    const std::string& u = lines[1];
    EXPECT_EQ(u.back(), '\r');
    EXPECT_NE(u.substr(0, 7).find('.'), std::string::npos);
    EXPECT_EQ(u[7], ' ');
    EXPECT_EQ(u[8], 'V');
    EXPECT_NE(u.find("U1"), std::string::npos);
    EXPECT_NE(u.find("/U"), std::string::npos);
    EXPECT_NE(lines[2].find("/I"), std::string::npos);
    EXPECT_EQ(lines[3].substr(8, 2), "Hz");
    // No value line contains a second CR or an LF (one line per request).
    for (const auto& l : lines) EXPECT_EQ(l.find_first_of("\n"), std::string::npos);
}

TEST(TransducerRobustness, EndlessLineNoiseIsDroppedAndTheUnitStillAnswers) {
    Transducer d({});
    d.receive(std::string(10000, 'x'), t0);
    d.receive("\n\r-0-t\n\r", t0);
    EXPECT_EQ(all(d), "-0-t\r");
    d.receive("----\n\r-\n\r--\n\r-0\n\r", t0);
    EXPECT_EQ(all(d), "");
}

TEST(TransducerRobustness, RandomBytesNeverStopTheUnitFromAnswering) {
    Transducer d({});
    std::uint32_t x = 12345;  // a fixed linear congruential sequence: repeatable
    const std::string alphabet = "-0*?D123,:tSMAB \n\r\xFF";
    std::string noise;
    for (int k = 0; k < 200000; ++k) {
        x = x * 1664525u + 1013904223u;
        noise.push_back(alphabet[(x >> 24) % alphabet.size()]);
    }
    d.receive(noise, t0);
    all(d);
    d.receive("\n\r-" + d.options().address + "-t\n\r", t0);
    std::string reply = all(d);
    EXPECT_EQ(reply, "-" + d.options().address + "-t\r");
}

}  // namespace
}  // namespace kalvo::sim
