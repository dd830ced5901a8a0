// Address change, standard address and direct input: the bytes on the wire, the link test at
// the new address, and port failures, in virtual time.
#include "link/address.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/link_rig.h"

namespace kalvo::test {
namespace {

using Lines = std::vector<std::string>;

// A device on the bus: echoes every frame for its address with CR 20 ms later; a frame
// "-A-*N" gives it the address N after its echo. With `takesNewAddress` false it echoes the
// change but keeps its address (a unit that did not store it).
void busDevice(ScriptedPort& port, std::string address, bool takesNewAddress = true) {
    auto current = std::make_shared<std::string>(std::move(address));
    answerFrames(port, [current, takesNewAddress](const std::string& frame) -> std::string {
        const std::string mine = "-" + *current + "-";
        if (frame.rfind(mine, 0) != 0) return {};
        const std::string command = frame.substr(mine.size() - 1);
        if (takesNewAddress && command.rfind("-*", 0) == 0) *current = command.substr(2);
        return frame + "\r";
    });
}

TEST(AddressChange, EntriesBecomeTheFrameTheDeviceGets) {
    struct Case {
        std::string oldEntry, newEntry;
        std::string bytes;  // empty: nothing may be sent
    };
    const std::vector<Case> cases = {
        {"40", "5", "-0-*5\n\r"},  // out of range: sent as 0
        {"32", "33", "-32-*0\n\r"},
        {"-3", "07", "-0-*7\n\r"},       // no leading zeros
        {"12abc", "abc", "-12-*0\n\r"},  // leading number; letters alone are 0
        {"3,5", "3.5", "-0-*0\n\r"},     // fractions count as out of range
        {" 1 2 ", "3,0", "-12-*3\n\r"},  // blanks are ignored; 3,0 is whole
        {"99999999999999999999", "32.000001", "-0-*0\n\r"},
        {"", "5", ""},
        {"5", "", ""},
        {" ", "5", ""},  // a field with only a blank counts as empty
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("old \"" + c.oldEntry + "\", new \"" + c.newEntry + "\"");
        const auto change = addressChangeFor(c.oldEntry, c.newEntry, false);
        ASSERT_EQ(change.has_value(), !c.bytes.empty());
        if (!change) continue;
        Rig r;
        const AddressChangeResult result = changeAddress(r.link, *change);
        EXPECT_EQ(r.port.written(), c.bytes);
        EXPECT_EQ(result.outcome, Outcome::Ok);  // nothing is awaited without the test
        EXPECT_FALSE(result.verified());
        EXPECT_EQ(r.clock.elapsedMs(), 0);
    }
}

// The change 0 -> 5 with the link test at the new address, and the report it gives.
TEST(AddressChange, TheLinkTestAtTheNewAddressTellsWhetherItWorked) {
    const Lines failed = {"-0-*5", "-5-t", "abbruch", "abbruch"};
    const std::string checkLink = "Check the dataconnection and try again!";
    const struct {
        std::string device;  // the device's address before the change
        bool takesNewAddress;
        Outcome outcome;
        long long elapsedMs;
        Lines log;
        std::string report;
    } cases[] = {
        // The echo of the change (at 20 ms) is dropped; the test's own echo comes 20 ms later.
        {"0", true, Outcome::Ok, 2020, {"-0-*5", "-5-t", "-5-t  OK"}, "OK"},
        // A unit that keeps its address, or none at the old address: both limits of the test.
        {"0", false, Outcome::LinkFailure, 22000, failed, checkLink},
        {"3", true, Outcome::LinkFailure, 22000, failed, checkLink},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("device at " + c.device);
        Rig r;
        busDevice(r.port, c.device, c.takesNewAddress);
        const AddressChangeResult result = changeAddress(r.link, {0, 5, true});
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.verified(), c.outcome == Outcome::Ok);
        EXPECT_EQ(r.clock.elapsedMs(), c.elapsedMs);
        EXPECT_EQ(r.observer.lines, c.log);
        EXPECT_EQ(r.writes(), (std::vector<std::pair<long long, std::string>>{{0, "-0-*5\n\r"},
                                                                              {2000, "-5-t\n\r"}}));
        EXPECT_EQ(addressChangeReport(result, Language::English), c.report);
    }
    EXPECT_EQ(addressChangeReport({{0, 5, true}, Outcome::LinkFailure}, Language::German),
              "Überprüfen Sie die Datenverbindung und versuchen Sie es nochmals!");
    EXPECT_EQ(addressChangeReport({{0, 5, true}, Outcome::Cancelled}, Language::German), "");
}

TEST(AddressChange, PortFailuresAndCancelEndTheChange) {
    const struct {
        const char* name;
        std::function<void(Rig&)> setup;
        Outcome outcome;
        std::size_t writes;
        long long maxMs;
    } cases[] = {
        {"the port cannot be opened", [](Rig& r) { r.port.failOpen = true; }, Outcome::LinkFailure,
         0, 0},
        // The adapter goes away while the device stores its address: no test, no 20 s wait.
        {"port lost in the pause",
         [](Rig& r) {
             busDevice(r.port, "0");
             r.port.breakAfter(Millis{1000});
         },
         Outcome::LinkFailure, 1, 2000},
        {"stopped before sending", [](Rig& r) { r.stop = true; }, Outcome::Cancelled, 0, 0},
        // The pause ends within one slice; the test is not run.
        {"stopped in the pause",
         [](Rig& r) { r.port.onWrite = [&r](ScriptedPort&, std::string_view) { r.stop = true; }; },
         Outcome::Cancelled, 1, Link::kCancelSlice.count()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        c.setup(r);
        EXPECT_EQ(changeAddress(r.link, {0, 5, true}).outcome, c.outcome);
        EXPECT_EQ(r.port.writes().size(), c.writes);
        EXPECT_LE(r.clock.elapsedMs(), c.maxMs);
    }
}

TEST(StandardAddress, LeadingWholeNumberWithoutLimit) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"12", "12"},   {"12abc", "12"},    {"abc", "0"},         {"07", "7"}, {"40", "40"},
        {"255", "255"}, {"3.5", "3"},       {"3,5", "3"},         {"-4", "0"}, {" 1 2 ", "12"},
        {"0", "0"},     {"", std::nullopt}, {"  ", std::nullopt},
    };
    for (const auto& [entry, expected] : cases) {
        EXPECT_EQ(standardAddress(entry), expected) << '"' << entry << '"';
    }
}

TEST(DirectInput, TheTextGoesOutAsTypedWithLfCr) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"-0-t", "-0-t\n\r"},
        {"", "\n\r"},                                              // an empty text: LF CR alone
        {"  -0-S 4U ,1 ", "  -0-S 4U ,1 \n\r"},                    // blanks kept; no address added
        {"-0-x 20\xC2\xB0 \xE2\x82\xAC", "-0-x 20\xB0 \x80\n\r"},  // Windows-1252 on the wire
    };
    for (const auto& [text, bytes] : cases) {
        Rig r;
        EXPECT_EQ(sendDirect(r.link, text), Outcome::Ok);
        EXPECT_EQ(r.port.written(), bytes);
        EXPECT_EQ(r.observer.lines, Lines{text});
        EXPECT_EQ(r.clock.elapsedMs(), 0);  // no reply is awaited
    }
    Rig failing;
    failing.port.failOpen = true;
    EXPECT_EQ(sendDirect(failing.link, "-0-t"), Outcome::LinkFailure);
    Rig stopped;
    stopped.stop = true;
    EXPECT_EQ(sendDirect(stopped.link, "-0-t"), Outcome::Cancelled);
    EXPECT_TRUE(failing.port.writes().empty() && stopped.port.writes().empty());
}

}  // namespace
}  // namespace kalvo::test
