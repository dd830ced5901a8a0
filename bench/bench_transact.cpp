// How much the one transaction costs:
//  1. CPU time of `kalvo-cli transact -t` against a silent txr-sim over its whole 20 s wait
//     (waiting must not spin);
//  2. the overhead of a transaction against an instantly answering device: in process (the
//     core over the simulated port and the system clock) and as a whole kalvo-cli run over a
//     pseudo-terminal.
//
//   bench_transact [--sim PATH] [--cli PATH] [--runs N]
#include <chrono>
#include <cstdio>
#include <string>

#include "bench_support.h"
#include "link/link.h"
#include "link/transaction.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"

using namespace kalvo;

int main(int argc, char** argv) {
    const std::string build = bench::buildDir();
    const std::string simPath =
        bench::option(argc, argv, "--sim", "KALVO_TXR_SIM", build + "/txr-sim");
    const std::string cliPath =
        bench::option(argc, argv, "--cli", "KALVO_CLI", build + "/kalvo-cli");
    const int runs = std::stoi(bench::option(argc, argv, "--runs", "KALVO_BENCH_RUNS", "20"));

    // In process: seriell over the simulated port with the real clock.
    {
        SystemClock clock;
        sim::Transducer device({});
        sim::SimulatedPort port(device, clock);
        Link link(port, clock);
        const int n = 20000;
        const auto start = std::chrono::steady_clock::now();
        int ok = 0;
        for (int k = 0; k < n; ++k) ok += seriell(link, "-0-t", 0).Befehl_ok ? 1 : 0;
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("transaction in process (core + simulated port): %.2f us each, %d/%d ok\n",
                    s / n * 1e6, ok, n);
    }

    if (access(simPath.c_str(), X_OK) != 0 || access(cliPath.c_str(), X_OK) != 0) {
        std::printf("kalvo-cli or txr-sim not built (%s, %s): process figures skipped\n",
                    cliPath.c_str(), simPath.c_str());
        return 0;
    }

    // Whole kalvo-cli runs against an instantly answering simulator.
    double cpuPerRun = 0;
    {
        test::BackgroundChild sim;
        auto port = sim.start({simPath});
        if (!port) {
            std::printf("txr-sim did not start\n");
            return 1;
        }
        double wall = 0, cpu = 0, best = 1e9;
        int ok = 0;
        for (int k = 0; k < runs; ++k) {
            test::ChildResult r = test::runChild({cliPath, "--port", *port, "transact", "-t"});
            ok += r.exitCode == 0 ? 1 : 0;
            wall += r.wallSeconds;
            cpu += r.cpuSeconds;
            if (r.wallSeconds < best) best = r.wallSeconds;
        }
        sim.stop();
        cpuPerRun = cpu / runs;
        std::printf(
            "kalvo-cli transact -t, answering simulator: %.1f ms wall (best %.1f ms), "
            "%.1f ms CPU per run, %d/%d exit 0 (process start included)\n",
            wall / runs * 1e3, best * 1e3, cpu / runs * 1e3, ok, runs);
    }

    // Against a silent simulator: both 10 s reply phases run out.
    {
        test::BackgroundChild sim;
        auto port = sim.start({simPath, "--silent"});
        if (!port) {
            std::printf("txr-sim did not start\n");
            return 1;
        }
        test::ChildResult r = test::runChild({cliPath, "--port", *port, "transact", "-t"});
        sim.stop();
        std::printf(
            "kalvo-cli transact -t, silent simulator: exit %d after %.2f s wall, "
            "%.3f s CPU (target < 0.05 s); txr-sim used %.3f s CPU meanwhile\n",
            r.exitCode, r.wallSeconds, r.cpuSeconds, sim.cpuSeconds());
        std::printf("  of which waiting (less an answered run's CPU): %.3f s\n",
                    r.cpuSeconds - cpuPerRun);
    }
    return 0;
}
