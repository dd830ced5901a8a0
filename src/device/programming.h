// Programming a transducer from the record, and the text rules of its commands.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "config/cell.h"
#include "config/compare.h"
#include "config/record.h"
#include "config/rules.h"
#include "files/project_file.h"
#include "link/hardware.h"
#include "link/link.h"
#include "link/outcome.h"
#include "text/language.h"

namespace kalvo {

// Number to device text: the record text (regional separator) with ',' turned into '.' and
// cut, not rounded, two digits after it; a one-character text is left as it is, and so is a
// text without a comma. 0,5 -> 0.5, 12,3456 -> 12.34, 0,005 -> 0.00.
std::string Zahl_anhaengen(const Cell& value, char decimal);

// The commands after the address ("-S 4U,1,1,50", "-M A1,...", "-M B1,on", "-M S,FF,E,U1",
// "-D1,:0:50:..."), in sending order, for a record (its counts decide how many outputs).
// The link test "-t" that precedes them is not part of the list.
std::vector<std::string> programmingCommands(const Record& record, char decimal);

// What makes a record impossible to send at all (it cannot be turned into commands, or not
// into the commands and the device copy it means).
enum class RecordFault {
    None,
    AnalogCount,   // not 1..4 analog outputs
    BinaryCount,   // not 1..13 binary outputs
    VoltageClass,  // a voltage class of 0 or less
    CurrentClass,  // a current class of 0 or less
    VoltageRatio,  // a voltage transformer whose ratio is 0 or infinite (a value of 0)
    CurrentRatio,  // likewise for the current transformer
    Cell,          // a cell would send a code the device does not define, or its text cannot
                   // travel through a command or the device copy unchanged (see cellFaults)
};
struct RecordCheck {
    RecordFault fault = RecordFault::None;
    CellFault cell{};  // the first cell in the way, for RecordFault::Cell
    bool sendable() const { return fault == RecordFault::None; }
};
RecordCheck checkRecordSendable(const Record& record, char decimal);
// A short English description, for logs and the command line's detail line.
std::string_view describe(RecordFault fault);

// Does the device's hardware fit the record? Output counts must be equal, the voltage class
// must cover the nominal voltage (line-to-line for four-wire and single-phase connection,
// where the record holds the phase voltage), the current class the nominal current. Empty
// when it fits, else a short reason.
Wording checkHardwareFits(const Record& record, const HardwareInfo& hw);

struct ProgramResult {
    Outcome outcome = Outcome::LinkFailure;
    HardwareInfo hardware;  // what the device reported (valid once the query passed)
    Wording reason;
    RecordFault fault = RecordFault::None;  // why the record could not be sent (BadRecord)
    CellFault cell{};                       // the cell, for RecordFault::Cell
    std::string portError;  // the system's reason when the port failed (Link::portError)
    // The record holds no configuration yet (no connection type): nothing was sent, the
    // outcome is Ok, and the caller shows nothing (no success message either).
    bool nothingToDo = false;

    // The backup (SafetyNet::backupFolder): the file saved before anything changed, or the
    // one that could not be written (backupError; outcome BadRecord, nothing was sent).
    std::string backupPath;
    FileError backupError = FileError::None;
    // The unit had never been programmed: there was nothing to back up.
    bool nothingBackedUp = false;
    // Verify: how the copy read back after programming differs from the one sent (outcome
    // BadReply when there is any difference).
    std::vector<RecordDifference> differences;
};

// What a programming run does besides programming.
struct SafetyNet {
    // Not empty: before the first command that changes the unit, its stored configuration is
    // read ("-D1" "-D2" "-D3", after the hardware check and the link test the run makes
    // anyway) and saved as a project file in this folder (made when missing), see
    // writeBackup(). A folder that cannot be written stops the run before the port is touched.
    std::string backupFolder;
    // After the device copy is written, read it back and compare it with the one sent.
    bool verify = false;
    Language language = Language::German;  // of the log lines and the differences
    // The time the backup's name carries; the local time now when not set.
    std::function<std::tm()> localTime;
};

// The whole run: wake-up, hardware query and checks, then "-t" and every command through
// seriell with echo comparison. Stops at the first failure. Does not touch the record; the
// caller applies the hardware classes (Max_Spannung, Max_Strom) on Ok.
// Outcomes: Ok; BadRecord (the record cannot be sent at all: nothing went out); LinkFailure
// (port, echo or time-out, or no reply at all to the hardware query); BadReply (a hardware reply
// came but is unusable); WrongTransducer (the device does not fit the record: nothing but the
// wake-up and the query went out); Cancelled.
// With a safety net: a backup that cannot be read (LinkFailure, BadReply, Cancelled) or
// written (BadRecord with backupError) stops the run before the first changing command; a unit
// that was never programmed is noted in the log and programmed. A verify that finds
// differences ends with BadReply and the differences, one that finds an erased copy with
// NeverProgrammed.
ProgramResult programTransducer(Link& link, const Record& record, const std::string& address,
                                char decimal, const SafetyNet& net = {});

}  // namespace kalvo
