// Where the programs find their files: the wiring pictures and product.ini, and the user guide.
// Beside the executable in the build tree; below ../share when installed (bin/kalvo finds
// share/kalvo-multi and share/doc/kalvo-multi). Never the working directory: a program started
// from a file manager or a desktop entry has any.
#pragma once

#include <string>

namespace kalvo {

// The installed data folder "<programFolder>/../share/kalvo-multi" when it exists, else the
// program's own folder (the build tree). Empty for an empty program folder.
std::string dataFolderFor(const std::string& programFolder);

// The user guide: "<programFolder>/../share/doc/kalvo-multi/user-guide.md" when it exists, else
// "<programFolder>/docs/user-guide.md" (the build tree's copy), whether or not it exists.
std::string guideFileFor(const std::string& programFolder);

}  // namespace kalvo
