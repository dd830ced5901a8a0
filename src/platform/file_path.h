// File names in the core are UTF-8 text, as the user typed or chose them. The system gets them
// only through these two conversions: on Windows a path built from a narrow std::string goes
// through the ANSI code page, and "Anlage Süd.cfg" would be created as "Anlage SÃ¼d.cfg".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kalvo {

// The path for a UTF-8 file name.
std::filesystem::path pathFromUtf8(std::string_view utf8);

// A path's name as UTF-8 text.
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace kalvo
