#include "shell/system_info.h"

namespace kalvo {

namespace {

constexpr std::string_view kCandidates[] = {"msinfo32", "kinfocenter", "hardinfo2", "hardinfo",
                                            "lshw-gtk"};

}  // namespace

std::span<const std::string_view> systemInfoCandidates() {
    return kCandidates;
}

std::optional<std::string> findSystemInfoProgram(const ExecutableLookup& lookup) {
    for (std::string_view name : kCandidates) {
        if (auto path = lookup(name); path && !path->empty()) return path;
    }
    return std::nullopt;
}

}  // namespace kalvo
