// A record of measured values for commissioning: one CSV row per value line, written through
// to the file after every row, so an interrupted run keeps every line it showed.
//
//   time,line,value,unit,text
//   2024-05-02T09:41:07.250Z,0,20,KV,"   20 KV    U1 /U"
//
// time: UTC in ISO 8601 with milliseconds; line: the line's number in its cycle (0 = the
// first after the cycle marker; empty before the first marker); value: the number in the
// value field with a point (empty when the field holds none); unit: the text from position 9
// up to the first blank; text: the line as shown. UTF-8, comma-separated, RFC 4180 quoting.
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "measure/measured_line.h"
#include "platform/clock.h"

namespace kalvo {

// A field quoted when it holds a comma, a quote, CR or LF (quotes doubled), else as it is.
std::string csvField(std::string_view text);

inline constexpr std::string_view kCsvHeader = "time,line,value,unit,text";

// One row, without its line end, for a line as shown (UTF-8). lineNumber < 0: unknown.
// `measured` false: the device's value field held no number (the display shows 0 there), so
// the value column stays empty rather than record a 0 that was never measured.
std::string csvRow(WallTime t, int lineNumber, std::string_view shownUtf8, bool measured = true);

// The number of each value line in its cycle, as the record gives it: a cycle marker starts
// the count at 0; a line before the first marker has none (-1).
class CycleLineNumbers {
  public:
    void marker() {
        inCycle_ = true;
        next_ = 0;
    }
    bool inCycle() const { return inCycle_; }
    // The number of the value line that came now.
    int take() {
        if (!inCycle_) return -1;
        const int n = next_;
        if (next_ < 1'000'000) ++next_;
        return n;
    }

  private:
    bool inCycle_ = false;
    int next_ = 0;
};

class CsvLog {
  public:
    // A record to be written to `path` (UTF-8); nullopt when the file cannot be written. The file
    // is not touched yet: an existing one stays as it was until the first row is written, so a
    // watch that never gets a value (no port, a silent unit) loses nothing.
    static std::optional<CsvLog> create(const std::string& path);

    // Writes one row and flushes it to the file; false when that failed. The first row
    // replaces the file with the header and itself.
    bool write(WallTime t, int lineNumber, std::string_view shownUtf8, bool measured = true);
    // The same for a line as the device sent it (UTF-8): recorded as the display shows it with
    // the transformers `tr`, its value empty when the device's field held no number.
    bool writeReceived(WallTime t, int lineNumber, std::string_view receivedUtf8,
                       const Transformers& tr);

  private:
    explicit CsvLog(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
    std::ofstream file_;  // open from the first row on
};

}  // namespace kalvo
