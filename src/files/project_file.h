// Project files (*.cfg): a 4-byte header (8, then the character count, both 16-bit
// little-endian) and Windows-1252 lines separated by CR LF, the last one without line end.
#pragma once

#include <string>
#include <string_view>

#include "config/record.h"

namespace kalvo {

enum class FileError {
    None,
    CannotOpen,   // missing, unreadable
    CannotWrite,  // cannot create, write or replace
    Malformed,    // not a project file, or a "[Typ]" no TXR 3.0 has
    TooLong,      // the text would not fit the 16-bit character count
};

// The whole file's bytes for a record saved under `path` (the path is the first line).
// Values go through Cell::toText(decimal) and are written in Windows-1252. TooLong when the
// text exceeds 65535 characters (the count would not fit its 16 bits).
struct Encoded {
    FileError error = FileError::None;
    std::string bytes;
};
Encoded encodeProject(const Record& record, std::string_view path, char decimal);

struct Decoded {
    FileError error = FileError::None;
    Wording detail;  // what was wrong, for the command line
    Record record;
};
// Reads a file's bytes into a fresh record: `base` reset by Standardwerte_laden, then the
// sections overwrite cells with texts and "[Typ]" sets the variant. All or nothing: on an
// error `record` is `base` unchanged and `detail` says why (Malformed: not a project file, or
// a variant no TXR 3.0 has).
Decoded decodeProject(std::string_view bytes, const Record& base);

// Writes atomically (a temporary file beside the target, renamed over it): a failed save
// leaves the old file whole. `path` is UTF-8. The file's first line is its full path as
// saved: absolute, normalised, with the system's separators (backslashes on Windows).
FileError Projekt_speichern(const Record& record, const std::string& path, char decimal);
// Reads a file (CannotOpen when missing, unreadable or not a plain file); on any error the
// returned record is `base` unchanged.
Decoded Projekt_laden(const std::string& path, const Record& base);

}  // namespace kalvo
