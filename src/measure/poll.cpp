#include "measure/poll.h"

#include <algorithm>
#include <vector>

#include "measure/measured_line.h"
#include "text/cp1252.h"
#include "text/messages.h"
#include "text/reasons.h"

namespace kalvo {

namespace {

// How long the poll lets a reply that has begun gather before it looks again: about nine
// characters at 19200 baud. Short against a cancel slice, long against a character.
constexpr Millis kGather{5};
constexpr Millis kAfterNap{1};  // two characters
// The replies of a cycle come in the same order every cycle, each about as long as the one at
// its place in the cycle before. The poll sleeps through the reply it expects (request to CR)
// and finds it whole on waking: one wake-up a line instead of one for the first character and
// one every few after it. The forecast is tuned by what it finds: a reply found whole moves
// the next wake-up a little sooner, one not yet whole a little later, so it settles just
// after the CR. A reply later than forecast is gathered as without one.
class ReplyForecast {
  public:
    using Duration = TimePoint::duration;

    // How long to sleep after the request; zero when nothing is known for this place.
    Duration nap() const {
        if (!marked_ || place() >= expected_.size()) return Duration::zero();
        return std::min<Duration>(expected_[place()], Link::kCancelSlice);
    }
    // A reply came `took` after its request; `whole`: complete at the first look after a nap.
    void replied(bool marker, Duration took, bool napped, bool whole) {
        if (marker) {
            if (marked_) length_ = count_;
            marked_ = true;
            count_ = 0;
        }
        if (!marked_ || place() >= kPlaces) return;
        if (expected_.size() <= place()) expected_.resize(place() + 1);
        Duration& e = expected_[place()];
        if (!napped) {
            e = took;
        } else if (whole) {
            e = std::max(Duration::zero(), e - kSooner);
        } else {
            e = std::min(took, e + kLater);
        }
        ++count_;
    }

  private:
    // The place of the next reply in the cycle: after the last line of a cycle of known
    // length comes the marker of the next.
    std::size_t place() const { return length_ != 0 && count_ >= length_ ? 0 : count_; }

    static constexpr std::size_t kPlaces = 64;  // of a cycle, remembered
    static constexpr Duration kSooner = std::chrono::microseconds(100);
    static constexpr Duration kLater = std::chrono::microseconds(1000);
    std::vector<Duration> expected_;  // by place in the cycle (0 = the marker)
    bool marked_ = false;             // a marker came: places are known
    std::size_t count_ = 0;           // replies since the marker, the marker included
    std::size_t length_ = 0;          // of the last complete cycle; 0 until one was seen
};

PollResult ended(Outcome outcome, Wording reason, long long lines) {
    return {outcome, std::move(reason), lines};
}

std::string seconds(Millis d) {
    const long long ms = d.count();
    std::string s = std::to_string(ms / 1000);
    if (ms % 1000 != 0) {
        std::string frac = std::to_string(1000 + ms % 1000).substr(1);
        while (frac.back() == '0') frac.pop_back();
        s += "." + frac;
    }
    return s + " s";
}

}  // namespace

std::string Sendetext(std::string_view address) {
    std::string frame;
    frame += LF;
    frame += CR;
    frame += frameText(address, "-r");
    frame += LF;
    frame += CR;
    return frame;
}

PollResult Messwerte_abfragen(Link& link, std::string_view address, const PollOptions& options,
                              const MeasuredLineSink& sink) {
    link.stage(Stage::Measuring);
    long long lines = 0;
    if (!link.ensureOpen()) return ended(Outcome::LinkFailure, kReasonCannotOpenPort, lines);
    link.flushInput();

    const std::string request = Sendetext(address);
    Clock& clock = link.clock();
    TimePoint lastLine = clock.now();
    std::string line;
    line.reserve(64);
    ReplyForecast forecast;

    for (;;) {
        if (link.cancelled()) return ended(Outcome::Cancelled, {}, lines);
        if (!link.send(request)) {
            // A port that watches the cancel flag may refuse to finish a write on a stop.
            if (link.cancelled()) return ended(Outcome::Cancelled, {}, lines);
            return ended(Outcome::LinkFailure, kReasonPortFailedSending, lines);
        }
        const TimePoint sent = clock.now();
        const bool napped = forecast.nap() > ReplyForecast::Duration::zero();
        if (napped) {
            TimePoint wake = sent + forecast.nap();
            if (options.noLineLimit) wake = std::min(wake, lastLine + *options.noLineLimit);
            clock.sleepUntil(wake);
        }
        line.clear();
        bool started = false;  // the reply's first byte has come
        int looks = 0;         // times the port was asked for more of this reply
        for (;;) {
            if (link.cancelled()) return ended(Outcome::Cancelled, {}, lines);
            const TimePoint now = clock.now();
            TimePoint until = now + Link::kCancelSlice;
            if (options.noLineLimit) {
                const TimePoint limit = lastLine + *options.noLineLimit;
                if (now >= limit) {
                    return ended(Outcome::LinkFailure,
                                 fillIn(kReasonNoMeasuredValue, seconds(*options.noLineLimit)),
                                 lines);
                }
                until = std::min(until, limit);
            }
            // A reply trickles in at one character every 0.57 ms; waking up for each would
            // cost more than all the rest of the poll. Once it has begun and what came is
            // read, let a few more characters arrive before looking again.
            if (link.buffered() == 0) {
                ++looks;
                // After a nap the reply is nearly whole: look again soon.
                if (started)
                    clock.sleepUntil(std::min(now + (napped ? kAfterNap : kGather), until));
            }
            const std::optional<char> c = link.readByte(until);
            if (!c) {
                if (link.lost()) return ended(Outcome::LinkFailure, kReasonPortLost, lines);
                continue;
            }
            started = true;
            if (*c == CR) break;
            if (line.size() < kMaxMeasuredLine) line.push_back(*c);
        }
        lastLine = clock.now();
        ++lines;
        forecast.replied(isCycleMarker(line), lastLine - sent, napped, looks == 1);
        const std::string utf8 = fromCp1252(line);
        link.measuredLine(utf8);
        if (sink && !sink(utf8)) return ended(Outcome::Ok, {}, lines);
    }
}

}  // namespace kalvo
