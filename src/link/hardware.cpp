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

std::optional<std::string> queryHardware(Link& link, std::string_view address) {
    if (!link.ensureOpen()) return std::nullopt;
    std::string query = frameText(address, "-*?");
    query += LF;
    query += CR;
    if (!link.send(query)) return std::nullopt;
    link.pause(kWartezeit);

    // The whole reply must arrive within these passes; whatever comes later stays unread.
    std::string reply;
    for (int pass = 0; pass < kQueryPasses; ++pass) {
        if (link.cancelled()) return std::nullopt;
        link.pause(kQueryPassPause);
        if (!link.port().isOpen()) return std::nullopt;
        auto c = link.readByteNow();
        if (link.lost() || link.cancelled()) return std::nullopt;
        if (c && *c != CR && *c != LF && *c != '\t') reply += *c;
    }
    return fromCp1252(reply);
}

HardwareParse parseHardwareReply(std::string_view filtered) {
    // Positions count characters of the reply as the device sent them (one byte each).
    const std::string text = toCp1252(filtered);
    const std::size_t found = text.rfind(kMarker);
    if (found == std::string::npos) return {std::nullopt, "no \"Ana.:  \" in the hardware reply"};

    // p is the 1-based position of the marker's last character; as a 0-based index into the
    // text, the field at p + k starts at found + 6 + k.
    const std::size_t p0 = found + kMarker.size() - 1;
    if (text.size() < p0 + kCurrentAt + kCurrentLen)
        return {std::nullopt, "hardware reply too short"};

    auto field = [&](std::size_t at, std::size_t len) {
        return leadingNumber(std::string_view(text).substr(p0 + at, len));
    };
    const double analog = field(kAnalogAt, kAnalogLen);
    const double binary = roundHalfEven(field(kBinaryAt, kBinaryLen));
    const double voltage = field(kVoltageAt, kVoltageLen);
    const double current = field(kCurrentAt, kCurrentLen);

    if (auto bad = checkVariant(analog, binary, voltage, current)) return {std::nullopt, *bad};

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

Identification Hardware_erkennung(Link& link, std::string_view address) {
    link.stage(Stage::Hardware);
    Identification id;
    auto failed = [&](std::string reason) {
        id.outcome = link.cancelled() ? Outcome::Cancelled : Outcome::LinkFailure;
        id.reason = std::move(reason);
        if (link.lost()) id.portError = link.portError();
        return id;
    };

    if (!sendWakeFrames(link, address, true)) return failed("port not available");
    link.pause(kWartezeit);
    link.flushInput();
    if (link.lost() || link.cancelled()) return failed("port not available");

    const Transaction test = seriell(link, frameText(address, "-t"), 0);
    if (!test.Befehl_ok) return failed("no answer to the link test");

    const auto reply = queryHardware(link, address);
    if (!reply) return failed("port lost during the hardware query");
    if (reply->empty()) return failed(std::string(kNoHardwareReply));

    HardwareParse parsed = parseHardwareReply(*reply);
    if (!parsed.info) {
        id.outcome = Outcome::BadReply;
        id.reason = std::move(parsed.reason);
        return id;
    }
    id.outcome = Outcome::Ok;
    id.info = *parsed.info;
    return id;
}

}  // namespace kalvo
