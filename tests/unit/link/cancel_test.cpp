// A cancel ends every pause and wait of a device sequence within 100 ms, in virtual time: the
// cancel is raised when the clock reaches a moment inside a pause or a wait, and the sequence
// must have returned by that moment plus 100 ms.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "device/programming.h"
#include "device/readback.h"
#include "link/hardware.h"
#include "link/transaction.h"
#include "support/link_rig.h"

namespace kalvo::test {
namespace {

// Raises the stop flag once virtual time reaches `atMs`.
struct CancelRig : DeviceRig {
    explicit CancelRig(long long atMs) {
        port.cancel = &stop;
        clock.onSleep = [this, atMs](TimePoint) { stop = stop || clock.elapsedMs() >= atMs; };
    }
};

TEST(Cancel, EndsEveryPauseAndWaitWithinAHundredMilliseconds) {
    const Record record = newProject(2, 5, 120, 1.2);
    const auto program = [&](CancelRig& r) {
        return programTransducer(r.link, record, "0", '.').outcome == Outcome::Cancelled;
    };
    const auto silent = [](CancelRig& r) {
        r.device.answer = [](const std::string&) { return std::string(); };
        return readTransducer(r.link, startRecord(), "0").outcome == Outcome::Cancelled;
    };
    const auto longCommand = [](CancelRig& r) {
        return seriell(r.link, "-0-D2," + std::string(94, '0'), 0).cancelled;
    };
    const struct {
        const char* name;
        long long atMs;                       // a moment inside the pause or wait
        std::function<bool(CancelRig&)> run;  // true when the sequence reported the cancel
    } cases[] = {
        {"programming, 2000 ms pause after the wake-up", 1234, program},
        {"programming, the 150 reads of the hardware reply", 6500, program},
        {"programming, 2000 ms pause before the link test", 8555, program},
        {"read-back, a silent device's reply wait", 7000, silent},
        {"a long command, the pause between its two pieces", 450, longCommand},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CancelRig r(c.atMs);
        EXPECT_TRUE(c.run(r));
        EXPECT_GE(r.clock.elapsedMs(), c.atMs);
        EXPECT_LE(r.clock.elapsedMs(), c.atMs + 100);
    }
}

}  // namespace
}  // namespace kalvo::test
