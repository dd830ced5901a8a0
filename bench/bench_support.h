// Shared pieces of the benchmarks: where the built programs are, a virtual clock, and a
// 4A/9D record to program.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "config/record.h"
#include "platform/clock.h"
#include "support/child_process.h"
#include "support/virtual_clock.h"

namespace kalvo::bench {

// --name VALUE from the command line, else the environment variable, else the fallback.
inline std::string option(int argc, char** argv, std::string_view name, const char* envName,
                          const std::string& fallback) {
    for (int k = 1; k + 1 < argc; ++k)
        if (name == argv[k]) return argv[k + 1];
    if (const char* v = std::getenv(envName); v != nullptr && *v != '\0') return v;
    return fallback;
}

// The build folder: the benchmarks live in <build>/bench/.
inline std::string buildDir() {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return ".";
    return self.parent_path().parent_path().string();
}

// A clock that moves only when slept on: the protocol's own duration, without any overhead.
using VirtualClock = test::FakeClock;

// A 4A/9D record for a 600 V / 5 A unit: the longest programming run there is.
inline Record record4A9D() {
    Record r = newProject(4, 9, 600, 5);
    for (int i = 0; i < kInterfaceCells; i += 3) r.Schnittstellenwerte[i] = Cell(1);
    return r;
}

}  // namespace kalvo::bench
