// Programming a transducer from the record, and the text rules of its commands.
#pragma once

#include <string>
#include <vector>

#include "config/cell.h"
#include "config/record.h"
#include "link/hardware.h"
#include "link/link.h"
#include "link/outcome.h"

namespace kalvo {

// Number to device text: the record text (regional separator) with ',' turned into '.' and
// cut, not rounded, two digits after it; a one-character text is left as it is, and so is a
// text without a comma. 0,5 -> 0.5, 12,3456 -> 12.34, 0,005 -> 0.00.
std::string Zahl_anhaengen(const Cell& value, char decimal);

// The commands after the address ("-S 4U,1,1,50", "-M A1,...", "-M B1,on", "-M S,FF,E,U1",
// "-D1,:0:50:..."), in sending order, for a record (its counts decide how many outputs).
// The link test "-t" that precedes them is not part of the list.
std::vector<std::string> programmingCommands(const Record& record, char decimal);

// Whether the record can be turned into commands at all: output counts of a TXR 3.0 variant
// and, where a transformer is used, a non-zero finite ratio. Empty when it can, else a short
// English reason.
std::string checkRecordSendable(const Record& record);

// Does the device's hardware fit the record? Output counts must be equal, the voltage class
// must cover the nominal voltage (line-to-line for four-wire and single-phase connection,
// where the record holds the phase voltage), the current class the nominal current. Empty
// when it fits, else a short English reason.
std::string checkHardwareFits(const Record& record, const HardwareInfo& hw);

struct ProgramResult {
    Outcome outcome = Outcome::LinkFailure;
    HardwareInfo hardware;  // what the device reported (valid once the query passed)
    std::string reason;
    // The record holds no configuration yet (no connection type): nothing was sent, the
    // outcome is Ok, and the caller shows nothing (no success message either).
    bool nothingToDo = false;
};

// The whole run: wake-up, hardware query and checks, then "-t" and every command through
// seriell with echo comparison. Stops at the first failure. Does not touch the record; the
// caller applies the hardware classes (Max_Spannung, Max_Strom) on Ok.
// Outcomes: Ok; LinkFailure (port, echo or time-out); BadReply (hardware reply unusable);
// WrongTransducer (the device does not fit the record, or the record cannot be sent at all:
// nothing but the wake-up and the query went out, or nothing at all); Cancelled.
ProgramResult programTransducer(Link& link, const Record& record, const std::string& address,
                                char decimal);

}  // namespace kalvo
