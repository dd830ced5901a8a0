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
};

// Fills a copy of `current` from the three data replies (each without its closing CR/LF;
// Windows-1252 decoded to UTF-8 already). All or nothing: a reply with fewer fields than its
// counts need, or counts no TXR 3.0 has, gives BadReply and no record.
ReadBackResult parseDataReplies(const Record& current, std::string_view d1, std::string_view d2,
                                std::string_view d3);

// True when the "-D1" reply marks an erased data area (byte 255 as its 10th character).
bool neverProgrammed(std::string_view d1Raw);

// The whole read-back: wake-up, "-t", "-D1", "-D2", "-D3", then the hardware query for the
// classes. Returns the new record only on complete success.
ReadBackResult readTransducer(Link& link, const Record& current, const std::string& address);

}  // namespace kalvo
