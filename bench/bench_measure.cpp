// What the live values cost:
//  1. lines per second the display model takes in (rewriting included), on one core;
//  2. the CPU share of `kalvo-cli watch` against `txr-sim --wire-time` (a real line's pace,
//     about 1745 characters a second) over 30 s: waiting for the next line must cost nothing.
//
//   bench_measure [--sim PATH] [--cli PATH] [--seconds N]
#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "measure/display.h"
#include "measure/measured_line.h"

using namespace kalvo;

int main(int argc, char** argv) {
    const std::string build = bench::buildDir();
    const std::string simPath =
        bench::option(argc, argv, "--sim", "KALVO_TXR_SIM", build + "/txr-sim");
    const std::string cliPath =
        bench::option(argc, argv, "--cli", "KALVO_CLI", build + "/kalvo-cli");
    const int seconds =
        std::stoi(bench::option(argc, argv, "--seconds", "KALVO_BENCH_SECONDS", "30"));

    // A cycle of every kind of line, with both transformers, so every rule runs.
    {
        const std::vector<std::string> cycle = {
            "\x0C",
            "  63.22 V    U1 /U",
            "  110.1 V    U12 /U",
            "  0.962 A    I1 /I",
            "  173.4 W    P /P",
            "  -56.3 var  Q /Q",
            "  182.5 VA   S /S",
            "  0.950      PF",
            "  0.312      QF",
            "  18.19 \xC2\xB0    ph1",
            "  50.01 Hz   F",
            "  4.201 V    INP",
        };
        const Transformers t{20, 0.1, 100, 1};
        MeasuredValueDisplay display;
        display.startStop();
        const long long n = 2'000'000;
        const auto start = std::chrono::steady_clock::now();
        for (long long k = 0; k < n; ++k) {
            display.lineReceived(cycle[static_cast<std::size_t>(k) % cycle.size()], t);
        }
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf(
            "display model: %.0f lines/s (target >= 100000), %.2f us a line; "
            "label 0 shows \"%s\"\n",
            n / s, s / n * 1e6, display.caption(0).c_str());
    }

    if (access(simPath.c_str(), X_OK) != 0 || access(cliPath.c_str(), X_OK) != 0) {
        std::printf("kalvo-cli or txr-sim not built (%s, %s): process figures skipped\n",
                    cliPath.c_str(), simPath.c_str());
        return 0;
    }

    // kalvo-cli watch for `seconds` against the paced simulator with twelve values selected.
    test::BackgroundChild sim;
    auto port = sim.start({simPath, "--wire-time"});
    if (!port) {
        std::printf("txr-sim did not start\n");
        return 1;
    }
    test::ChildResult set = test::runChild(
        {cliPath, "--port", *port, "transact", "-M", "S,FF,E,U1,U12,I1,P,Q,S,PF,QF,ph1,F,INP"});
    if (set.exitCode != 0) {
        std::printf("programming the interface list failed: %s\n", set.err.c_str());
        return 1;
    }
    // Ended by the time limit: the CPU figure is the child's own, taken when it is reaped.
    test::ChildResult r =
        test::runChild({cliPath, "--port", *port, "watch"}, std::chrono::seconds(seconds));
    sim.stop();
    long long lines = 0;
    std::istringstream text(r.out);
    for (std::string l; std::getline(text, l);) ++lines;
    std::printf(
        "kalvo-cli watch against txr-sim --wire-time: %lld lines in %.1f s (%.0f lines/s), "
        "%.3f s CPU = %.2f %% of one core (target < 1 %%), process start included; "
        "txr-sim used %.3f s CPU\n",
        lines, r.wallSeconds, lines / r.wallSeconds, r.cpuSeconds,
        100 * r.cpuSeconds / r.wallSeconds, sim.cpuSeconds());
    return 0;
}
