// A folder of the test's own, removed with everything in it when the object goes. Each test
// process gets a fresh one, so tests running side by side never share files.
#pragma once

#include <filesystem>
#include <random>
#include <string>

#include "platform/file_path.h"

namespace kalvo::test {

class ScratchDir {
  public:
    ScratchDir() {
        // A name nobody has yet: create_directory reports whether this call made the folder.
        std::random_device seed;
        std::mt19937_64 random(seed());
        std::error_code ec;
        const auto base = std::filesystem::temp_directory_path(ec);
        for (int attempt = 0; attempt < 100 && !ec; ++attempt) {
            auto candidate = base / ("kalvo-test-" + std::to_string(random() % 1'000'000'000));
            if (std::filesystem::create_directory(candidate, ec)) {
                path_ = std::move(candidate);
                break;
            }
        }
    }
    ~ScratchDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // A path (UTF-8, the system's separators) in the folder where no file is yet.
    std::string file(const std::string& name) const {
        return utf8FromPath((path_ / pathFromUtf8(name)).make_preferred());
    }

  private:
    std::filesystem::path path_;
};

}  // namespace kalvo::test
