#include "measure/poll.h"

#include <algorithm>

#include "text/cp1252.h"
#include "text/messages.h"
#include "text/reasons.h"

namespace kalvo {

namespace {

// How long the poll lets a reply that has begun gather before it looks again: about nine
// characters at 19200 baud. Short against a cancel slice, long against a character.
constexpr Millis kGather{5};

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

    for (;;) {
        if (link.cancelled()) return ended(Outcome::Cancelled, {}, lines);
        if (!link.send(request)) {
            // A port that watches the cancel flag may refuse to finish a write on a stop.
            if (link.cancelled()) return ended(Outcome::Cancelled, {}, lines);
            return ended(Outcome::LinkFailure, kReasonPortFailedSending, lines);
        }
        line.clear();
        bool started = false;  // the reply's first byte has come
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
            if (started && link.buffered() == 0) clock.sleepUntil(std::min(now + kGather, until));
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
        const std::string utf8 = fromCp1252(line);
        link.measuredLine(utf8);
        if (sink && !sink(utf8)) return ended(Outcome::Ok, {}, lines);
    }
}

}  // namespace kalvo
