// Programming a 4A/9D record: wall time of `kalvo-cli program` against `txr-sim --wire-time`
// as a ratio to the protocol's floor.
//
// The floor is the same run in virtual time against the simulated transducer with wire time:
// every pause, and every character's 11 bits at 19200 baud where the next step has to wait
// for it, with no overhead at all. A second, looser figure adds the wire time of every byte
// both ways to the sum of the pauses (characters sent during a pause counted again).
//
//   bench_program [--sim PATH] [--cli PATH]
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "device/programming.h"
#include "files/project_file.h"
#include "link/link.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"

using namespace kalvo;

namespace {

// Counts the bytes that pass a port both ways.
class CountingPort final : public SerialPort {
  public:
    explicit CountingPort(SerialPort& inner) : inner_(inner) {}
    bool open() override { return inner_.open(); }
    bool isOpen() const override { return inner_.isOpen(); }
    void close() override { inner_.close(); }
    bool write(std::string_view bytes) override {
        sent += bytes.size();
        return inner_.write(bytes);
    }
    std::string readAvailable() override {
        std::string s = inner_.readAvailable();
        received += s.size();
        return s;
    }
    WaitResult waitForData(TimePoint deadline) override { return inner_.waitForData(deadline); }

    std::size_t sent = 0;
    std::size_t received = 0;

  private:
    SerialPort& inner_;
};

struct VirtualRun {
    Outcome outcome = Outcome::LinkFailure;
    double seconds = 0;
    std::size_t sent = 0;
    std::size_t received = 0;
};

VirtualRun runVirtual(const Record& record, bool wireTime) {
    bench::VirtualClock clock;
    sim::Transducer device(
        {.analog = 4, .binary = 9, .voltage = 600, .current = 5, .wireTime = wireTime});
    sim::SimulatedPort simPort(device, clock);
    CountingPort port(simPort);
    Link link(port, clock);
    ProgramResult r = programTransducer(link, record, "0", '.');
    return {r.outcome, clock.seconds(), port.sent, port.received};
}

}  // namespace

int main(int argc, char** argv) {
    const std::string build = bench::buildDir();
    const std::string simPath =
        bench::option(argc, argv, "--sim", "KALVO_TXR_SIM", build + "/txr-sim");
    const std::string cliPath =
        bench::option(argc, argv, "--cli", "KALVO_CLI", build + "/kalvo-cli");

    const Record record = bench::record4A9D();
    const VirtualRun floor = runVirtual(record, true);
    const VirtualRun pauses = runVirtual(record, false);
    if (floor.outcome != Outcome::Ok || pauses.outcome != Outcome::Ok) {
        std::printf("the virtual programming run failed; no figures\n");
        return 1;
    }
    const double charTime = std::chrono::duration<double>(sim::kCharTime).count();
    const double looseFloor = pauses.seconds + (floor.sent + floor.received) * charTime;
    std::printf(
        "4A/9D programming, protocol floor: %.3f s (pauses %.3f s, %zu bytes out, "
        "%zu bytes in; pauses + all bytes' wire time %.3f s)\n",
        floor.seconds, pauses.seconds, floor.sent, floor.received, looseFloor);

    if (access(simPath.c_str(), X_OK) != 0 || access(cliPath.c_str(), X_OK) != 0) {
        std::printf("kalvo-cli or txr-sim not built (%s, %s): wall figure skipped\n",
                    cliPath.c_str(), simPath.c_str());
        return 0;
    }

    std::error_code ec;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kalvo-bench-" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::create_directories(dir, ec);
    const std::string cfg = (dir / "bench4a9d.cfg").string();
    if (Projekt_speichern(record, cfg, '.') != FileError::None) {
        std::printf("cannot write %s\n", cfg.c_str());
        return 1;
    }

    test::BackgroundChild sim;
    auto port = sim.start({simPath, "--variant", "4A/9D", "--class", "600/5", "--wire-time"});
    if (!port) {
        std::printf("txr-sim did not start\n");
        return 1;
    }
    test::ChildResult r =
        test::runChild({cliPath, "--port", *port, "program", cfg}, std::chrono::seconds(120));
    sim.stop();
    std::filesystem::remove_all(dir, ec);
    if (r.exitCode != 0) {
        std::printf("kalvo-cli program failed (exit %d):\n%s%s", r.exitCode, r.out.c_str(),
                    r.err.c_str());
        return 1;
    }
    std::printf("kalvo-cli program against txr-sim --wire-time: %.3f s wall, %.3f s CPU\n",
                r.wallSeconds, r.cpuSeconds);
    std::printf("ratio to the floor: %.4f (target <= 1.02); to the looser floor: %.4f\n",
                r.wallSeconds / floor.seconds, r.wallSeconds / looseFloor);
    return 0;
}
