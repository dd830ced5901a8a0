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
// cut, not rounded, two digits after it; a one-character text is left as it is.
// 0,5 -> 0.5, 12,3456 -> 12.34, 0,005 -> 0.00.
std::string Zahl_anhaengen(const Cell& value, char decimal);

// The commands after the address ("-S 4U,1,1,50", "-M A1,...", "-M B1,on", "-M S,FF,E,U1",
// "-D1,:0:50:..."), in sending order, for a record (its counts decide how many outputs).
std::vector<std::string> programmingCommands(const Record& record, char decimal);

// Step 7 of the run: does the device's hardware fit the record? Empty when it fits, else a
// short English reason.
std::string checkHardwareFits(const Record& record, const HardwareInfo& hw);

struct ProgramResult {
    Outcome outcome = Outcome::LinkFailure;
    HardwareInfo hardware;  // what the device reported (valid once the query passed)
    std::string reason;
};

// The whole run: wake-up, hardware query and checks, then "-t" and every command through
// seriell with echo comparison. Stops at the first failure. Does not touch the record; the
// caller applies the hardware classes on success.
ProgramResult programTransducer(Link& link, const Record& record, const std::string& address,
                                char decimal);

}  // namespace kalvo
