// Project files: a tagged text value (type 8, 16-bit character count) holding Windows-1252
// lines separated by CR LF.
//
// Reading rules:
// - A file that starts with the type tag 8 has its 4 header bytes skipped and its first line
//   (the path it was saved under) ignored; the character count is not relied on, so a file
//   edited by hand in a text editor still opens. A file without the tag is read from its first
//   byte on.
// - Lines end at CR LF, CR or LF. A line is a section key by its first two characters ("[T",
//   "[P", "[A", "[B", "[D"); every other line is ignored. A section takes the lines that
//   follow it as its values, whatever they contain; values missing at the end of the file keep
//   their defaults.
// - "[A"/"[B" take the row from the digits after the bracket letter, so the writer's "[B10]"
//   comes back as row 10 (reading one character would put it over row 1); a section whose
//   digits name no row is skipped with its lines.
// - "[Typ]" numbers are read with either decimal separator ("1,2" and "1.2" are 1.2); a text
//   that is not a whole number falls back to its leading number.
// - Loading is all or nothing: a file with neither "[Typ]" nor "[P]" is not a project file, and
//   the variant it leaves (from "[Typ]", or the caller's when the file has none) must be one a
//   TXR 3.0 can have. On any error the caller's record is returned unchanged.
#include "files/project_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>
#include <vector>

#include "config/number_text.h"
#include "platform/file_path.h"
#include "text/cp1252.h"
#include "text/messages.h"
#include "text/reasons.h"

namespace kalvo {
namespace {

constexpr std::size_t kMaxCharacters = 65535;
// A project file is at most 65539 bytes; anything far bigger is not one.
constexpr std::uintmax_t kMaxFileBytes = 1u << 20;

const char* const kCrLf = "\r\n";

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

double typNumber(std::string_view line) {
    if (const auto parsed = parseNumber(line)) return *parsed;
    return leadingNumber(line);
}

// The path line of a saved file: the file's full path in the system's own form, so a file
// saved as "rel.cfg" names the folder it lies in, and one saved on Windows has backslashes
// ("C:\Projekte\anlage.cfg") as files written there always had.
std::string pathLine(const std::filesystem::path& target) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(target, ec);
    if (ec) full = target;
    full = full.lexically_normal();
    full.make_preferred();
    return utf8FromPath(full);
}

Decoded failure(FileError error, Wording detail, const Record& base) {
    return {error, std::move(detail), base};
}

// The row named by "[A3]" or "[B12]": the digits after the letter; -1 when there are none.
int sectionRow(std::string_view key) {
    int row = 0;
    std::size_t i = 2;
    for (; i < key.size() && i < 5 && key[i] >= '0' && key[i] <= '9'; ++i) {
        row = row * 10 + (key[i] - '0');
    }
    return i == 2 ? -1 : row;
}

}  // namespace

Encoded encodeProject(const Record& record, std::string_view path, char decimal) {
    // A line end inside a value (a path may hold one) would shift every following line, so it
    // is written as '?'.
    const auto clean = [](std::string_view value) {
        std::string out(value);
        for (char& c : out) {
            if (c == '\r' || c == '\n') c = '?';
        }
        return out;
    };
    std::string text = clean(path);
    const auto line = [&](std::string_view value) {
        text += kCrLf;
        text += clean(value);
    };
    line("");
    line("[Typ]");
    line(std::to_string(record.Anzahl_Analog));
    line(std::to_string(record.Anzahl_Binaer));
    line(formatNumber(record.Max_Spannung, decimal));
    line(formatNumber(record.Max_Strom, decimal));
    line("");
    line("[P]");
    for (const auto& cell : record.Grundwerte) line(cell.toText(decimal));
    // A count beyond the tables (only a broken record has one) writes the rows that exist.
    for (int j = 0; j < record.Anzahl_Analog && j < kAnalogRows; ++j) {
        line("");
        line("[A" + std::to_string(j) + "]");
        for (const auto& cell : record.Analogwerte[j]) line(cell.toText(decimal));
    }
    for (int j = 0; j < record.Anzahl_Binaer && j < kBinaryRows; ++j) {
        line("");
        line("[B" + std::to_string(j) + "]");
        for (const auto& cell : record.Binaerwerte[j]) line(cell.toText(decimal));
    }
    line("");
    line("[DIG]");
    std::string dig;
    for (const auto& cell : record.Schnittstellenwerte) dig += cell.toText(decimal);
    line(dig);

    const std::string body = toCp1252(text);
    if (body.size() > kMaxCharacters) return {FileError::TooLong, {}};
    std::string bytes;
    bytes.reserve(body.size() + 4);
    bytes += '\x08';
    bytes += '\0';
    bytes += static_cast<char>(body.size() & 0xFF);
    bytes += static_cast<char>((body.size() >> 8) & 0xFF);
    bytes += body;
    return {FileError::None, std::move(bytes)};
}

Decoded decodeProject(std::string_view bytes, const Record& base) {
    std::string_view text = bytes;
    std::size_t firstLine = 0;
    if (text.size() >= 4 && text[0] == '\x08' && text[1] == '\0') {
        text.remove_prefix(4);
        firstLine = 1;  // the path the file was saved under
    }
    const auto lines = splitLines(text);

    Record record = base;
    Standardwerte_laden(record);
    double analog = base.Anzahl_Analog;
    double binary = base.Anzahl_Binaer;
    double voltage = base.Max_Spannung;
    double current = base.Max_Strom;
    bool sawTyp = false;
    bool sawP = false;

    std::size_t next = firstLine;
    // The next line as a value, or nullopt at the end of the file.
    const auto take = [&]() -> std::optional<std::string_view> {
        if (next >= lines.size()) return std::nullopt;
        return lines[next++];
    };
    const auto fill = [&](auto& cells) {
        for (auto& cell : cells) {
            if (const auto value = take()) cell = Cell(fromCp1252(*value));
        }
    };
    const auto skip = [&](std::size_t count) { next = std::min(lines.size(), next + count); };

    while (next < lines.size()) {
        const std::string_view key = lines[next++];
        if (key.size() < 2 || key[0] != '[') continue;
        switch (key[1]) {
            case 'T': {
                sawTyp = true;
                double* const targets[] = {&analog, &binary, &voltage, &current};
                for (double* target : targets) {
                    if (const auto value = take()) *target = typNumber(*value);
                }
                break;
            }
            case 'P':
                sawP = true;
                fill(record.Grundwerte);
                break;
            case 'A': {
                const int row = sectionRow(key);
                if (row >= 0 && row < kAnalogRows) {
                    fill(record.Analogwerte[row]);
                } else {
                    skip(kAnalogFields);
                }
                break;
            }
            case 'B': {
                const int row = sectionRow(key);
                if (row >= 0 && row < kBinaryRows) {
                    fill(record.Binaerwerte[row]);
                } else {
                    skip(kBinaryFields);
                }
                break;
            }
            case 'D':
                if (const auto value = take()) {
                    for (std::size_t i = 0; i < record.Schnittstellenwerte.size(); ++i) {
                        record.Schnittstellenwerte[i] =
                            Cell(i < value->size() ? fromCp1252(value->substr(i, 1)) : "");
                    }
                }
                break;
            default:
                break;
        }
    }

    if (!sawTyp && !sawP) return failure(FileError::Malformed, kReasonNotProjectFile, base);
    if (const auto reason = checkVariant(analog, binary, voltage, current)) {
        return failure(FileError::Malformed,
                       Wording(sawTyp ? kReasonTyp : kReasonNoVariant) + *reason, base);
    }
    record.Anzahl_Analog = static_cast<int>(analog);
    record.Anzahl_Binaer = static_cast<int>(binary);
    record.Max_Strom = current;
    record.Max_Spannung = voltage;
    return {FileError::None, {}, std::move(record)};
}

FileError Projekt_speichern(const Record& record, const std::string& path, char decimal) {
    const std::filesystem::path target = pathFromUtf8(path);
    const Encoded encoded = encodeProject(record, pathLine(target), decimal);
    if (encoded.error != FileError::None) return encoded.error;

    // Write beside the target, then rename over it: the old file stays whole until the new
    // one is complete.
    std::filesystem::path temporary;
    std::error_code ec;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target;
        temporary += ".kalvo-tmp" + std::to_string(attempt);
        // Never reuse a file someone else left behind or is writing.
        if (!std::filesystem::exists(temporary, ec) && !ec) break;
        temporary.clear();
    }
    if (temporary.empty()) return FileError::CannotWrite;

    bool written = false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.is_open()) return FileError::CannotWrite;
        out.write(encoded.bytes.data(), static_cast<std::streamsize>(encoded.bytes.size()));
        out.close();
        written = !out.fail();
    }
    if (written) {
        std::filesystem::rename(temporary, target, ec);
        if (!ec) return FileError::None;
    }
    std::filesystem::remove(temporary, ec);
    return FileError::CannotWrite;
}

Decoded Projekt_laden(const std::string& path, const Record& base) {
    const std::filesystem::path source = pathFromUtf8(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(source, ec)) {
        return failure(FileError::CannotOpen, fillIn(kReasonNotReadable, path), base);
    }
    const auto size = std::filesystem::file_size(source, ec);
    if (ec) return failure(FileError::CannotOpen, fillIn(kReasonCannotRead, path), base);
    if (size > kMaxFileBytes) return failure(FileError::Malformed, kReasonTooLarge, base);
    std::ifstream in(source, std::ios::binary);
    if (!in.is_open())
        return failure(FileError::CannotOpen, fillIn(kReasonCannotOpenFile, path), base);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return failure(FileError::CannotOpen, fillIn(kReasonCannotRead, path), base);
    return decodeProject(bytes, base);
}

}  // namespace kalvo
