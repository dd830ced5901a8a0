// `kalvo-cli check` and the checks before `kalvo-cli program`: the lines, where they go, and
// the exit codes. Programming runs against the simulated transducer in virtual time.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "files/project_file.h"
#include "shell/cli.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"
#include "support/fakes.h"
#include "support/record_builder.h"
#include "support/scratch_dir.h"

namespace kalvo {
namespace {

class CliCheck : public ::testing::Test {
  protected:
    int run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        CliEnvironment env;
        env.openPath = [](const std::string&) -> std::unique_ptr<SerialPort> { return nullptr; };
        env.simulator = [this]() -> std::unique_ptr<SerialPort> {
            ++connections;
            return std::make_unique<sim::SimulatedPort>(transducer, clock);
        };
        env.clock = &clock;
        env.decimal = decimal;
        env.out = &out;
        env.err = &err;
        return runCli(args, env);
    }

    // Saves `record` in the test's scratch folder.
    std::string save(const Record& record, const std::string& name) const {
        const std::string path = scratch.file(name);
        EXPECT_EQ(Projekt_speichern(record, path, ','), FileError::None);
        return path;
    }

    // A project for the simulator's 2A/5D 120 V / 1.2 A unit with two faults: analog output 2
    // ends above its 60 V default range, binary output 1 watches a current of 2 A where 1.44 A
    // is the most.
    static Record faulty() {
        return test::RecordBuilder()
            .analog(1, Analog::RangeEnd, 70)
            .binary(0, Binary::Mode, 2, Binary::Quantity, 1, Binary::Unit, "A", Binary::Limit, 2);
    }

    test::ScratchDir scratch;
    test::FakeClock clock;
    sim::Transducer transducer{sim::Options{}};
    std::ostringstream out, err;
    int connections = 0;
    char decimal = ',';
};

TEST_F(CliCheck, OneLinePerFaultInTheChosenLanguage) {
    const std::string file = save(faulty(), "faulty.cfg");
    EXPECT_EQ(run({"check", file}), kExitBadInput);
    EXPECT_EQ(out.str(),
              "Analogausgang 2\t3\tMeßbereich: Ende über dem Maximum, erlaubt 0,0 ... 60,0 V\n"
              "Binärausgang 1\t6\tGrenzwert: erlaubt 0,0 ... 1,44 A\n");
    EXPECT_EQ(err.str(), "");
    decimal = '.';
    EXPECT_EQ(run({"check", "--lang", "en", file}), kExitBadInput);
    EXPECT_EQ(out.str(),
              "Analog output 2\t3\tMeasuring range: end above the maximum, allowed 0.0 ... 60.0 V\n"
              "Binary output 1\t6\tLimit value: allowed 0.0 ... 1.44 A\n");
    EXPECT_EQ(run({"--lang", "en", "check", file}), kExitBadInput);  // the global option too
    EXPECT_EQ(out.str().substr(0, 16), "Analog output 2\t");
}

// Faults refuse programming, with or without --strict; --force sends and only warns.
TEST_F(CliCheck, ProgramRefusesAFaultyFileUnlessForced) {
    const std::string file = save(faulty(), "faulty.cfg");
    EXPECT_EQ(run({"--simulator", "program", "--strict", file}), kExitBadInput);
    EXPECT_EQ(run({"--simulator", "--lang", "en", "program", file}), kExitBadInput);
    EXPECT_EQ(connections, 0);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
              "kalvo-cli: error: Analog output 2\t3\tMeasuring range: end above the maximum, "
              "allowed 0,0 ... 60,0 V\n"
              "kalvo-cli: error: Binary output 1\t6\tLimit value: allowed 0,0 ... 1,44 A\n"
              "kalvo-cli: not programmed (--force programs anyway)\n");

    EXPECT_EQ(run({"--simulator", "program", "--force", file}), kExitOk) << err.str();
    EXPECT_NE(out.str().find("Programmierung erfolgreich abgeschlossen!"), std::string::npos);
    EXPECT_EQ(err.str(),
              "kalvo-cli: Warnung: Analogausgang 2\t3\tMeßbereich: Ende über dem Maximum, "
              "erlaubt 0,0 ... 60,0 V\n"
              "kalvo-cli: Warnung: Binärausgang 1\t6\tGrenzwert: erlaubt 0,0 ... 1,44 A\n");

    // A clean file programs as it always did.
    EXPECT_EQ(run({"--simulator", "program", save(test::RecordBuilder(), "clean.cfg"), "--strict"}),
              kExitOk)
        << err.str();
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(connections, 2);
}

// A code the device does not define is a fault of its page and is never sent, not even
// forced; a unit outside its quantity's list is a fault that --force may send.
TEST_F(CliCheck, CodesTheDeviceLacksAreNeverSent) {
    const std::string file = save(test::RecordBuilder().connection("7"), "type7.cfg");
    EXPECT_EQ(run({"check", file}), kExitBadInput);
    EXPECT_EQ(out.str(), "Grundeinstellungen\t1\tAnschlussart 7 gibt es nicht\n");
    EXPECT_EQ(run({"--simulator", "program", "--force", file}), kExitBadInput);
    EXPECT_EQ(connections, 0);
    EXPECT_NE(err.str().find("Die Konfiguration kann nicht programmiert werden: Anschlussart 7 "
                             "gibt es nicht (Grundeinstellungen)."),
              std::string::npos)
        << err.str();

    const std::string unit =
        save(test::RecordBuilder().analog(0, Analog::RangeUnit, "kX"), "unit.cfg");
    EXPECT_EQ(run({"--lang", "en", "check", unit}), kExitBadInput);
    EXPECT_EQ(out.str(),
              "Analog output 1\t3\tUnit \"kX\" does not fit the quantity, allowed \"V\", \"kV\", "
              "\"MV\", \"GV\"\n");
    EXPECT_EQ(run({"--simulator", "program", "--force", unit}), kExitOk) << err.str();
}

}  // namespace
}  // namespace kalvo
