// The one place in the tests that asks which system they run on: a test that needs a POSIX
// facility Windows does not offer skips itself there, with the reason given here.
#pragma once

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

#include <cstdint>

namespace kalvo::test {

// Makes every write of this process beyond `bytes` fail, as a full disk would (it binds root as
// well), until the object goes. Where no such limit can be set, `unavailable` says why.
class FileSizeLimit {
  public:
    explicit FileSizeLimit([[maybe_unused]] std::uint64_t bytes) {
#ifdef _WIN32
        unavailable = "Windows has no per-process file size limit to make a write fail half-way";
#else
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &original_);
        rlimit small = original_;
        small.rlim_cur = bytes;
        if (setrlimit(RLIMIT_FSIZE, &small) != 0) unavailable = "the file size limit was refused";
#endif
    }
    ~FileSizeLimit() {
#ifndef _WIN32
        if (unavailable == nullptr) setrlimit(RLIMIT_FSIZE, &original_);
#endif
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    const char* unavailable = nullptr;

  private:
#ifndef _WIN32
    rlimit original_{};
#endif
};

}  // namespace kalvo::test
