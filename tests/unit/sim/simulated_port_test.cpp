// The simulated port over a virtual clock, and the device sequences run against it.
#include "sim/simulated_port.h"

#include <gtest/gtest.h>

#include <atomic>

#include "config/record.h"
#include "device/programming.h"
#include "device/readback.h"
#include "link/hardware.h"
#include "link/link.h"
#include "link/transaction.h"
#include "support/fakes.h"

namespace kalvo::sim {
namespace {

using namespace std::chrono_literals;
using test::FakeClock;

TEST(SimulatedPort, WaitSleepsExactlyUntilTheReplyIsDue) {
    FakeClock clock;
    Transducer device({.replyDelay = Millis{300}});
    SimulatedPort port(device, clock);
    ASSERT_TRUE(port.open());
    ASSERT_TRUE(port.write("-0-t\n\r"));
    EXPECT_EQ(port.readAvailable(), "");
    EXPECT_EQ(port.waitForData(clock.now() + 10s), WaitResult::DataReady);
    EXPECT_EQ(clock.elapsedMs(), 300);
    EXPECT_EQ(port.readAvailable(), "-0-t\r");
    // Already waiting data returns at once without moving the clock.
    ASSERT_TRUE(port.write("-0-t\n\r"));
    clock.advance(Millis{500});
    EXPECT_EQ(port.waitForData(clock.now() + 10s), WaitResult::DataReady);
    EXPECT_EQ(clock.elapsedMs(), 800);
}

TEST(SimulatedPort, SilentDeviceTimesOutAtTheDeadline) {
    FakeClock clock;
    Transducer device({.silent = true});
    SimulatedPort port(device, clock);
    ASSERT_TRUE(port.open());
    port.write("-0-t\n\r");
    EXPECT_EQ(port.waitForData(clock.now() + 10s), WaitResult::TimedOut);
    EXPECT_EQ(clock.elapsedMs(), 10000);
    // A deadline already passed returns at once.
    EXPECT_EQ(port.waitForData(clock.now() - 1s), WaitResult::TimedOut);
    EXPECT_EQ(clock.elapsedMs(), 10000);
}

TEST(SimulatedPort, ClosedOrUnpluggedPortReportsABrokenLink) {
    FakeClock clock;
    Transducer device({});
    SimulatedPort port(device, clock);
    EXPECT_FALSE(port.write("-0-t\n\r"));
    EXPECT_EQ(port.waitForData(clock.now() + 1s), WaitResult::Broken);
    ASSERT_TRUE(port.open());
    port.setUnplugged(true);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.write("-0-t\n\r"));
    EXPECT_EQ(port.waitForData(clock.now() + 1s), WaitResult::Broken);
    EXPECT_FALSE(port.errorText().empty());
    port.setUnplugged(false);
    EXPECT_TRUE(port.open());
}

TEST(SimulatedPort, OpeningDropsStaleOutput) {
    FakeClock clock;
    Transducer device({});
    SimulatedPort port(device, clock);
    ASSERT_TRUE(port.open());
    port.write("-0-t\n\r");
    port.close();
    ASSERT_TRUE(port.open());
    EXPECT_EQ(port.readAvailable(), "");
    EXPECT_EQ(port.waitForData(clock.now() + 1s), WaitResult::TimedOut);
}

TEST(SimulatedPort, CancelEndsAWaitEarly) {
    FakeClock clock;
    Transducer device({.silent = true});
    std::atomic<bool> cancel{true};
    SimulatedPort port(device, clock, &cancel);
    ASSERT_TRUE(port.open());
    EXPECT_EQ(port.waitForData(clock.now() + 10s), WaitResult::Cancelled);
    EXPECT_LT(clock.elapsedMs(), 100);
    cancel = false;
    EXPECT_EQ(port.waitForData(clock.now() + 10s), WaitResult::TimedOut);
    EXPECT_EQ(clock.elapsedMs(), 10000);
}

TEST(SimulatedPortTransaction, EchoAndTimeoutsAsTheTransactionSeesThem) {
    {
        FakeClock clock;
        Transducer device({});
        SimulatedPort port(device, clock);
        Link link(port, clock);
        Transaction t = seriell(link, "-0-t", 0);
        EXPECT_TRUE(t.Befehl_ok);
        EXPECT_FALSE(t.Abbruch);
        EXPECT_EQ(t.Antwort, "-0-t\r");
        EXPECT_EQ(clock.elapsedMs(), 0);
    }
    {
        FakeClock clock;
        Transducer device({.wireTime = true});
        SimulatedPort port(device, clock);
        Link link(port, clock);
        Transaction t = seriell(link, "-0-t", 0);
        EXPECT_TRUE(t.Befehl_ok);
        // 5 characters to the LF, then the 5 characters of the echo: 10 character times.
        EXPECT_EQ(clock.now() - TimePoint{}, 10 * kCharTime);
    }
    {
        FakeClock clock;
        Transducer device({.garbleEcho = true});
        SimulatedPort port(device, clock);
        Link link(port, clock);
        Transaction t = seriell(link, "-0-t", 0);
        EXPECT_FALSE(t.Befehl_ok);
        EXPECT_EQ(t.Antwort, "-0-T\r");
    }
    {
        FakeClock clock;
        Transducer device({.address = "5"});
        SimulatedPort port(device, clock);
        Link link(port, clock);
        Transaction t = seriell(link, "-0-t", 0);
        EXPECT_FALSE(t.Befehl_ok);
        EXPECT_TRUE(t.Abbruch);
        EXPECT_EQ(clock.elapsedMs(), 20000);  // two phases of 10 s
    }
}

TEST(SimulatedPortTransaction, HardwareQueryReadsTheVariantAndClass) {
    FakeClock clock;
    Transducer device({.analog = 3, .binary = 9, .voltage = 600, .current = 5, .wireTime = true});
    SimulatedPort port(device, clock);
    Link link(port, clock);
    Identification id = Hardware_erkennung(link, "0");
    ASSERT_EQ(id.outcome, Outcome::Ok) << id.reason;
    EXPECT_EQ(id.info.analog, 3);
    EXPECT_EQ(id.info.binary, 9);
    EXPECT_DOUBLE_EQ(id.info.voltage, 600);
    EXPECT_DOUBLE_EQ(id.info.current, 5);
}

// A 4A/9D record as the parameter dialog leaves it, with a few fields changed from the
// defaults so the round trip has something to carry.
Record record4A9D() {
    Record r = newProject(4, 9, 600, 5);
    r.Grundwerte[1] = Cell(60);
    r.Schnittstellenwerte[0] = Cell(1);
    r.Schnittstellenwerte[33] = Cell(1);
    return r;
}

TEST(SimulatedPortDevice, ProgrammedRecordReadsBackAndAFreshUnitIsReported) {
    FakeClock clock;
    Transducer device({.analog = 4, .binary = 9, .voltage = 600, .current = 5});
    SimulatedPort port(device, clock);
    Link link(port, clock);

    ReadBackResult fresh = readTransducer(link, startRecord(), "0");
    EXPECT_EQ(fresh.outcome, Outcome::NeverProgrammed) << fresh.reason;

    const Record record = record4A9D();
    ProgramResult programmed = programTransducer(link, record, "0", ',');
    ASSERT_EQ(programmed.outcome, Outcome::Ok) << programmed.reason;
    EXPECT_TRUE(device.dataWritten(1));
    EXPECT_TRUE(device.dataWritten(2));
    EXPECT_TRUE(device.dataWritten(3));

    ReadBackResult read = readTransducer(link, startRecord(), "0");
    ASSERT_EQ(read.outcome, Outcome::Ok) << read.reason;
    EXPECT_EQ(read.record.Anzahl_Analog, 4);
    EXPECT_EQ(read.record.Anzahl_Binaer, 9);
    EXPECT_DOUBLE_EQ(read.record.Max_Spannung, 600);
    EXPECT_DOUBLE_EQ(read.record.Max_Strom, 5);
    // Cells come back as texts; compare them through the record's conversion.
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(read.record.Grundwerte[i].toText(','), record.Grundwerte[i].toText(','))
            << "Grundwerte " << i;
    for (int j = 0; j < 4; ++j)
        for (int k = 0; k < kAnalogFields; ++k)
            EXPECT_EQ(read.record.Analogwerte[j][k].toText(','),
                      record.Analogwerte[j][k].toText(','))
                << "Analogwerte " << j << "," << k;
    for (int j = 0; j < 9; ++j)
        for (int k = 0; k < kBinaryFields; ++k)
            EXPECT_EQ(read.record.Binaerwerte[j][k].toText(','),
                      record.Binaerwerte[j][k].toText(','))
                << "Binaerwerte " << j << "," << k;
    for (int i = 0; i < kInterfaceCells; ++i)
        EXPECT_EQ(read.record.Schnittstellenwerte[i].toNumber(),
                  record.Schnittstellenwerte[i].toNumber())
            << "Schnittstellenwerte " << i;
}

TEST(SimulatedPortDevice, WrongVariantIsRefusedBeforeAnyCommand) {
    FakeClock clock;
    Transducer device({});  // 2A/5D
    SimulatedPort port(device, clock);
    Link link(port, clock);
    ProgramResult result = programTransducer(link, record4A9D(), "0", ',');
    EXPECT_EQ(result.outcome, Outcome::WrongTransducer);
    for (const auto& f : device.frames()) EXPECT_EQ(f.text.find("-M "), std::string::npos);
    EXPECT_FALSE(device.dataWritten(1));
}

}  // namespace
}  // namespace kalvo::sim
