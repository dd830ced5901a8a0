#include "link/transcript.h"

#include <filesystem>
#include <fstream>

#include "platform/file_path.h"
#include "text/cp1252.h"

namespace kalvo {

namespace {

constexpr char FF = '\f';

std::string hexByte(unsigned char b) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string s = "<0x";
    s += kDigits[b >> 4];
    s += kDigits[b & 0x0F];
    s += '>';
    return s;
}

// How a byte that cannot stand for itself is shown; empty when it can.
std::string shownAs(unsigned char b) {
    switch (b) {
        case LF:
            return "<LF>";
        case CR:
            return "<CR>";
        case FF:
            return "<FF>";
        default:
            break;
    }
    if (b < 0x20 || b == 0x7F || b == '<') return hexByte(b);
    return {};
}

bool undefinedInCp1252(unsigned char b) {
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

}  // namespace

std::string wireText(std::string_view bytes) {
    std::string out;
    std::string run;  // bytes that stand for themselves, decoded together
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        std::string shown = undefinedInCp1252(b) ? hexByte(b) : shownAs(b);
        if (shown.empty()) {
            run += c;
            continue;
        }
        out += fromCp1252(run);
        run.clear();
        out += shown;
    }
    return out + fromCp1252(run);
}

std::string escapedText(std::string_view utf8) {
    std::string out;
    for (const char c : utf8) {
        const std::string shown = shownAs(static_cast<unsigned char>(c));
        if (shown.empty()) {
            out += c;
        } else {
            out += shown;
        }
    }
    return out;
}

std::string_view outcomeWord(Outcome outcome) {
    switch (outcome) {
        case Outcome::Ok:
            return "ok";
        case Outcome::LinkFailure:
            return "link failure";
        case Outcome::WrongTransducer:
            return "wrong transducer";
        case Outcome::NeverProgrammed:
            return "never programmed";
        case Outcome::BadReply:
            return "bad reply";
        case Outcome::BadRecord:
            return "bad record";
        case Outcome::Cancelled:
            return "cancelled";
    }
    return "?";
}

Transcript::Transcript(WallTime start, const Clock& clock, LineSink sink)
    : wallStart_(start), clockStart_(clock.now()), clock_(clock), sink_(std::move(sink)) {}

void Transcript::writeLine(TimePoint at, std::string_view what, std::string_view text) {
    const WallTime when =
        wallStart_ + std::chrono::duration_cast<WallTime::duration>(at - clockStart_);
    std::string line = isoTimestamp(when);
    line += '\t';
    line += what;
    line += '\t';
    line += text;
    if (sink_) sink_(line);
}

void Transcript::flushReceived() {
    if (received_.empty()) return;
    writeLine(receivedAt_, "recv", wireText(received_));
    received_.clear();
    lineEnded_ = false;
}

void Transcript::flushPause() {
    if (!pausing_) return;
    pausing_ = false;
    const auto ms = std::chrono::duration_cast<Millis>(pauseTo_ - pauseFrom_).count();
    writeLine(pauseFrom_, "pause", std::to_string(ms) + " ms");
}

void Transcript::flush() {
    flushReceived();
    flushPause();
}

void Transcript::begin(std::string_view utf8) {
    flush();
    writeLine(clock_.now(), "start", escapedText(utf8));
}

void Transcript::stage(Stage stage) {
    static constexpr std::string_view kNames[] = {"hardware", "programming", "read-back",
                                                  "measuring"};
    flush();
    writeLine(clock_.now(), "stage", kNames[static_cast<int>(stage)]);
}

void Transcript::sent(std::string_view bytes) {
    flush();
    writeLine(clock_.now(), "send", wireText(bytes));
}

void Transcript::received(std::string_view bytes) {
    flushPause();
    for (const char c : bytes) {
        const bool lineEnd = c == LF || c == CR;
        // A line ends with its last CR or LF: the next other byte begins a new one.
        if (lineEnded_ && !lineEnd) flushReceived();
        if (received_.empty()) receivedAt_ = clock_.now();
        received_ += c;
        lineEnded_ = lineEnd;
    }
}

void Transcript::paused(TimePoint from, TimePoint to) {
    flushReceived();
    if (!pausing_) {
        pausing_ = true;
        pauseFrom_ = from;
    }
    pauseTo_ = to;
}

void Transcript::logged(std::string_view utf8) {
    flush();
    writeLine(clock_.now(), "log", escapedText(utf8));
}

void Transcript::ended(Outcome outcome, std::string_view reasonUtf8) {
    flush();
    std::string text(outcomeWord(outcome));
    if (!reasonUtf8.empty()) text += "\t" + escapedText(reasonUtf8);
    writeLine(clock_.now(), "end", text);
}

bool saveTranscript(const std::string& path, const std::vector<std::string>& lines) {
    const std::filesystem::path target = pathFromUtf8(path);
    // Beside the target, under a name nobody else is using.
    std::filesystem::path temporary;
    std::error_code ec;
    for (int attempt = 0; attempt < 100 && temporary.empty(); ++attempt) {
        temporary = target;
        temporary += ".kalvo-tmp" + std::to_string(attempt);
        if (std::filesystem::exists(temporary, ec) || ec) temporary.clear();
    }
    if (temporary.empty()) return false;
    bool written = false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.is_open()) return false;
        for (const std::string& line : lines) out << line << '\n';
        out.close();
        written = !out.fail();
    }
    if (written) {
        std::filesystem::rename(temporary, target, ec);
        if (!ec) return true;
    }
    std::filesystem::remove(temporary, ec);
    return false;
}

}  // namespace kalvo
