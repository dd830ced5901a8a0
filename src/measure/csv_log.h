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

#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace kalvo {

using WallTime = std::chrono::system_clock::time_point;

// "2024-05-02T09:41:07.250Z"
std::string isoTimestamp(WallTime t);

// A field quoted when it holds a comma, a quote, CR or LF (quotes doubled), else as it is.
std::string csvField(std::string_view text);

inline constexpr std::string_view kCsvHeader = "time,line,value,unit,text";

// One row, without its line end, for a line as shown (UTF-8). lineNumber < 0: unknown.
std::string csvRow(WallTime t, int lineNumber, std::string_view shownUtf8);

class CsvLog {
  public:
    // Creates or replaces the file and writes the header; nullopt when it cannot be written.
    static std::optional<CsvLog> create(const std::string& path);

    // Appends one row and flushes it to the file; false when that failed.
    bool write(WallTime t, int lineNumber, std::string_view shownUtf8);

  private:
    explicit CsvLog(std::ofstream file) : file_(std::move(file)) {}
    std::ofstream file_;
};

}  // namespace kalvo
