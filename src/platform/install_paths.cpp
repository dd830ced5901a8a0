#include "platform/install_paths.h"

#include <filesystem>
#include <system_error>

#include "platform/file_path.h"

namespace kalvo {

namespace fs = std::filesystem;

std::string dataFolderFor(const std::string& programFolder) {
    if (programFolder.empty()) return {};
    const fs::path installed =
        (pathFromUtf8(programFolder) / "../share/kalvo-multi").lexically_normal();
    std::error_code ec;
    return fs::is_directory(installed, ec) ? utf8FromPath(installed) : programFolder;
}

std::string guideFileFor(const std::string& programFolder) {
    const fs::path folder = pathFromUtf8(programFolder);
    const fs::path installed =
        (folder / "../share/doc/kalvo-multi/user-guide.md").lexically_normal();
    std::error_code ec;
    if (fs::is_regular_file(installed, ec)) return utf8FromPath(installed);
    return utf8FromPath(folder / "docs/user-guide.md");
}

}  // namespace kalvo
