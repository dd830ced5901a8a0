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

#include "platform/clock.h"

namespace kalvo {

// A field quoted when it holds a comma, a quote, CR or LF (quotes doubled), else as it is.
std::string csvField(std::string_view text);

inline constexpr std::string_view kCsvHeader = "time,line,value,unit,text";

// One row, without its line end, for a line as shown (UTF-8). lineNumber < 0: unknown.
std::string csvRow(WallTime t, int lineNumber, std::string_view shownUtf8);

class CsvLog {
  public:
    // A record to be written to `path` (UTF-8); nullopt when the file cannot be written. The file
    // is not touched yet: an existing one stays as it was until the first row is written, so a
    // watch that never gets a value (no port, a silent unit) loses nothing.
    static std::optional<CsvLog> create(const std::string& path);

    // Writes one row and flushes it to the file; false when that failed. The first row
    // replaces the file with the header and itself.
    bool write(WallTime t, int lineNumber, std::string_view shownUtf8);

  private:
    explicit CsvLog(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
    std::ofstream file_;  // open from the first row on
};

}  // namespace kalvo
