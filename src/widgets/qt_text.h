// UTF-8 texts of the core as Qt strings.
#pragma once

#include <QString>

#include <string_view>

namespace kalvo {

inline QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace kalvo
