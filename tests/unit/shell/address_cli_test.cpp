// kalvo-cli set-address and send: the bytes they put on the wire, exit codes, the link test
// against the simulated transducer in virtual time.
#include <gtest/gtest.h>

#include <sstream>

#include "shell/cli.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"
#include "support/fakes.h"

namespace kalvo {
namespace {

using test::FakeClock;
using test::ScriptedPort;

class AddressCli : public ::testing::Test {
  protected:
    // Runs a command line on a scripted port that keeps every byte written (and answers
    // nothing), or on the simulator.
    int run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        wire.clear();
        opened = false;
        CliEnvironment env;
        env.openPath = [this](const std::string&) -> std::unique_ptr<SerialPort> {
            opened = true;
            auto port = std::make_unique<ScriptedPort>(clock);
            port->onWrite = [this](ScriptedPort&, std::string_view bytes) { wire += bytes; };
            return port;
        };
        env.simulator = [this]() -> std::unique_ptr<SerialPort> {
            return std::make_unique<sim::SimulatedPort>(transducer, clock);
        };
        env.clock = &clock;
        env.out = &out;
        env.err = &err;
        return runCli(args, env);
    }

    FakeClock clock;
    sim::Transducer transducer{sim::Options{}};
    std::ostringstream out, err;
    std::string wire;
    bool opened = false;
};

// An address is a whole number 0..32 in digits; the message says so and nothing is sent.
TEST_F(AddressCli, BadAddressesSendNothing) {
    const std::vector<std::vector<std::string>> addresses = {
        {"set-address", "33", "5"},
        {"set-address", "5", "a"},
        {"set-address", "", "5"},
        {"--address"},
    };
    for (auto line : addresses) {
        line.insert(line.begin(), {"--port", "p"});
        EXPECT_EQ(run(line), kExitUsage) << ::testing::PrintToString(line);
        EXPECT_NE(err.str().find("0 bis 32"), std::string::npos) << err.str();
        EXPECT_FALSE(opened);
    }
    // In the language asked for, also when --lang comes after the fault.
    EXPECT_EQ(run({"--address", "x", "--lang", "en", "send", "x"}), kExitUsage);
    EXPECT_EQ(err.str(),
              "kalvo-cli: --address takes a whole number from 0 to 32, not \"x\"\n"
              "\"kalvo-cli --help\" lists every command and option.\n");
}

TEST_F(AddressCli, SetAddressSendsTheCheckedFrameOnly) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--port", "p", "set-address", "07", "32"}, "-7-*32\n\r"},
        {{"--port", "p", "--address", "9", "set-address", "32", "0"}, "-32-*0\n\r"},
    };
    for (const auto& [args, bytes] : cases) {
        EXPECT_EQ(run(args), kExitOk) << err.str();
        EXPECT_EQ(wire, bytes);
        // The frame is printed like a command; nothing is awaited from the silent port.
        EXPECT_EQ(out.str(), bytes.substr(0, bytes.size() - 2) + "\n");
        EXPECT_EQ(clock.elapsedMs(), 0);
    }
}

// A verified change moves the simulated unit; a failed link test is a link failure.
TEST_F(AddressCli, VerifiedChangeMovesTheSimulatedUnit) {
    EXPECT_EQ(run({"--simulator", "set-address", "--verify", "0", "5"}), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "-0-*5\n-5-t\n-5-t  OK\n");
    EXPECT_EQ(transducer.options().address, "5");
    EXPECT_EQ(run({"--simulator", "--address", "0", "transact", "-t"}), kExitLink);

    EXPECT_EQ(run({"--simulator", "set-address", "0", "7", "--verify"}), kExitLink);
    EXPECT_NE(err.str().find("Überprüfen Sie die Datenverbindung"), std::string::npos);
    EXPECT_EQ(transducer.options().address, "5");
}

TEST_F(AddressCli, SendPutsTheTextOnTheWireAsGiven) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--port", "p", "--address", "5", "send", "-0-t"}, "-0-t\n\r"},  // no address added
        {{"--port", "p", "send", "-0-S", "4U,1"}, "-0-S 4U,1\n\r"},
        {{"--port", "p", "send", "-0-x\xC2\xB0"}, "-0-x\xB0\n\r"},
    };
    for (const auto& [args, bytes] : cases) {
        EXPECT_EQ(run(args), kExitOk) << ::testing::PrintToString(args);
        EXPECT_EQ(wire, bytes);
        EXPECT_EQ(clock.elapsedMs(), 0);
    }
    EXPECT_EQ(out.str(), "-0-x\xC2\xB0\n");
    // A character the line cannot carry would go out as "?": nothing is sent.
    EXPECT_EQ(run({"--port", "p", "send", "-0-S 4U", "\xCE\xA9"}), kExitBadInput);
    EXPECT_FALSE(opened);
    EXPECT_NE(err.str().find("Windows-1252): \xCE\xA9."), std::string::npos) << err.str();
}

}  // namespace
}  // namespace kalvo
