// The simulated port over a virtual clock, and one device sequence run against it.
#include "sim/simulated_port.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <tuple>
#include <vector>

#include "config/param_flow.h"
#include "config/record.h"
#include "device/programming.h"
#include "device/readback.h"
#include "link/hardware.h"
#include "link/link.h"
#include "support/fakes.h"

namespace kalvo::sim {
namespace {

using namespace std::chrono_literals;
using test::FakeClock;

TEST(SimulatedPort, WaitingSleepsInVirtualTimeUntilTheReplyOrTheDeadline) {
    // Without a cancel flag the wait sleeps in one go, with one in slices: same outcome.
    for (bool withCancel : {false, true}) {
        SCOPED_TRACE(withCancel ? "with cancel flag" : "without cancel flag");
        FakeClock clock;
        Transducer device({.replyDelay = Millis{310}});
        std::atomic<bool> cancel{false};
        SimulatedPort port(device, clock, withCancel ? &cancel : nullptr);
        ASSERT_TRUE(port.open());
        ASSERT_TRUE(port.write("-0-t\n\r"));
        EXPECT_EQ(port.readAvailable(), "");
        EXPECT_EQ(port.waitForData(clock.now() + 10s), WaitResult::DataReady);
        EXPECT_EQ(clock.elapsedMs(), 310);
        EXPECT_EQ(port.readAvailable(), "-0-t\r");
        // Nothing due: the wait ends exactly at the deadline.
        device.options().silent = true;
        port.write("-0-t\n\r");
        EXPECT_EQ(port.waitForData(clock.now() + 10s), WaitResult::TimedOut);
        EXPECT_EQ(clock.elapsedMs(), 10310);
        if (withCancel) {  // a cancel ends a wait within its 50 ms check
            cancel = true;
            EXPECT_EQ(port.waitForData(clock.now() + 10s), WaitResult::Cancelled);
            EXPECT_LE(clock.elapsedMs(), 10360);
        }
    }
}

// A unit that is not fresh holds the demo configuration: it is identified, reads back, passes
// every page check of the parameter dialog in both languages and separators, is exactly what
// programming would store for the record read, and programs back into the unit; one unit at a
// three-digit address (its longer echo still leaves the hardware reply whole), the last with the
// wire's time per character.
TEST(SimulatedPort, TheDemoConfigurationReadsBackCleanAndProgramsBack) {
    const struct {
        int analog, binary;
        double voltage, current;
        const char* address;
    } units[] = {
        {2, 5, 120, 1.2, "0"}, {1, 1, 600, 5, "255"}, {3, 5, 600, 1.2, "0"}, {4, 9, 100, 1, "0"}};
    for (const auto& u : units) {
        SCOPED_TRACE(::testing::Message() << u.analog << "A/" << u.binary << "D " << u.voltage);
        FakeClock clock;
        Transducer device({.analog = u.analog,
                           .binary = u.binary,
                           .voltage = u.voltage,
                           .current = u.current,
                           .address = u.address,
                           .wireTime = u.analog == 4});
        SimulatedPort port(device, clock);
        Link link(port, clock);

        const Identification id = Hardware_erkennung(link, u.address);
        ASSERT_EQ(id.outcome, Outcome::Ok) << id.reason.english;
        EXPECT_EQ(id.info.binary, u.binary);
        const ReadBackResult read = readTransducer(link, startRecord(), u.address);
        ASSERT_EQ(read.outcome, Outcome::Ok) << read.reason.english;
        const Record& r = read.record;
        EXPECT_EQ(std::tuple(r.Anzahl_Analog, r.Anzahl_Binaer, r.Max_Spannung, r.Max_Strom),
                  std::tuple(u.analog, u.binary, u.voltage, u.current));
        EXPECT_EQ(faultLines(r, Language::German, ','), std::vector<std::string>{});
        EXPECT_EQ(faultLines(r, Language::English, '.'), std::vector<std::string>{});
        const std::vector<std::string> copies = {
            "-D1," + device.dataCopy(1), "-D2," + device.dataCopy(2), "-D3," + device.dataCopy(3)};
        for (const char decimal : {',', '.'}) {
            const std::vector<std::string> c = programmingCommands(r, decimal);
            EXPECT_EQ(std::vector<std::string>(c.end() - 3, c.end()), copies) << decimal;
        }
        const ProgramResult programmed = programTransducer(link, r, u.address, ',');
        EXPECT_EQ(programmed.outcome, Outcome::Ok) << programmed.reason.english;
    }
}

}  // namespace
}  // namespace kalvo::sim
