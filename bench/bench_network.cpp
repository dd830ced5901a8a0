// A serial device server on the network against the protocol's own time: `kalvo-cli program`
// of a 4A/9D unit through `txr-sim --tcp` on the loopback (and, for comparison, on a
// pseudo-terminal) against the run in virtual time with wire time; and the CPU time
// `kalvo-cli transact -t` uses while a silent unit behind a gateway is waited for (both 10 s
// reply phases), less an answered run's; and how fast a read-back waiting on a silent unit behind
// a gateway ends when cancelled (the network adapter in process; target 100 ms).
//
//   bench_network [--sim PATH] [--cli PATH]
#include <QCoreApplication>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "device/programming.h"
#include "device/readback.h"
#include "files/project_file.h"
#include "link/link.h"
#include "platform/qt/qt_tcp_port.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"

using namespace kalvo;

namespace {

// Milliseconds from the cancel request to the read-back's return, cancelled `after` into its
// wait on the silent unit behind `name`.
double cancelLatency(const std::string& name, std::chrono::milliseconds after) {
    std::atomic<bool> cancel{false};
    std::chrono::steady_clock::time_point ended;
    std::thread runner([&] {
        SystemClock clock;
        QtTcpPort port(*parseNetworkPortName(name).network, &cancel);
        Link link(port, clock, nullptr, &cancel);
        readTransducer(link, startRecord(), "0");
        ended = std::chrono::steady_clock::now();
    });
    std::this_thread::sleep_for(after);
    const auto asked = std::chrono::steady_clock::now();
    cancel = true;
    runner.join();
    return std::chrono::duration<double, std::milli>(ended - asked).count();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::string build = bench::buildDir();
    const std::string simPath =
        bench::option(argc, argv, "--sim", "KALVO_TXR_SIM", build + "/txr-sim");
    const std::string cliPath =
        bench::option(argc, argv, "--cli", "KALVO_CLI", build + "/kalvo-cli");
    const Record record = bench::record4A9D();

    bench::VirtualClock clock;
    sim::Transducer device(
        {.analog = 4, .binary = 9, .voltage = 600, .current = 5, .wireTime = true});
    sim::SimulatedPort port(device, clock);
    Link link(port, clock);
    if (programTransducer(link, record, "0", '.').outcome != Outcome::Ok) {
        std::printf("the virtual run failed; no figures\n");
        return 1;
    }
    const double floor = clock.seconds();
    std::printf("4A/9D programming, protocol time with wire time: %.3f s\n", floor);
    if (access(simPath.c_str(), X_OK) != 0 || access(cliPath.c_str(), X_OK) != 0) {
        std::printf("kalvo-cli or txr-sim not built: wall figures skipped\n");
        return 0;
    }

    std::error_code ec;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kalvo-bench-network-" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::create_directories(dir, ec);
    const std::string cfg = (dir / "bench4a9d.cfg").string();
    if (Projekt_speichern(record, cfg, '.') != FileError::None) {
        std::printf("cannot write %s\n", cfg.c_str());
        return 1;
    }
    int status = 0;
    // Runs kalvo-cli against a fresh txr-sim with `simOptions` on either line.
    const auto run = [&](bool tcp, std::vector<std::string> simOptions,
                         std::vector<std::string> command) {
        test::BackgroundChild sim;
        simOptions.insert(simOptions.begin(), simPath);
        const auto name = sim.start(test::onLine(simOptions, tcp));
        command.insert(command.begin(), {cliPath, "--port", name.value_or("")});
        const test::ChildResult r = test::runChild(command, std::chrono::seconds(120));
        sim.stop();
        if (!name || r.exitCode < 0) status = 1;
        return r;
    };
    const std::vector<std::string> unit{"--variant", "4A/9D", "--class", "600/5", "--wire-time"};
    for (const bool tcp : {false, true}) {
        const test::ChildResult r = run(tcp, unit, {"program", cfg});
        std::printf(
            "  kalvo-cli program over %s: %7.3f s wall (exit %d), %.4f of the floor "
            "(goal <= 1.01 over TCP)\n",
            tcp ? "TCP  " : "a pty", r.wallSeconds, r.exitCode, r.wallSeconds / floor);
    }

    const test::ChildResult answered = run(true, {}, {"transact", "-t"});
    const test::ChildResult silent = run(true, {"--silent"}, {"transact", "-t"});
    std::printf(
        "kalvo-cli transact -t, silent unit behind a gateway: exit %d after %.2f s wall, "
        "%.3f s CPU; waiting (less an answered run's %.3f s): %.3f s "
        "(goal < 0.05 s per 20 s)\n",
        silent.exitCode, silent.wallSeconds, silent.cpuSeconds, answered.cpuSeconds,
        silent.cpuSeconds - answered.cpuSeconds);
    test::BackgroundChild silentUnit;
    const auto name = silentUnit.start(test::onLine({simPath, "--silent"}, true));
    double worst = 0;
    for (int k = 0; k < 5 && name; ++k) {
        worst = std::max(worst, cancelLatency(*name, std::chrono::milliseconds(2700 + 97 * k)));
    }
    std::printf(
        "cancel during a silent unit's wait behind a gateway: at most %.1f ms of five "
        "(target 100 ms)\n",
        worst);
    std::filesystem::remove_all(dir, ec);
    return status;
}
