#include "config/wiring_picture.h"

#include <array>

#include "config/fields.h"

namespace kalvo {

std::string_view wiringPictureFile(int connectionType) {
    static constexpr std::array<std::string_view, kConnectionTypes> kFiles = {
        "s4u.sb",  // FourWireUnbalanced
        "s4g.sb",  // FourWireBalanced
        "s3u.sb",  // ThreeWireUnbalanced
        "s3g.sb",  // ThreeWireBalanced
        "s1.sb",   // SinglePhase
    };
    if (connectionType < 0 || connectionType >= kConnectionTypes) return {};
    return kFiles[static_cast<std::size_t>(connectionType)];
}

std::string wiringPicturePath(const std::string& folder, int connectionType) {
    const std::string_view file = wiringPictureFile(connectionType);
    if (folder.empty() || file.empty()) return {};
    std::string path = folder;
    if (path.back() != '/' && path.back() != '\\') path += '/';
    path += file;
    return path;
}

}  // namespace kalvo
