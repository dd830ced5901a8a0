// Reading the configuration stored in a transducer (the copy written by "-D1," "-D2," "-D3,").
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/record.h"
#include "link/hardware.h"
#include "link/link.h"
#include "link/outcome.h"
#include "text/language.h"

namespace kalvo {

struct ReadBackResult {
    Outcome outcome = Outcome::LinkFailure;
    Record record;  // the complete new record; only meaningful when outcome is Ok
    Wording reason;
    std::string portError;  // the system's reason when the port failed (Link::portError)
};

// The read takes the three data replies one by one, each before the next is asked for. Each
// step fills its cells of `record` from one reply (without its closing CR/LF; Windows-1252
// decoded to UTF-8 already) and returns nullopt, or says why the reply cannot be used: then
// the read ends there and the caller discards the record. Whatever precedes the first colon
// of a reply is skipped; the fields are the texts between colons, and the end of a reply
// closes its last field. Cells keep the texts found.
// "-D1": Grundwerte 0..7, the analog and binary counts (1..4 and 1..13: other counts are no
// TXR 3.0's), then the 37 interface digits (a missing or non-digit character counts 0).
std::optional<Wording> fillFromD1(Record& record, std::string_view reply);
// "-D2": 13 fields for each of record.Anzahl_Analog analog outputs.
std::optional<Wording> fillFromD2(Record& record, std::string_view reply);
// "-D3": 6 fields for each of record.Anzahl_Binaer binary outputs.
std::optional<Wording> fillFromD3(Record& record, std::string_view reply);

// The three steps on a copy of `current`. All or nothing: the first unusable reply gives
// BadReply and no record. The hardware classes are left as they are.
ReadBackResult parseDataReplies(const Record& current, std::string_view d1, std::string_view d2,
                                std::string_view d3);

// True when the "-D1" reply (UTF-8, as the transaction returns it) marks an erased data area:
// its 10th character is byte 255 on the wire, 'ÿ' (U+00FF) once decoded.
bool neverProgrammed(std::string_view d1Reply);

// The data requests alone, on a unit that has passed its link test: "-D1", "-D2", "-D3", each
// reply logged (without its closing character, followed by ":") and taken before the next
// request, into a copy of `current` (its classes kept). Outcomes: Ok; LinkFailure;
// NeverProgrammed (nothing more is asked for); BadReply; Cancelled.
ReadBackResult requestDataCopy(Link& link, const Record& current, const std::string& address);

// The whole read-back: wake-up, "-t", then "-D1", "-D2", "-D3", each reply logged (without
// its closing character, followed by ":") and taken before the next request, then the
// hardware query for the classes. Returns the new record (with Max_Spannung, Max_Strom from
// the device) only on complete success; on any failure the caller applies nothing.
// Outcomes: Ok; LinkFailure (also when the hardware query gets no reply at all);
// NeverProgrammed; BadReply (a data reply or the hardware reply unusable: nothing more is
// asked for); Cancelled.
ReadBackResult readTransducer(Link& link, const Record& current, const std::string& address);

}  // namespace kalvo
