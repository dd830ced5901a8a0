// Hardware identification: the wake-up sequence, the hardware query "-*?" and its reply.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "link/link.h"
#include "link/outcome.h"
#include "text/language.h"
#include "text/reasons.h"

namespace kalvo {

inline constexpr Millis kWartezeit{2000};
inline constexpr int kQueryPasses = 150;
inline constexpr Millis kQueryPassPause{12};
inline constexpr std::string_view kMarker = "Ana.:  ";

// The reason a sequence gives when the 150 passes of the hardware query brought nothing but
// line ends and late echoes of earlier frames: the device did not answer at all, which is a
// link failure. A reply that came whole but holds no usable description is a bad reply
// instead.
inline constexpr Text kNoHardwareReply = kReasonNoHardwareReply;

// Wake-up frames: a lone CR and twice LF CR "-" addr "-t" LF CR. crFirst chooses the order
// (identification and read-back send the CR first, programming last).
bool sendWakeFrames(Link& link, std::string_view address, bool crFirst);

struct HardwareQuery {
    std::string text;       // the reply without CR, LF and TAB (UTF-8)
    bool answered = false;  // it holds more than late echoes of frames sent before the query
    bool cutOff = false;    // input was still waiting after the last pass
};

// Flushes what is waiting, sends "-" addr "-*?" LF CR, pauses 2000 ms, then reads in exactly
// 150 passes of 12 ms, at most one character each, dropping CR, LF and TAB. Characters not
// read in the 150 passes stay in the link's buffer. nullopt when the port could not be opened
// or was lost, or the sequence was cancelled (link.cancelled() tells).
std::optional<HardwareQuery> queryHardware(Link& link, std::string_view address);

struct HardwareInfo {
    int analog = 0;
    int binary = 0;
    double voltage = 0;
    double current = 0;
};

struct HardwareParse {
    std::optional<HardwareInfo> info;
    Wording reason;  // why the reply is unusable
};

// Parses the filtered reply (UTF-8; positions count characters): fields behind the last
// marker at p..p+1, p+11..p+12 (rounded to a whole number), p+69..p+71 and p+93..p+95 (p the
// marker's last character, 1-based) by the leading-number parse. A reply without the marker,
// shorter than p+95 characters, or with a variant no TXR 3.0 has (analog 1..4, binary 1..13,
// classes above 0) gives no info and a reason; an earlier marker position is never reused.
HardwareParse parseHardwareReply(std::string_view filtered);

// Output counts of list entry 1..12 ({0, 0} for 0 and outside).
std::pair<int, int> variantCounts(int listIndex);

struct HardwareAnswer {
    Outcome outcome = Outcome::LinkFailure;
    HardwareInfo info;  // when Ok
    Wording reason;     // when not
};

// The hardware query and its parse, as every sequence judges them. Ok with the fields;
// LinkFailure when the port failed, no reply came (kNoHardwareReply), or an unusable reply
// was still arriving when the passes ended (a unit too slow for the query's time);
// BadReply for a reply that came whole and is unusable; Cancelled.
HardwareAnswer askHardware(Link& link, std::string_view address);

struct Identification {
    Outcome outcome = Outcome::LinkFailure;
    HardwareInfo info;
    Wording reason;
    std::string portError;  // the system's reason when the port failed (Link::portError)
};

// The automatic detection: wake-up (CR first), pause 2000 ms, flush, link test "-t" through
// seriell, hardware query and parse (askHardware). LinkFailure when the port fails, the link
// test gets no matching echo or the query no reply in its time, BadReply (with reason) for a
// hardware reply that came but is unusable, Cancelled when the user stopped it.
Identification Hardware_erkennung(Link& link, std::string_view address);

}  // namespace kalvo
