// Watching the measured values from a script (`kalvo-cli watch`): every line as the display
// rewrites it, one per output line, as it arrives; a cycle marker prints as an empty line.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "link/link.h"
#include "link/outcome.h"
#include "measure/csv_log.h"
#include "measure/measured_line.h"

namespace kalvo {

struct WatchOptions {
    std::optional<long long> lines;   // end after this many lines, cycle markers included
    std::optional<long long> cycles;  // end when this many cycles are complete
    Millis noLineLimit{10000};        // a script must never hang
};

struct WatchResult {
    // Ok: the count was reached; Cancelled: stopped by the link's cancel flag (Ctrl-C);
    // LinkFailure: no port, a vanished port, or no line within the limit.
    Outcome outcome = Outcome::Ok;
    Wording reason;
    bool csvFailed = false;  // the CSV file could not be written: the watch ended there
    long long lines = 0;
    long long cycles = 0;  // complete cycles seen
};

// `watch`'s arguments: [--config FILE.cfg] [--lines N | --cycles N] [--csv FILE], N >= 1.
struct WatchRequest {
    WatchOptions options;
    std::optional<std::string> config;  // project file with the transformer ratios
    std::optional<std::string> csv;     // CSV record to write
};
// The request, or the usage error to report.
std::variant<WatchRequest, Wording> parseWatchArguments(const std::vector<std::string>& args);

// A cycle is complete when the marker of the next one arrives; that marker ends a watch
// whose cycle count is reached and is not printed. Lines before the first marker are
// printed, but have no line number in the CSV. `wallClock` stamps the CSV rows
// (the system clock when empty).
WatchResult watchMeasuredValues(Link& link, std::string_view address, const Transformers& t,
                                const WatchOptions& options, std::ostream& out, CsvLog* csv,
                                const std::function<WallTime()>& wallClock = {});

}  // namespace kalvo
