// The simulated transducer as a byte-in, byte-out model, driven directly in virtual time.
#include "sim/transducer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kalvo::sim {
namespace {

using namespace std::chrono_literals;

const TimePoint t0 = TimePoint{} + 1h;

std::string all(Transducer& d) {
    return d.takeOutput(TimePoint::max());
}

TEST(Transducer, AnswersTheFramesForItsAddress) {
    struct Case {
        Options options;
        std::vector<std::string> input;  // received one after the other, all at t0
        std::string output;
        int frames;  // -1: not checked
    };
    std::string longCommand = "-0-D2,";
    while (longCommand.size() < 130) longCommand += ":12,5";
    const std::vector<Case> cases = {
        // The wake-up's lone CR and the empty frames of its LF CR prefix are no frames.
        {{}, {"\r", "\n\r-0-t\n\r", "\n\r-0-S 4U,1,1,50\n\r"}, "-0-t\r-0-S 4U,1,1,50\r", 2},
        // CR or LF alone ends a frame too; noise before the "-" is not echoed.
        {{}, {"-0-t\r", "-0-t\n", "xy-0-t\n\r"}, "-0-t\r-0-t\r-0-t\r", 3},
        // A command arriving in pieces is one frame.
        {{},
         {longCommand.substr(0, 60), longCommand.substr(60, 60), longCommand.substr(120) + "\n\r"},
         longCommand + "\r",
         1},
        // Frames for other addresses are recorded but not answered.
        {{.address = "12"}, {"-0-t\n\r-1-t\n\r-120-t\n\r-12-t\n\r"}, "-12-t\r", 4},
        // A new address takes effect after its echo; the old one gets no answer from then on.
        {{}, {"-0-*5\n\r-0-t\n\r-5-t\n\r"}, "-0-*5\r-5-t\r", 3},
        {{}, {"-0-*07\n\r-0-t\n\r-07-t\n\r-7-t\n\r"}, "-0-*07\r-07-t\r-7-t\r", 4},
        // A change sent to another address, or without a number, leaves the address alone.
        {{}, {"-3-*5\n\r-5-t\n\r-0-*x\n\r-0-t\n\r"}, "-0-*x\r-0-t\r", 4},
        {{.silent = true}, {"-0-t\n\r-0-*?\n\r-0-D1\n\r"}, "", 3},
        {{.garbleEcho = true}, {"-0-t\n\r"}, "-0-T\r", 1},
        // Stored data copies come back behind the request's echo; storing again replaces.
        {{},
         {"-0-D1,:0:50\n\r-0-D3,:0:0\n\r-0-D1\n\r-0-D3,:1:0\n\r-0-D3\n\r"},
         "-0-D1,:0:50\r-0-D3,:0:0\r-0-D1,:0:50\r-0-D3,:1:0\r-0-D3,:1:0\r",
         5},
        // Endless line noise is dropped; frames without a command get no answer.
        {{}, {std::string(10000, 'x'), "\n\r-0-t\n\r", "----\n\r-\n\r--\n\r-0\n\r"}, "-0-t\r", -1},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        Transducer d(cases[i].options);
        for (const std::string& bytes : cases[i].input) d.receive(bytes, t0);
        EXPECT_EQ(all(d), cases[i].output);
        if (cases[i].frames >= 0) {
            EXPECT_EQ(d.frames().size(), static_cast<std::size_t>(cases[i].frames));
        }
    }
}

// (The reply delay: the simulated port's waiting test.)
TEST(Transducer, WireTime) {
    // 11 bits per character at 19200 baud, both ways.
    const auto c = kCharTime;
    Transducer d({.wireTime = true});
    d.receive("-0-t\n\r-0-t\n\r", t0);
    // The first frame ends with its LF, the 5th character; the second's LF is the 11th.
    ASSERT_EQ(d.frames().size(), 2u);
    EXPECT_EQ(d.frames()[0].at, t0 + 5 * c);
    EXPECT_EQ(d.frames()[1].at, t0 + 11 * c);
    // The first echo arrives character by character from 6c to 10c; the second starts at 12c,
    // one character after its frame is complete.
    EXPECT_EQ(d.takeOutput(t0 + 6 * c - 1ns), "");
    EXPECT_EQ(d.takeOutput(t0 + 6 * c), "-");
    EXPECT_EQ(d.takeOutput(t0 + 10 * c), "0-t\r");
    EXPECT_EQ(d.nextOutputAt(), t0 + 12 * c);
    // Bytes written while the line is still busy queue behind it.
    Transducer e({.wireTime = true});
    e.receive("-0-", t0);
    e.receive("t\n", t0 + c);
    EXPECT_EQ(e.frames().at(0).at, t0 + 5 * c);
}

TEST(Transducer, AFreshUnitAnswersWithAnErasedArea) {
    for (std::string address : {"0", "7", "255"}) {
        Transducer d({.address = address, .fresh = true});
        for (int n = 1; n <= 3; ++n) {
            const std::string frame = "-" + address + "-D" + std::to_string(n);
            d.receive(frame + "\n\r", t0);
            const std::string reply = all(d);
            SCOPED_TRACE(frame);
            ASSERT_GE(reply.size(), 10u);
            EXPECT_EQ(reply.substr(0, frame.size()), frame);
            EXPECT_EQ(reply[9], '\xFF');                              // the 10th character
            EXPECT_EQ(reply.find_first_of("\r:"), reply.size() - 1);  // one line, no fields
        }
        // A copy programmed since is answered.
        const std::string d2 = "-" + address + "-D2";
        d.receive(d2 + ",:1:2\n\r" + d2 + "\n\r", t0);
        EXPECT_EQ(all(d), d2 + ",:1:2\r" + d2 + ",:1:2\r");
    }
}

// Unless fresh, a unit starts with the demo copies, as programming would have stored them,
// and reports the demo's interface values; a copy written later replaces its demo copy. (The
// copies of the other variants read back and program back: the simulated port's test.)
TEST(Transducer, ANewUnitHoldsTheDemoConfiguration) {
    Transducer d({});
    for (int n = 1; n <= 3; ++n) d.receive("-0-D" + std::to_string(n) + "\n\r", t0);
    EXPECT_EQ(all(d),
              "-0-D1,:2:50:100:0:0:1:0:0:2:5:0001111111000000000000000000000001000\r"
              "-0-D2,:0:0:V:0:50:100:0:4:12:20:0:24:0:2:0:W:-150:0:150:1:-10:0:10:-12:12:0\r"
              "-0-D3,:2:0:0:V:80:1:2:1:0:A:1:0:2:8:0:Hz:51:0:1:0:0:0:0:0:0:0:0:0:0:0\r");

    std::vector<std::string> codes;
    for (int k = 0; k < 9; ++k) {
        d.receive("-0-r\n\r", t0);
        const std::string line = all(d);
        if (k > 0) codes.push_back(line.substr(13, line.find_first_of(" \r", 13) - 13));
    }
    EXPECT_EQ(codes, (std::vector<std::string>{"U12", "U23", "U31", "I1", "I2", "I3", "P", "F"}));

    d.receive("-0-D2,:1:2\n\r-0-D2\n\r-0-D3\n\r", t0);
    const std::string after = all(d);
    EXPECT_NE(after.find("-0-D2,:1:2\r-0-D2,:1:2\r"), std::string::npos) << after;
    EXPECT_NE(after.find("-0-D3,:2:0:0:V:80:1:"), std::string::npos) << after;
    EXPECT_EQ(d.storedData(2), ":1:2");
}

// The "-r" cycle as the display reads it, for a list as programming sends it.
std::vector<std::string> cycleOf(Transducer& d, TimePoint at, std::size_t requests) {
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < requests; ++k) {
        d.receive("\n\r-0-r\n\r", at);
        std::string line = all(d);
        EXPECT_EQ(line.find('\r'), line.size() - 1) << "one line per request";
        line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TEST(Transducer, EveryProgrammedValueHasItsLineInTheDisplaysLayout) {
    // The 37 codes of the interface cells in their order, as programming sends them.
    const std::vector<std::string> codes = {
        "U1",  "U2",  "U3",  "U12", "U23", "U31", "I1",  "I2", "I3",  "P",   "P1",  "P2",  "P3",
        "Q",   "Q1",  "Q2",  "Q3",  "S",   "S1",  "S2",  "S3", "PF",  "PF1", "PF2", "PF3", "QF",
        "QF1", "QF2", "QF3", "ph",  "ph1", "ph2", "ph3", "F",  "INP", "U",   "I"};
    // Unit and tag by code.
    auto kindOf = [](const std::string& c) -> std::pair<std::string, std::string> {
        if (c == "INP") return {"V", ""};
        if (c.rfind("PF", 0) == 0 || c.rfind("QF", 0) == 0) return {"", ""};
        if (c.rfind("ph", 0) == 0) return {"\xB0", ""};
        if (c == "F") return {"Hz", ""};
        if (c[0] == 'U') return {"V", "/U"};
        if (c[0] == 'I') return {"A", "/I"};
        if (c[0] == 'P') return {"W", "/P"};
        if (c[0] == 'Q') return {"var", "/Q"};
        return {"VA", "/S"};
    };
    struct Class {
        Options options;
        double uLN, uLL, current;  // what the class is made for: 80 % of the current class
    };
    for (const Class& cls :
         {Class{{}, 63.51, 110, 0.96}, Class{{.voltage = 600, .current = 5}, 230.94, 400, 4},
          Class{{.voltage = 100, .current = 1}, 57.735, 100, 0.8}}) {
        Transducer d(cls.options);
        std::string command = "-0-M S,FF,E";
        for (const auto& c : codes) command += "," + c;
        d.receive(command + "\n\r", t0);
        all(d);
        const auto lines = cycleOf(d, t0 + 5s, codes.size() + 1);
        for (std::size_t k = 0; k < codes.size(); ++k) {
            const std::string& line = lines[k + 1];
            const std::string& c = codes[k];
            const auto [unit, tag] = kindOf(c);
            SCOPED_TRACE(line);
            ASSERT_GE(line.size(), 13u);
            // Value right-aligned in positions 1..7 with a point, a blank, the unit from 9.
            EXPECT_EQ(line[7], ' ');
            EXPECT_NE(line.substr(0, 7).find('.'), std::string::npos);
            EXPECT_EQ(line.substr(8, unit.size()), unit);
            const std::string tail = tag.empty() ? c : c + " " + tag;
            EXPECT_EQ(line.substr(line.size() - tail.size()), tail);
            const double v = std::stod(line.substr(0, 7));
            if (tag == "/U") {
                const double nominal = c.size() == 3 ? cls.uLL : cls.uLN;
                EXPECT_NEAR(v, nominal, nominal * 0.02);
            } else if (tag == "/I") {
                EXPECT_NEAR(v, cls.current, cls.current * 0.06);
            } else if (tag == "/P" || tag == "/S" || tag == "/Q") {
                const double s = cls.uLN * cls.current * (c.size() == 1 ? 3 : 1);
                const double share = tag == "/P" ? 0.95 : tag == "/Q" ? 0.31 : 1;
                EXPECT_NEAR(v, s * share, s * share * 0.15);
            } else if (c.rfind("PF", 0) == 0) {
                EXPECT_NEAR(v, 0.95, 0.006);
            } else if (c.rfind("QF", 0) == 0) {
                EXPECT_NEAR(v, 0.31, 0.025);
            } else if (c == "F") {
                EXPECT_NEAR(v, 50, 0.03);
            }
        }
    }
}

TEST(Transducer, AnEmptyListSendsOnlyCycleMarkers) {
    Transducer d({});
    d.receive("-0-M S,FF,E\n\r", t0);
    EXPECT_EQ(all(d), "-0-M S,FF,E\r");
    EXPECT_EQ(cycleOf(d, t0, 3), std::vector<std::string>(3, "\x0C"));
}

}  // namespace
}  // namespace kalvo::sim
