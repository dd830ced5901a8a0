// kalvo-cli: the device sequences and file handling for scripts and production lines.
//
//   kalvo-cli [--port PATH | --simulator [--fresh]] [--address N] [--lang de|en] [--verbose]
//             [--transcript FILE] COMMAND ...
//     --port PATH             the serial port's device path, or tcp://HOST:PORT for a
//                             serial device server on the network (a gateway in TCP server
//                             mode); a gateway that cannot be reached, a faulty tcp:// text
//                             and a connection that breaks are link failures (exit 2)
//     --address N             the unit's address: a whole number 0..32 in digits (default 0)
//     --transcript FILE       appends the device job's time-stamped transcript to FILE (one
//                             line per event: UTC time, TAB, start|stage|send|recv|pause|log|
//                             end, TAB, text); a FILE that cannot be opened is exit 5 before
//                             anything is sent. Commands that do not talk to the unit write
//                             nothing to it
//     --simulator             the built-in simulated TXR 3.0: a programmed 2A/5D, 120 V / 1.2 A
//                             unit holding a demo configuration; with --fresh a unit that
//                             was never programmed
//     transact TEXT...        one exchange of "-" + address + TEXT; prints the log lines
//     identify                automatic hardware detection; prints analog=, binary=,
//                             voltage=, current= (numbers with a point)
//     program [--force] [--backup DIR] [--verify] [--addresses LIST] FILE.cfg
//                             programs the transducer from a project file; prints the log.
//                             The parameter dialog's checks run first: their faults go to
//                             stderr and nothing is sent (exit 5); with --force they are
//                             warnings and programming goes on (--strict: the default). A
//                             record that cannot be sent at all never is (exit 5).
//                             --backup DIR saves the unit's configuration in DIR before the
//                             first change (a folder that cannot be written: exit 5, nothing
//                             sent); --verify reads the device copy back and compares it
//                             (differences as page TAB parameter TAB sent TAB stored in the
//                             log, exit 6); --addresses LIST (1,3-5; 0..32, no address twice;
//                             not together with --address)
//                             programs each unit in turn, goes on after a failure and ends
//                             with "address TAB ok|failed TAB message" per unit; the exit
//                             code is the first failure's
//     read [--output FILE]    reads the stored configuration; prints it, or saves it
//     show FILE.cfg           prints a project file's configuration
//     set-address [--verify] OLD NEW
//                             sends "-" + OLD + "-*" + NEW (each a whole number 0..32,
//                             "07" is 7; anything else is a usage error and sends nothing);
//                             with --verify then a link test "-t" at NEW. Prints the log
//                             lines. Exit 2 when the port fails or the test gets no echo.
//     send TEXT...            sends TEXT + LF + CR exactly as given (no address added, no
//                             reply awaited); prints it. A text with a character outside
//                             Windows-1252 is refused (exit 5) and nothing is sent
//     datasheet [--lang de|en] FILE.cfg --pdf OUT.pdf
//                             writes the project's data sheet as a PDF (the names of
//                             connection type and quantities in the language); a PDF that
//                             cannot be written leaves no partial file and exits 5, and so
//                             does an OUT.pdf that is the project file itself
//     check [--lang de|en] FILE.cfg
//                             runs every page check of the parameter dialog on a project
//                             file; prints one line per fault: the page's list entry, TAB,
//                             the stop sign 1..6, TAB, the explanation with the allowed range
//                             in the user's number format. Exit 0 when clean, 5 on a fault
//     watch [--config FILE.cfg] [--lines N | --cycles N] [--csv FILE]
//                             polls the measured values: prints each line as the display
//                             rewrites it (ratios from the project file), a cycle marker
//                             as an empty line; ends after N lines or N complete cycles, or
//                             on Ctrl-C (exit 0); no line for 10 s is a link failure.
//                             --csv also records every value line as CSV, written through;
//                             an existing file is replaced only when the first row is ready
//     diff [--lang de|en] FILE.cfg [OTHER.cfg]
//                             compares FILE.cfg (left) with the unit's stored configuration,
//                             read as `read` does, or with OTHER.cfg (right); prints one line
//                             per difference: page TAB parameter TAB left TAB right, in the
//                             parameter dialog's words and the user's number format; nothing
//                             when they mean the same. Exit 0 equal, 6 different
//
// Every message on stderr is in the language of --lang (the desktop tool's by default). A
// usage error names what is wrong and points to --help.
//
// Exit codes: 0 success, 1 usage, 2 link failure (no reply, or none within the time), 3 wrong
// transducer, 4 never programmed, 5 bad input (file or reply, a fault found by check, a
// refusal of program, a text send cannot carry, a PDF over its own project), 6 differences
// found (diff).
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "config/record.h"
#include "platform/canvas.h"
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
    kExitDifferent = 6,  // diff: the configurations differ
};

// What the command line needs from the platform; the program wires Qt, tests wire fakes.
struct CliEnvironment {
    std::function<std::unique_ptr<SerialPort>(const std::string& path)> openPath;
    std::function<std::unique_ptr<SerialPort>()> simulator;
    // `--simulator --fresh`: a simulated unit that was never programmed.
    std::function<std::unique_ptr<SerialPort>()> freshSimulator;
    Clock* clock = nullptr;
    const SettingsStore* settings = nullptr;  // for the COM port when no port is named
    char decimal = '.';
    bool windows = false;
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
    PdfOutput* pdf = nullptr;   // for `datasheet`
    std::string programFolder;  // where the wiring pictures lie
    // Set by Ctrl-C: the running sequence stops at its next wait (watch then ends with 0).
    const std::atomic<bool>* interrupt = nullptr;
    // Stamps the transcript (--transcript); the system's clock when not set.
    const WallClock* wallClock = nullptr;
};

// Runs one command line (args without the program name); returns the exit code.
int runCli(const std::vector<std::string>& args, const CliEnvironment& env);

}  // namespace kalvo
