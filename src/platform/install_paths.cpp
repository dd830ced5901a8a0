#include "platform/install_paths.h"

#include <filesystem>
#include <system_error>

namespace kalvo {

namespace fs = std::filesystem;

std::string dataFolderFor(const std::string& programFolder) {
    if (programFolder.empty()) return {};
    const fs::path installed =
        (fs::path(programFolder) / "../share/kalvo-multi").lexically_normal();
    std::error_code ec;
    return fs::is_directory(installed, ec) ? installed.string() : programFolder;
}

std::string guideFileFor(const std::string& programFolder) {
    const fs::path installed =
        (fs::path(programFolder) / "../share/doc/kalvo-multi/user-guide.md").lexically_normal();
    std::error_code ec;
    if (fs::is_regular_file(installed, ec)) return installed.string();
    return (fs::path(programFolder) / "docs/user-guide.md").string();
}

}  // namespace kalvo
