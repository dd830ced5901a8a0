// Windows-1252 is the byte code of the wire and of project files; strings inside the program
// are UTF-8. Conversion happens only at the port and file boundary.
#pragma once

#include <string>
#include <string_view>

namespace kalvo {

// UTF-8 to Windows-1252. Characters without a Windows-1252 byte become '?', as do bytes that
// are not valid UTF-8.
std::string toCp1252(std::string_view utf8);

// The characters of a UTF-8 text that have no Windows-1252 byte, each once, in the order they
// first occur (UTF-8; a byte that is not valid UTF-8 shows as U+FFFD). Empty when the whole
// text can go on the wire as it is.
std::string outsideCp1252(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the C1 control of the same number, so every byte round-trips.
std::string fromCp1252(std::string_view bytes);

}  // namespace kalvo
