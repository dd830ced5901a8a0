#include "measure/csv_log.h"

#include <filesystem>

#include "config/number_text.h"
#include "measure/measured_line.h"
#include "platform/file_path.h"
#include "text/cp1252.h"

namespace kalvo {

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string csvRow(WallTime t, int lineNumber, std::string_view shownUtf8, bool measured) {
    // Positions are the device's: read the field and the unit from its bytes.
    const std::string bytes = toCp1252(shownUtf8);
    const std::optional<double> value =
        measured ? valueFieldNumber(bytes) : std::optional<double>();
    std::string row = isoTimestamp(t);
    row += ',';
    if (lineNumber >= 0) row += std::to_string(lineNumber);
    row += ',';
    if (value) row += formatNumber(*value, '.');
    row += ',';
    row += csvField(fromCp1252(unitText(bytes)));
    row += ',';
    row += csvField(shownUtf8);
    return row;
}

std::optional<CsvLog> CsvLog::create(const std::string& path) {
    // Opening for appending writes nothing into a file that is there; one that was not there
    // is removed again.
    const std::filesystem::path file = pathFromUtf8(path);
    std::error_code ec;
    const bool existed = std::filesystem::exists(file, ec);
    if (!std::ofstream(file, std::ios::binary | std::ios::app)) return std::nullopt;
    if (!existed) std::filesystem::remove(file, ec);
    return CsvLog(file);
}

bool CsvLog::write(WallTime t, int lineNumber, std::string_view shownUtf8, bool measured) {
    if (!file_.is_open()) {
        file_.open(path_, std::ios::binary | std::ios::trunc);
        file_ << kCsvHeader << "\r\n";
    }
    file_ << csvRow(t, lineNumber, shownUtf8, measured) << "\r\n";
    file_.flush();
    return static_cast<bool>(file_);
}

bool CsvLog::writeReceived(WallTime t, int lineNumber, std::string_view receivedUtf8,
                           const Transformers& tr) {
    const std::string received = toCp1252(receivedUtf8);
    return write(t, lineNumber, fromCp1252(rewriteLine(received, tr)),
                 valueFieldNumber(received).has_value());
}

}  // namespace kalvo
