// What a backup before and a verify after add to programming a 4A/9D unit: the protocol's own
// time in virtual time against the simulated transducer with wire time, and the wall time of
// `kalvo-cli program` with and without --backup / --verify against `txr-sim --wire-time`.
//
//   bench_safety [--sim PATH] [--cli PATH]
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "device/programming.h"
#include "files/project_file.h"
#include "link/link.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"

using namespace kalvo;

namespace {

struct Variant {
    const char* name;
    bool backup;
    bool verify;
};
constexpr Variant kVariants[] = {
    {"plain", false, false},
    {"--backup", true, false},
    {"--verify", false, true},
    {"--backup --verify", true, true},
};

// The run's protocol time in seconds, or a negative number when it failed.
double virtualSeconds(const Record& record, const Variant& v, const std::string& folder) {
    bench::VirtualClock clock;
    sim::Transducer device(
        {.analog = 4, .binary = 9, .voltage = 600, .current = 5, .wireTime = true});
    sim::SimulatedPort port(device, clock);
    Link link(port, clock);
    SafetyNet net;
    net.verify = v.verify;
    if (v.backup) net.backupFolder = folder;
    const ProgramResult r = programTransducer(link, record, "0", '.', net);
    return r.outcome == Outcome::Ok ? clock.seconds() : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string build = bench::buildDir();
    const std::string simPath =
        bench::option(argc, argv, "--sim", "KALVO_TXR_SIM", build + "/txr-sim");
    const std::string cliPath =
        bench::option(argc, argv, "--cli", "KALVO_CLI", build + "/kalvo-cli");

    std::error_code ec;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kalvo-bench-safety-" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::create_directories(dir, ec);
    const std::string backups = (dir / "backups").string();
    const Record record = bench::record4A9D();

    std::vector<double> floor;
    for (const Variant& v : kVariants) {
        floor.push_back(virtualSeconds(record, v, backups));
        if (floor.back() < 0) {
            std::printf("the virtual run %s failed; no figures\n", v.name);
            return 1;
        }
    }
    std::printf("4A/9D programming, protocol time with wire time:\n");
    for (std::size_t i = 0; i < floor.size(); ++i) {
        std::printf("  %-18s %7.3f s  (+%.3f s)\n", kVariants[i].name, floor[i],
                    floor[i] - floor[0]);
    }

    if (access(simPath.c_str(), X_OK) != 0 || access(cliPath.c_str(), X_OK) != 0) {
        std::printf("kalvo-cli or txr-sim not built (%s, %s): wall figures skipped\n",
                    cliPath.c_str(), simPath.c_str());
        std::filesystem::remove_all(dir, ec);
        return 0;
    }
    const std::string cfg = (dir / "bench4a9d.cfg").string();
    if (Projekt_speichern(record, cfg, '.') != FileError::None) {
        std::printf("cannot write %s\n", cfg.c_str());
        return 1;
    }
    std::printf("kalvo-cli program against txr-sim --wire-time, wall time:\n");
    double plainWall = 0;
    int status = 0;
    for (const Variant& v : kVariants) {
        test::BackgroundChild sim;
        auto port = sim.start({simPath, "--variant", "4A/9D", "--class", "600/5", "--wire-time"});
        if (!port) {
            std::printf("txr-sim did not start\n");
            return 1;
        }
        std::vector<std::string> args{cliPath, "--port", *port, "program"};
        if (v.backup) args.insert(args.end(), {"--backup", backups});
        if (v.verify) args.push_back("--verify");
        args.push_back(cfg);
        const test::ChildResult r = test::runChild(args, std::chrono::seconds(120));
        sim.stop();
        if (r.exitCode != 0) {
            std::printf("  %-18s failed (exit %d):\n%s%s", v.name, r.exitCode, r.out.c_str(),
                        r.err.c_str());
            status = 1;
            continue;
        }
        if (!v.backup && !v.verify) plainWall = r.wallSeconds;
        std::printf("  %-18s %7.3f s  (+%.3f s)\n", v.name, r.wallSeconds,
                    r.wallSeconds - plainWall);
    }
    std::filesystem::remove_all(dir, ec);
    return status;
}
