// How fast a running device sequence ends when the user closes the window: the time from the
// cancel request to the sequence's return, in real time, against the simulated transducer on
// the system clock. Two moments: inside programming's 2000 ms pause after the wake-up, and
// inside the 10 s wait for a silent device's echo. Median of five each; target 100 ms.
//
//   bench_cancel
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "device/programming.h"
#include "device/readback.h"
#include "link/link.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"

using namespace kalvo;
using Seconds = std::chrono::duration<double>;

namespace {

// Runs `sequence` on a thread of its own, cancels it after `after`, and returns how long it
// took to return from the cancel on.
double latency(sim::Options options, std::chrono::milliseconds after,
               const std::function<void(Link&)>& sequence) {
    SystemClock clock;
    sim::Transducer device(options);
    std::atomic<bool> cancel{false};
    sim::SimulatedPort port(device, clock, &cancel);
    Link link(port, clock, nullptr, &cancel);
    std::chrono::steady_clock::time_point ended;
    std::thread runner([&] {
        sequence(link);
        ended = std::chrono::steady_clock::now();
    });
    std::this_thread::sleep_for(after);
    const auto asked = std::chrono::steady_clock::now();
    cancel = true;
    runner.join();
    return Seconds(ended - asked).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    const Record record = newProject(2, 5, 120, 1.2);
    const auto program = [&](Link& link) { programTransducer(link, record, "0", '.'); };
    const auto read = [](Link& link) { readTransducer(link, startRecord(), "0"); };
    sim::Options silent;
    silent.silent = true;

    std::vector<double> inPause, inWait;
    for (int run = 0; run < 5; ++run) {
        inPause.push_back(latency({}, std::chrono::milliseconds(700 + 97 * run), program));
        inWait.push_back(latency(silent, std::chrono::milliseconds(2700 + 97 * run), read));
    }
    std::printf("cancel during programming's 2000 ms pause: median %.1f ms (max %.1f ms)\n",
                median(inPause) * 1e3, *std::max_element(inPause.begin(), inPause.end()) * 1e3);
    std::printf("cancel during a silent device's echo wait: median %.1f ms (max %.1f ms)\n",
                median(inWait) * 1e3, *std::max_element(inWait.begin(), inWait.end()) * 1e3);
    std::printf("target: 100 ms\n");
    return 0;
}
