// Reading the configuration stored in a transducer (the copy written by "-D1," "-D2," "-D3,").
#pragma once

#include <string>
#include <string_view>

#include "config/record.h"
#include "link/hardware.h"
#include "link/link.h"
#include "link/outcome.h"

namespace kalvo {

struct ReadBackResult {
    Outcome outcome = Outcome::LinkFailure;
    Record record;  // the complete new record; only meaningful when outcome is Ok
    std::string reason;
    std::string portError;  // the system's reason when the port failed (Link::portError)
};

// Fills a copy of `current` from the three data replies (each without its closing CR/LF;
// Windows-1252 decoded to UTF-8 already). Whatever precedes the first colon of a reply is
// skipped; the fields are the texts between colons, and the end of a reply closes its last
// field. "-D1": Grundwerte 0..7, the analog and binary counts, then the 37 interface digits;
// "-D2": 13 fields per analog output; "-D3": 6 fields per binary output. Cells keep the
// texts found; the interface cells hold the value of their digit (a missing or non-digit
// character counts 0). The hardware classes are left as they are.
// All or nothing: a reply with fewer fields than its counts need, or counts no TXR 3.0 has,
// gives BadReply and no record.
ReadBackResult parseDataReplies(const Record& current, std::string_view d1, std::string_view d2,
                                std::string_view d3);

// True when the "-D1" reply (UTF-8, as the transaction returns it) marks an erased data area:
// its 10th character is byte 255 on the wire, 'ÿ' (U+00FF) once decoded.
bool neverProgrammed(std::string_view d1Reply);

// The whole read-back: wake-up, "-t", "-D1", "-D2", "-D3", then the hardware query for the
// classes. Returns the new record (with Max_Spannung, Max_Strom from the device) only on
// complete success; on any failure the caller applies nothing.
// Outcomes: Ok; LinkFailure; NeverProgrammed; BadReply (data or hardware reply unusable);
// Cancelled.
ReadBackResult readTransducer(Link& link, const Record& current, const std::string& address);

}  // namespace kalvo
