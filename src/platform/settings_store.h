// Per-user key/value settings with text values (the adapter keeps them under the
// application "Kalvo_Multi", section "Settings").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kalvo {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> get(std::string_view key) const = 0;
    virtual void set(std::string_view key, std::string_view value) = 0;
};

}  // namespace kalvo
