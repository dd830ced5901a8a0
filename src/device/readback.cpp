#include "device/readback.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "config/number_text.h"
#include "link/transaction.h"
#include "text/messages.h"
#include "text/reasons.h"

namespace kalvo {

namespace {

// Walks the colon-separated fields of one data reply. The reply is closed by a colon, so
// its last field ends like the others; whatever precedes the first colon is skipped.
class FieldScanner {
  public:
    explicit FieldScanner(std::string_view reply) : data_(std::string(reply) + ":") {}

    // The next field, or nullopt when the reply holds no further field.
    std::optional<std::string> next() {
        const std::size_t colon = data_.find(':', pos_);
        if (colon == std::string::npos || colon + 1 >= data_.size()) return std::nullopt;
        const std::size_t a = colon + 1;
        const std::size_t close = data_.find(':', a);
        if (close == std::string::npos) return std::nullopt;
        pos_ = close;
        return data_.substr(a, close - a);
    }

    // The text after the colon that closed the last field.
    std::string_view rest() const {
        return std::string_view(data_).substr(std::min(pos_ + 1, data_.size()));
    }

  private:
    std::string data_;
    std::size_t pos_ = 0;  // the colon that closed the last field (0 before the first)
};

// Fills the first `count` rows of an output table from a data reply, field by field; false
// when the reply runs out of fields first.
template <std::size_t Rows, std::size_t Fields>
bool fillRows(std::array<std::array<Cell, Fields>, Rows>& table, int count,
              std::string_view reply) {
    FieldScanner scanner(reply);
    for (std::size_t j = 0; j < static_cast<std::size_t>(count) && j < Rows; ++j) {
        for (Cell& cell : table[j]) {
            auto field = scanner.next();
            if (!field) return false;
            cell = Cell(std::move(*field));
        }
    }
    return true;
}

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The UTF-8 character starting at byte i, and the byte after it.
std::pair<std::string_view, std::size_t> characterAt(std::string_view s, std::size_t i) {
    std::size_t end = i + 1;
    while (end < s.size() && isContinuation(static_cast<unsigned char>(s[end]))) ++end;
    return {s.substr(i, end - i), end};
}

ReadBackResult bad(Wording reason) {
    ReadBackResult r;
    r.outcome = Outcome::BadReply;
    r.reason = std::move(reason);
    return r;
}

// A count field: a whole number, as the device copy stores it.
std::optional<int> countOf(const std::string& field) {
    const std::optional<double> v = parseNumber(field);
    if (!v || !std::isfinite(*v) || std::fabs(*v) > 1000) return std::nullopt;
    return static_cast<int>(std::nearbyint(*v));
}

std::string withoutLineEnd(const std::string& reply) {
    if (!reply.empty() && (reply.back() == CR || reply.back() == LF)) {
        return reply.substr(0, reply.size() - 1);
    }
    return reply;
}

ReadBackResult linkFailed(const Link& link, Wording reason) {
    ReadBackResult r;
    r.outcome = link.cancelled() ? Outcome::Cancelled : Outcome::LinkFailure;
    r.reason = std::move(reason);
    if (link.lost()) r.portError = link.portError();
    return r;
}

}  // namespace

std::optional<Wording> fillFromD1(Record& record, std::string_view reply) {
    // The basic settings, the two output counts, then the interface digits.
    constexpr std::size_t kAnalogCount = Basic::Count;
    constexpr std::size_t kBinaryCount = Basic::Count + 1;
    FieldScanner scanner(reply);
    std::array<std::string, Basic::Count + 2> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        auto field = scanner.next();
        if (!field) return fillIn(kReasonD1Fields, std::to_string(i));
        fields[i] = std::move(*field);
    }
    const std::optional<int> analogCount = countOf(fields[kAnalogCount]);
    const std::optional<double> analogValue = parseNumber(fields[kAnalogCount]);
    const std::optional<int> binaryCount = countOf(fields[kBinaryCount]);
    // The analog count must be whole; the binary count is rounded like a 16-bit integer.
    if (!analogCount || !binaryCount || *analogValue != static_cast<double>(*analogCount)) {
        return kReasonD1Counts;
    }
    // The classes come from the hardware query later; only the counts are checked here.
    if (auto why = checkVariant(*analogCount, *binaryCount, 1.0, 1.0)) {
        return Wording(kReasonD1) + *why;
    }
    for (std::size_t i = 0; i < Basic::Count; ++i) record.Grundwerte[i] = Cell(fields[i]);
    record.Anzahl_Analog = *analogCount;
    record.Anzahl_Binaer = *binaryCount;

    // The interface digits follow the colon after the binary count, one character each.
    const std::string_view digits = scanner.rest();
    std::size_t at = 0;
    for (Cell& cell : record.Schnittstellenwerte) {
        int value = 0;
        if (at < digits.size()) {
            auto [ch, after] = characterAt(digits, at);
            if (ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9') value = ch[0] - '0';
            at = after;
        }
        cell = Cell(value);
    }
    return std::nullopt;
}

std::optional<Wording> fillFromD2(Record& record, std::string_view reply) {
    if (!fillRows(record.Analogwerte, record.Anzahl_Analog, reply)) {
        return fillIn(kReasonD2Short, std::to_string(record.Anzahl_Analog));
    }
    return std::nullopt;
}

std::optional<Wording> fillFromD3(Record& record, std::string_view reply) {
    if (!fillRows(record.Binaerwerte, record.Anzahl_Binaer, reply)) {
        return fillIn(kReasonD3Short, std::to_string(record.Anzahl_Binaer));
    }
    return std::nullopt;
}

ReadBackResult parseDataReplies(const Record& current, std::string_view d1, std::string_view d2,
                                std::string_view d3) {
    Record rec = current;
    for (const auto& [fill, reply] :
         {std::pair{&fillFromD1, d1}, std::pair{&fillFromD2, d2}, std::pair{&fillFromD3, d3}}) {
        if (auto why = fill(rec, reply)) return bad(std::move(*why));
    }
    ReadBackResult r;
    r.outcome = Outcome::Ok;
    r.record = std::move(rec);
    return r;
}

bool neverProgrammed(std::string_view d1Reply) {
    std::size_t at = 0;
    for (int n = 1; at < d1Reply.size(); ++n) {
        auto [ch, after] = characterAt(d1Reply, at);
        // U+00FF once decoded; a reply handed over undecoded shows the raw byte 255.
        if (n == 10) return ch == "\xC3\xBF" || ch == "\xFF";
        at = after;
    }
    return false;
}

ReadBackResult requestDataCopy(Link& link, const Record& current, const std::string& address) {
    // Each reply is taken before the next is asked for: a reply that is already unusable
    // ends the read without costing the time limits of the others.
    using Fill = std::optional<Wording> (*)(Record&, std::string_view);
    constexpr std::array<Fill, 3> kFill = {&fillFromD1, &fillFromD2, &fillFromD3};
    ReadBackResult result;
    result.record = current;
    for (std::size_t i = 0; i < kFill.size(); ++i) {
        if (link.cancelled()) return linkFailed(link, kReasonCancelled);
        const std::string command = "-D" + std::to_string(i + 1);
        const Transaction t = seriell(link, frameText(address, command), 1);
        if (t.Abbruch || t.lost || t.cancelled || t.Antwort.empty()) {
            return linkFailed(link, fillIn(kReasonNoDataReply, command));
        }
        // The log shows each reply without the character that ended it, closed by a colon
        // (as the field scan sees it); an erased "-D1" is shown before it is recognised.
        const std::string data = withoutLineEnd(t.Antwort);
        link.log(data + ":");
        if (i == 0 && neverProgrammed(t.Antwort)) {
            ReadBackResult r;
            r.outcome = Outcome::NeverProgrammed;
            r.reason = kReasonErased;
            return r;
        }
        if (auto why = kFill[i](result.record, data)) return bad(std::move(*why));
    }
    result.outcome = Outcome::Ok;
    return result;
}

ReadBackResult readTransducer(Link& link, const Record& current, const std::string& address) {
    link.stage(Stage::ReadBack);
    link.step({Step::Kind::WakeUp});
    if (!link.ensureOpen()) return linkFailed(link, kReasonCannotOpenPort);
    if (!sendWakeFrames(link, address, /*crFirst=*/true)) {
        return linkFailed(link, kReasonWakeUpFailed);
    }
    link.pause(Millis{2000});
    link.flushInput();
    if (link.cancelled()) return linkFailed(link, kReasonCancelled);

    link.step({Step::Kind::LinkTest});
    const Transaction test = seriell(link, frameText(address, "-t"), 0);
    if (!test.Befehl_ok) return linkFailed(link, kReasonNoLinkTestEcho);
    link.pause(Millis{1000});

    link.step({Step::Kind::ReadCopy});
    ReadBackResult result = requestDataCopy(link, current, address);
    if (result.outcome != Outcome::Ok) return result;

    link.stage(Stage::Hardware);
    link.step({Step::Kind::HardwareQuery});
    link.pause(kWartezeit);
    if (link.cancelled()) return linkFailed(link, kReasonCancelled);
    HardwareAnswer hardware = askHardware(link, address);
    if (hardware.outcome == Outcome::BadReply) return bad(std::move(hardware.reason));
    if (hardware.outcome != Outcome::Ok) return linkFailed(link, std::move(hardware.reason));

    result.record.Max_Spannung = hardware.info.voltage;
    result.record.Max_Strom = hardware.info.current;
    return result;
}

}  // namespace kalvo
