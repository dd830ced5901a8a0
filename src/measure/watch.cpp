#include "measure/watch.h"

#include <charconv>

#include "measure/poll.h"
#include "text/cli_texts.h"
#include "text/cp1252.h"
#include "text/messages.h"

namespace kalvo {

namespace {

std::optional<long long> count(const std::string& text) {
    long long n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc{} || end != text.data() + text.size() || n <= 0) return std::nullopt;
    return n;
}

}  // namespace

std::variant<WatchRequest, Wording> parseWatchArguments(const std::vector<std::string>& args) {
    WatchRequest request;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((a == "--lines" || a == "--cycles") && hasValue) {
            const std::optional<long long> n = count(args[++i]);
            if (!n) return fillIn(kCliWatchCount, a);
            (a == "--lines" ? request.options.lines : request.options.cycles) = n;
        } else if (a == "--config" && hasValue) {
            request.config = args[++i];
        } else if (a == "--csv" && hasValue) {
            request.csv = args[++i];
        } else {
            return Wording(kCliWatchArguments);
        }
    }
    if (request.options.lines && request.options.cycles) {
        return Wording(kCliLinesOrCycles);
    }
    return request;
}

WatchResult watchMeasuredValues(Link& link, std::string_view address, const Transformers& t,
                                const WatchOptions& options, std::ostream& out, CsvLog* csv,
                                const std::function<WallTime()>& wallClock) {
    WatchResult result;
    if (options.lines && *options.lines <= 0) return result;
    if (options.cycles && *options.cycles <= 0) return result;

    CycleLineNumbers numbers;
    const MeasuredLineSink sink = [&](const std::string& utf8) {
        if (isCycleMarker(utf8)) {
            if (numbers.inCycle()) ++result.cycles;
            if (options.cycles && result.cycles >= *options.cycles) return false;
            numbers.marker();
            out << '\n' << std::flush;
        } else {
            const std::string shown = fromCp1252(rewriteLine(toCp1252(utf8), t));
            out << shown << '\n' << std::flush;
            const int lineNumber = numbers.take();
            if (csv != nullptr) {
                const WallTime now = wallClock ? wallClock() : std::chrono::system_clock::now();
                if (!csv->writeReceived(now, lineNumber, utf8, t)) {
                    result.csvFailed = true;
                    return false;
                }
            }
        }
        ++result.lines;
        return !(options.lines && result.lines >= *options.lines);
    };
    const PollResult poll =
        Messwerte_abfragen(link, address, PollOptions{options.noLineLimit}, sink);
    result.outcome = poll.outcome;
    result.reason = poll.reason;
    return result;
}

}  // namespace kalvo
