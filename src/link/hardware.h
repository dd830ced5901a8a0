// Hardware identification: the wake-up sequence, the hardware query "-*?" and its reply.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "link/link.h"
#include "link/outcome.h"

namespace kalvo {

inline constexpr Millis kWartezeit{2000};
inline constexpr int kQueryPasses = 150;
inline constexpr Millis kQueryPassPause{12};
inline constexpr std::string_view kMarker = "Ana.:  ";

// The reason a sequence gives when the 150 passes of the hardware query brought nothing but
// line ends: the device did not answer at all, which is a link failure. A reply that came
// but holds no usable description is a bad reply instead. (Line ends do not count as a
// reply: the link test's echo leaves its LF behind, and a silent device would otherwise
// seem to have answered with it.)
inline constexpr std::string_view kNoHardwareReply = "no reply to the hardware query";

// Wake-up frames: a lone CR and twice LF CR "-" addr "-t" LF CR. crFirst chooses the order
// (identification and read-back send the CR first, programming last).
bool sendWakeFrames(Link& link, std::string_view address, bool crFirst);

// Sends "-" addr "-*?" LF CR, pauses 2000 ms, then reads in exactly 150 passes of 12 ms, at
// most one character each, dropping CR, LF and TAB; returns the text as UTF-8. Characters
// not read in the 150 passes stay in the link's buffer. nullopt when the port could not be
// opened or was lost, or the sequence was cancelled (link.cancelled() tells).
std::optional<std::string> queryHardware(Link& link, std::string_view address);

struct HardwareInfo {
    int analog = 0;
    int binary = 0;
    double voltage = 0;
    double current = 0;
};

struct HardwareParse {
    std::optional<HardwareInfo> info;
    std::string reason;  // why the reply is unusable (English, for logs and the CLI)
};

// Parses the filtered reply (UTF-8; positions count characters): fields behind the last
// marker at p..p+1, p+11..p+12 (rounded to a whole number), p+69..p+71 and p+93..p+95 (p the
// marker's last character, 1-based) by the leading-number parse. A reply without the marker,
// shorter than p+95 characters, or with a variant no TXR 3.0 has (analog 1..4, binary 1..13,
// classes above 0) gives no info and a reason; an earlier marker position is never reused.
HardwareParse parseHardwareReply(std::string_view filtered);

// Output counts of list entry 1..12 ({0, 0} for 0 and outside).
std::pair<int, int> variantCounts(int listIndex);

struct Identification {
    Outcome outcome = Outcome::LinkFailure;
    HardwareInfo info;
    std::string reason;
    std::string portError;  // the system's reason when the port failed (Link::portError)
};

// The automatic detection: wake-up (CR first), pause 2000 ms, flush, link test "-t" through
// seriell, hardware query and parse. LinkFailure when the port fails, the link test gets
// no matching echo or the query no reply at all (reason kNoHardwareReply), BadReply (with
// reason) for a hardware reply that came but is unusable, Cancelled when the user stopped it.
Identification Hardware_erkennung(Link& link, std::string_view address);

}  // namespace kalvo
