#include "sim/transducer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

namespace kalvo::sim {

namespace {

constexpr char LF = '\n';
constexpr char CR = '\r';

constexpr char FormFeed = '\x0C';

// A frame longer than this is line noise: it is dropped instead of growing without bound.
constexpr std::size_t kMaxFrame = 4096;

bool allDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits without leading zeros ("007" -> "7", "000" -> "0").
std::string_view withoutLeadingZeros(std::string_view s) {
    while (s.size() > 1 && s.front() == '0') s.remove_prefix(1);
    return s;
}

// A number with a decimal point and `decimals` digits after it, right-aligned in `width`.
std::string fixed(double value, int decimals, std::size_t width) {
    char buf[32];
    auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string s = ec == std::errc{} ? std::string(buf, end) : std::string("0");
    if (s.size() < width) s.insert(0, width - s.size(), ' ');
    return s;
}

// The input class as the device prints it: three characters, e.g. "120", "1.2", "  5".
std::string classText(double value) {
    bool whole = std::fabs(value - std::round(value)) < 1e-9;
    std::string s = fixed(value, whole ? 0 : 1, 3);
    if (s.size() > 3) s.resize(3);
    return s;
}

// The demo configuration's cells, field by field as the parameter dialog stores them.
constexpr std::string_view kDemoBasic = ":2:50:100:0:0:1:0:0";  // 3U, 50 Hz, 100 V, 1 A
// Interface cells U12 U23 U31 (3..5), I1 I2 I3 (6..8), P (9) and F (33).
constexpr std::string_view kDemoInterface = "0001111111000000000000000000000001000";
constexpr std::string_view kDemoAnalog[] = {
    ":0:0:V:0:50:100:0:4:12:20:0:24:0",       // U12 0..100 V, 4..20 mA
    ":2:0:W:-150:0:150:1:-10:0:10:-12:12:0",  // P -150..150 W, -10..10 V
    ":8:0:Hz:45:50:55:0:4:12:20:0:24:0",      // F 45..55 Hz, 4..20 mA
    ":0:1:V:0:50:100:0:0:10:20:0:24:0",       // U23 0..100 V, 0..20 mA
};
constexpr std::string_view kDemoBinary[] = {
    ":2:0:0:V:80:1",   // U12 below 80 V
    ":2:1:0:A:1:0",    // I1 above 1 A
    ":2:8:0:Hz:51:0",  // F above 51 Hz
    ":1:0:0:0:0:0",    // on while the device is OK
};
constexpr std::string_view kDemoBinaryOff = ":0:0:0:0:0:0";

}  // namespace

std::array<std::string, 3> demoCopies(int analog, int binary) {
    analog = std::clamp(analog, 0, 4);
    binary = std::clamp(binary, 0, 13);
    std::array<std::string, 3> copies;
    copies[0] = std::string(kDemoBasic) + ":" + std::to_string(analog) + ":" +
                std::to_string(binary) + ":" + std::string(kDemoInterface);
    for (int j = 0; j < analog; ++j) copies[1] += kDemoAnalog[j];
    for (int j = 0; j < binary; ++j) copies[2] += j < 4 ? kDemoBinary[j] : kDemoBinaryOff;
    return copies;
}

std::vector<std::string> demoInterfaceCodes() {
    return {"U12", "U23", "U31", "I1", "I2", "I3", "P", "F"};
}

Transducer::Transducer(Options options) : options_(std::move(options)) {
    if (!options_.fresh) {
        programmedAtStart_ = true;
        demo_ = demoCopies(options_.analog, options_.binary);
        interfaceList_ = demoInterfaceCodes();
        listProgrammed_ = true;
    }
}

void Transducer::receive(std::string_view bytes, TimePoint now) {
    for (char c : bytes) {
        TimePoint arrived = now;
        if (options_.wireTime) {
            arrived = std::max(now, inputFreeAt_) + kCharTime;
            inputFreeAt_ = arrived;
        }
        if (c == LF || c == CR) {
            if (!line_.empty()) handleFrame(line_, arrived);
            line_.clear();
        } else if (line_.size() < kMaxFrame) {
            line_.push_back(c);
        } else {
            line_.clear();
        }
    }
}

std::optional<TimePoint> Transducer::nextOutputAt() const {
    if (out_.empty()) return std::nullopt;
    return out_.front().first;
}

std::string Transducer::takeOutput(TimePoint now) {
    std::string bytes;
    while (!out_.empty() && out_.front().first <= now) {
        bytes.push_back(out_.front().second);
        out_.pop_front();
    }
    return bytes;
}

std::string Transducer::hardwareReply() const {
    const std::string a = std::to_string(options_.analog);
    const std::string b = std::to_string(options_.binary);
    // The fields sit behind the marker "Ana.:  " (p = its last character, CR/LF/TAB not
    // counted): analog outputs at p..p+1, binary outputs at p+11..p+12, voltage class at
    // p+69..p+71, current class at p+93..p+95.
    std::string bin = b.size() < 2 ? " " + b : b.substr(0, 2);
    std::string text;
    text += "TXR 3.0 " + a + "A/" + b + "D\r\n";
    text += "Ana.:  " + a.substr(0, 1) + ",  Bin.: " + bin + "\r\n";           // ends at p+12
    text += "Firmware: V2.14\tS/N: 26110417\r\n";                              // p+13..p+40
    text += "Interface: 19200,N,8,2\r\n";                                      // p+41..p+62
    text += "Un.:  " + classText(options_.voltage) + " V\tfn.: 45-65 Hz\r\n";  // U at p+69
    text += "In.:  " + classText(options_.current) + " A\r\n";                 // I at p+93
    return text;
}

bool Transducer::addressedToMe(std::string_view address) const {
    std::string_view mine = options_.address;
    if (allDigits(address) && allDigits(mine))
        return withoutLeadingZeros(address) == withoutLeadingZeros(mine);
    return address == mine;
}

std::string Transducer::garbled(std::string echo) const {
    if (!options_.garbleEcho || echo.empty()) return echo;
    // Change the last character: letters flip case, anything else becomes another sign.
    char& c = echo.back();
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z')
        c = static_cast<char>(c - 'A' + 'a');
    else
        c = c == '#' ? '+' : '#';
    return echo;
}

void Transducer::handleFrame(const std::string& frame, TimePoint at) {
    frames_.push_back({at, frame});
    if (options_.silent) return;

    // "-" address "-" command; anything before the first "-" is line noise.
    std::size_t start = frame.find('-');
    if (start == std::string::npos) return;
    std::size_t cmdPos = frame.find('-', start + 1);
    if (cmdPos == std::string::npos) return;
    std::string_view text(frame);
    text.remove_prefix(start);
    std::string_view address = text.substr(1, cmdPos - start - 1);
    std::string_view command = text.substr(cmdPos - start);
    if (!addressedToMe(address)) return;

    const std::string echo = garbled(std::string(text));

    if (command == "-r") {
        queueReply(measuredLine(at), at);
        return;
    }
    if (command.size() == 3 && command.substr(0, 2) == "-D" && command[2] >= '1' &&
        command[2] <= '3') {
        int n = command[2] - '0';
        std::string reply = echo + ",";
        const bool holdsCopy = written_[n - 1] || programmedAtStart_;
        reply += holdsCopy ? dataCopy(n) : std::string(kErasedLength, '\xFF');
        queueReply(reply + CR, at);
        return;
    }
    if (command.size() >= 4 && command.substr(0, 2) == "-D" && command[2] >= '1' &&
        command[2] <= '3' && command[3] == ',') {
        int n = command[2] - '0';
        stored_[n - 1] = std::string(command.substr(4));
        written_[n - 1] = true;
        if (options_.badCopy && n == 1 && !stored_[0].empty()) {
            char& last = stored_[0].back();
            last = last == '1' ? '0' : '1';
        }
        queueReply(echo + CR, at);
        return;
    }
    if (command == "-*?") {
        queueReply(echo + CR + LF + hardwareReply(), at);
        return;
    }
    if (command.size() > 2 && command.substr(0, 2) == "-*" && allDigits(command.substr(2))) {
        queueReply(echo + CR, at);
        options_.address = std::string(withoutLeadingZeros(command.substr(2)));
        return;
    }
    if (command.substr(0, 9) == "-M S,FF,E") {
        interfaceList_.clear();
        std::string_view list = command.substr(9);
        while (!list.empty()) {
            list.remove_prefix(1);  // the "," in front of each code
            std::size_t comma = list.find(',');
            interfaceList_.emplace_back(list.substr(0, comma));
            if (comma == std::string_view::npos) break;
            list.remove_prefix(comma);
        }
        listProgrammed_ = true;
        measuredIndex_ = 0;
    }
    queueReply(echo + CR, at);
}

void Transducer::queueReply(std::string bytes, TimePoint at) {
    TimePoint t = at + options_.replyDelay;
    // Output leaves in order: a reply never overtakes the one before it.
    if (!out_.empty()) t = std::max(t, out_.back().first);
    if (options_.wireTime) {
        t = std::max(t, outputFreeAt_);
        for (char c : bytes) {
            t += kCharTime;
            out_.emplace_back(t, c);
        }
        outputFreeAt_ = t;
    } else {
        for (char c : bytes) out_.emplace_back(t, c);
    }
}

// What the unit measures at time `at`, on its secondary side: a balanced load at 80 % of
// the current class on the network the voltage class is made for, power factor about 0.95
// inductive. Every value drifts slowly and a little, each phase on its own, so the display
// visibly lives; the same time always gives the same values.
struct Transducer::Readings {
    std::array<double, 3> u{};    // line-to-neutral voltages, V
    std::array<double, 3> ull{};  // line-to-line voltages U12, U23, U31, V
    std::array<double, 3> i{};    // currents, A
    std::array<double, 3> p{}, q{}, s{}, phi{};
    double frequency = 50;
    double dcInput = 0;  // the 10 V DC input, V
};

Transducer::Readings Transducer::readingsAt(TimePoint at) const {
    const double t = std::chrono::duration<double>(at.time_since_epoch()).count();
    constexpr double kTwoPi = 6.283185307179586;
    auto wave = [&](double period, double phase) { return std::sin(kTwoPi * t / period + phase); };

    // The network a class is made for: 400 V on the 600 V class, 110 V and 100 V on the
    // classes for voltage transformer secondaries.
    const double v = options_.voltage;
    const double uLL = v >= 600 ? 400 : v >= 110 ? 110 : v >= 100 ? 100 : v * 0.9;
    const double uLN = uLL / 1.73205080756888;
    const double iN = options_.current * 0.8;

    Readings r;
    for (std::size_t k = 0; k < 3; ++k) {
        const double shift = 2.1 * static_cast<double>(k);
        r.u[k] = uLN * (0.996 + 0.006 * wave(47, shift));
        r.i[k] = iN * (1.0 + 0.04 * wave(31, 1.3 * shift));
        const double cosPhi = 0.95 + 0.005 * wave(59, shift + 0.5);
        r.phi[k] = std::acos(cosPhi) * 180 / 3.141592653589793;
        r.s[k] = r.u[k] * r.i[k];
        r.p[k] = r.s[k] * cosPhi;
        r.q[k] = r.s[k] * std::sqrt(1 - cosPhi * cosPhi);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        // Phasors 120 degrees apart: |Ua - Ub| = sqrt(Ua^2 + Ua Ub + Ub^2).
        const double a = r.u[k];
        const double b = r.u[(k + 1) % 3];
        r.ull[k] = std::sqrt(a * a + a * b + b * b);
    }
    r.frequency = 50 + 0.02 * wave(13, 0.7);
    r.dcInput = 4.2 + 0.05 * wave(23, 0.2);
    return r;
}

// One line of the measured-value cycle: value in positions 1..7 ("." decimal point), the unit
// from position 9, then the quantity and, for voltages, currents and powers, its group tag.
// The line opening a cycle holds only the form feed: whatever it carries is not shown.
std::string Transducer::measuredLine(TimePoint at) {
    static const std::vector<std::string> kFresh = {"U1", "I1", "P", "F"};
    const std::vector<std::string>& list = listProgrammed_ ? interfaceList_ : kFresh;
    if (measuredIndex_ == 0 || measuredIndex_ > list.size()) {
        measuredIndex_ = 1;
        return std::string(1, FormFeed) + CR;
    }
    const std::string& code = list[measuredIndex_ - 1];
    ++measuredIndex_;

    const Readings r = readingsAt(at);
    auto sum = [](const std::array<double, 3>& x) { return x[0] + x[1] + x[2]; };
    auto mean = [&](const std::array<double, 3>& x) { return sum(x) / 3; };
    // "P" is the system value, "P2" phase 2 (1..3).
    const int phase =
        code.size() >= 2 && code.back() >= '1' && code.back() <= '3' ? code.back() - '1' : -1;
    auto pick = [&](const std::array<double, 3>& x, bool total) {
        if (phase >= 0) return x[static_cast<std::size_t>(phase)];
        return total ? sum(x) : mean(x);
    };
    auto is = [&](std::string_view prefix) { return code.rfind(prefix, 0) == 0; };

    double value = 0;
    std::string_view unit;
    std::string_view tag;
    if (code == "INP") {
        value = r.dcInput, unit = "V";
    } else if (is("PF")) {
        value = phase >= 0
                    ? r.p[static_cast<std::size_t>(phase)] / r.s[static_cast<std::size_t>(phase)]
                    : sum(r.p) / sum(r.s);
    } else if (is("QF")) {
        value = phase >= 0
                    ? r.q[static_cast<std::size_t>(phase)] / r.s[static_cast<std::size_t>(phase)]
                    : sum(r.q) / sum(r.s);
    } else if (is("ph")) {
        value = pick(r.phi, false), unit = "\xB0";
    } else if (code == "F") {
        value = r.frequency, unit = "Hz";
    } else if (code == "U12" || code == "U23" || code == "U31") {
        value = r.ull[static_cast<std::size_t>(code[1] - '1')], unit = "V", tag = "/U";
    } else if (is("U")) {
        value = pick(r.u, false), unit = "V", tag = "/U";
    } else if (is("I")) {
        value = pick(r.i, false), unit = "A", tag = "/I";
    } else if (is("P")) {
        value = pick(r.p, true), unit = "W", tag = "/P";
    } else if (is("Q")) {
        value = pick(r.q, true), unit = "var", tag = "/Q";
    } else if (is("S")) {
        value = pick(r.s, true), unit = "VA", tag = "/S";
    }
    // As many decimals as the seven positions hold comfortably.
    const double size = std::fabs(value);
    const int decimals = size < 10 ? 3 : size < 1000 ? 2 : size < 10000 ? 1 : 0;
    std::string line = fixed(value, decimals, 7).substr(0, 7);
    line += ' ';
    line += unit;
    line.resize(std::max<std::size_t>(line.size(), 13), ' ');
    line += code;
    if (!tag.empty()) {
        line += ' ';
        line += tag;
    }
    line += CR;
    return line;
}

}  // namespace kalvo::sim
