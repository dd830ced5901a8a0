// kalvo-cli: the device sequences and file handling for scripts and production lines.
//
//   kalvo-cli [--port PATH | --simulator] [--address N] [--lang de|en] [--verbose] COMMAND ...
//     transact TEXT...        one exchange of "-" + address + TEXT; prints the log lines
//     identify                automatic hardware detection; prints analog=, binary=,
//                             voltage=, current= (numbers with a point)
//     program FILE.cfg        programs the transducer from a project file; prints the log
//     read [--output FILE]    reads the stored configuration; prints it, or saves it
//     show FILE.cfg           prints a project file's configuration
//     watch [--config FILE.cfg] [--lines N | --cycles N] [--csv FILE]
//                             polls the measured values: prints each line as the display
//                             rewrites it (ratios from the project file), a cycle marker
//                             as an empty line; ends after N lines or N complete cycles, or
//                             on Ctrl-C (exit 0); no line for 10 s is a link failure.
//                             --csv also records every value line as CSV, written through
//
// Exit codes: 0 success, 1 usage, 2 link failure, 3 wrong transducer, 4 never programmed,
// 5 bad input (file or reply).
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "config/record.h"
#include "platform/clock.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"

namespace kalvo {

enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 1,
    kExitLink = 2,
    kExitWrongTransducer = 3,
    kExitNeverProgrammed = 4,
    kExitBadInput = 5,
};

// What the command line needs from the platform; the program wires Qt, tests wire fakes.
struct CliEnvironment {
    std::function<std::unique_ptr<SerialPort>(const std::string& path)> openPath;
    std::function<std::unique_ptr<SerialPort>()> simulator;
    Clock* clock = nullptr;
    const SettingsStore* settings = nullptr;  // for the COM port when no port is named
    char decimal = '.';
    bool windows = false;
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
    // Set by Ctrl-C: the running sequence stops at its next wait (watch then ends with 0).
    const std::atomic<bool>* interrupt = nullptr;
};

// Runs one command line (args without the program name); returns the exit code.
int runCli(const std::vector<std::string>& args, const CliEnvironment& env);

}  // namespace kalvo
