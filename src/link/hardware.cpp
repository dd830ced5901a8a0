#include "link/hardware.h"

#include <cmath>

#include "config/number_text.h"
#include "config/record.h"
#include "link/transaction.h"
#include "text/cp1252.h"

namespace kalvo {

namespace {

// The fields of the reply, as offsets from p (the marker's last character) and lengths.
constexpr std::size_t kAnalogAt = 0, kAnalogLen = 2;
constexpr std::size_t kBinaryAt = 11, kBinaryLen = 2;
constexpr std::size_t kVoltageAt = 69, kVoltageLen = 3;
constexpr std::size_t kCurrentAt = 93, kCurrentLen = 3;

// Whole numbers the way the device's counts are meant: halves go to the even neighbour.
double roundHalfEven(double v) {
    double r = std::round(v);
    if (std::fabs(v - std::trunc(v)) == 0.5) r = 2.0 * std::round(v / 2.0);
    return r;
}

}  // namespace

bool sendWakeFrames(Link& link, std::string_view address, bool crFirst) {
    if (!link.ensureOpen()) return false;
    const std::string lone(1, CR);
    std::string test;
    test += LF;
    test += CR;
    test += frameText(address, "-t");
    test += LF;
    test += CR;
    if (crFirst && !link.send(lone)) return false;
    if (!link.send(test) || !link.send(test)) return false;
    if (!crFirst && !link.send(lone)) return false;
    return true;
}

std::optional<HardwareQuery> queryHardware(Link& link, std::string_view address) {
    if (!link.ensureOpen()) return std::nullopt;
    const std::string frame = frameText(address, "-*?");
    // Only what answers this query counts: a line that is the text of an earlier frame is a
    // slow device's late echo of it.
    const auto sentBefore = [&](std::string_view line) {
        return line != frame && link.sentEarlier(line);
    };
    link.flushInput();
    if (link.lost() || link.cancelled()) return std::nullopt;
    if (!link.send(frame + LF + CR)) return std::nullopt;
    link.pause(kWartezeit);

    // The whole reply must arrive within these passes; whatever comes later stays unread.
    std::string reply;
    std::string line;              // the line being read, as sent
    std::size_t answered = 0;      // characters of the reply outside late echoes
    std::size_t lineAnswered = 0;  // characters of the line being read
    for (int pass = 0; pass < kQueryPasses; ++pass) {
        if (link.cancelled()) return std::nullopt;
        link.pause(kQueryPassPause);
        if (!link.port().isOpen()) return std::nullopt;
        auto c = link.readByteNow();
        if (link.lost() || link.cancelled()) return std::nullopt;
        if (!c) continue;
        if (*c == CR || *c == LF) {
            if (!sentBefore(line)) answered += lineAnswered;
            line.clear();
            lineAnswered = 0;
            continue;
        }
        line += *c;
        if (*c == '\t') continue;
        reply += *c;
        ++lineAnswered;
    }
    if (!sentBefore(line)) answered += lineAnswered;
    HardwareQuery q;
    q.text = fromCp1252(reply);
    q.answered = answered > 0;
    q.cutOff = link.inputWaiting();
    return q;
}

HardwareParse parseHardwareReply(std::string_view filtered) {
    // Positions count characters of the reply as the device sent them (one byte each).
    const std::string text = toCp1252(filtered);
    const std::size_t found = text.rfind(kMarker);
    if (found == std::string::npos) return {std::nullopt, kReasonNoMarker};

    // p is the 1-based position of the marker's last character; as a 0-based index into the
    // text, the field at p + k starts at found + 6 + k.
    const std::size_t p0 = found + kMarker.size() - 1;
    if (text.size() < p0 + kCurrentAt + kCurrentLen) return {std::nullopt, kReasonHardwareTooShort};

    auto field = [&](std::size_t at, std::size_t len) {
        return leadingNumber(std::string_view(text).substr(p0 + at, len));
    };
    const double analog = field(kAnalogAt, kAnalogLen);
    const double binary = roundHalfEven(field(kBinaryAt, kBinaryLen));
    const double voltage = field(kVoltageAt, kVoltageLen);
    const double current = field(kCurrentAt, kCurrentLen);

    if (auto bad = checkVariant(analog, binary, voltage, current)) {
        return {std::nullopt, Wording(kReasonHardwareReply) + *bad};
    }

    HardwareInfo info;
    info.analog = static_cast<int>(analog);
    info.binary = static_cast<int>(binary);
    info.voltage = voltage;
    info.current = current;
    return {info, {}};
}

std::pair<int, int> variantCounts(int listIndex) {
    if (listIndex < 1 || listIndex > 12) return {0, 0};
    static constexpr int kBinary[] = {1, 5, 9};
    return {(listIndex - 1) % 4 + 1, kBinary[(listIndex - 1) / 4]};
}

HardwareAnswer askHardware(Link& link, std::string_view address) {
    HardwareAnswer a;
    const std::optional<HardwareQuery> reply = queryHardware(link, address);
    if (!reply) {
        a.outcome = link.cancelled() ? Outcome::Cancelled : Outcome::LinkFailure;
        a.reason = kReasonPortLostInQuery;
        return a;
    }
    if (!reply->answered) {
        a.reason = kNoHardwareReply;
        return a;
    }
    HardwareParse parsed = parseHardwareReply(reply->text);
    if (parsed.info) {
        a.outcome = Outcome::Ok;
        a.info = *parsed.info;
    } else if (reply->cutOff) {
        // The reply was still coming when its time was up: the unit is too slow for the
        // query, not confused.
        a.reason = kReasonHardwareReplyLate;
    } else {
        a.outcome = Outcome::BadReply;
        a.reason = std::move(parsed.reason);
    }
    return a;
}

Identification Hardware_erkennung(Link& link, std::string_view address) {
    link.stage(Stage::Hardware);
    Identification id;
    auto failed = [&](Wording reason) {
        id.outcome = link.cancelled() ? Outcome::Cancelled : Outcome::LinkFailure;
        id.reason = std::move(reason);
        if (link.lost()) id.portError = link.portError();
        return id;
    };

    link.step({Step::Kind::WakeUp});
    if (!sendWakeFrames(link, address, true)) return failed(kReasonPortUnavailable);
    link.pause(kWartezeit);
    link.flushInput();
    if (link.lost() || link.cancelled()) return failed(kReasonPortUnavailable);

    link.step({Step::Kind::LinkTest});
    const Transaction test = seriell(link, frameText(address, "-t"), 0);
    if (!test.Befehl_ok) return failed(kReasonNoLinkTestEcho);

    link.step({Step::Kind::HardwareQuery});
    HardwareAnswer answer = askHardware(link, address);
    if (answer.outcome != Outcome::Ok && answer.outcome != Outcome::BadReply) {
        return failed(std::move(answer.reason));
    }
    id.outcome = answer.outcome;
    id.info = answer.info;
    id.reason = std::move(answer.reason);
    return id;
}

}  // namespace kalvo
