// The measured-value poll: one "-r" request per line, for as long as nobody stops it.
//
//   request  LF CR "-" address "-r" LF CR
//   reply    one line ending in CR; the first line of each cycle starts with a form feed
//
// Every line goes to the link's observer (LinkObserver::measuredLine) and to the sink, UTF-8
// and without its CR, in the order received. The poll waits on the port in slices of
// Link::kCancelSlice, so a stop is seen within that time and waiting costs no CPU.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/link.h"
#include "link/outcome.h"
#include "text/language.h"

namespace kalvo {

// The request frame, LF CR in front: with address 0 "\n\r-0-r\n\r".
std::string Sendetext(std::string_view address);

struct PollOptions {
    // Ends the poll as a link failure when no complete line arrived for this long. The window
    // waits for ever (nullopt); a script must not hang.
    std::optional<Millis> noLineLimit;
};

// Receives each line; returns false to end the poll (it then ends with Outcome::Ok).
using MeasuredLineSink = std::function<bool(const std::string& utf8)>;

struct PollResult {
    // Ok: the sink ended it; Cancelled: the link's cancel flag; LinkFailure: the port could
    // not be opened, failed or vanished, or no line came within the limit.
    Outcome outcome = Outcome::Ok;
    Wording reason;  // for a failure: why, for the command line
    long long lines = 0;
};

// A line longer than this is line noise: the rest up to its CR is dropped.
inline constexpr std::size_t kMaxMeasuredLine = 1024;

// Runs the poll on `link` (opened when closed). Input already waiting when it starts is
// dropped: it belongs to an earlier request. The port stays open afterwards.
PollResult Messwerte_abfragen(Link& link, std::string_view address, const PollOptions& options = {},
                              const MeasuredLineSink& sink = {});

}  // namespace kalvo
