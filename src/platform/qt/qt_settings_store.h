// Per-user settings through QSettings: organisation and application "Kalvo_Multi", group
// "Settings".
#pragma once

#include <memory>

#include "platform/settings_store.h"

class QSettings;

namespace kalvo {

class QtSettingsStore final : public SettingsStore {
  public:
    QtSettingsStore();
    // A store in an INI file, for tests and portable use.
    explicit QtSettingsStore(const std::string& iniPath);
    ~QtSettingsStore() override;

    std::optional<std::string> get(std::string_view key) const override;
    void set(std::string_view key, std::string_view value) override;
    void sync();

  private:
    std::unique_ptr<QSettings> settings_;
};

// The user's regional decimal separator ('.' or ','), from QLocale::system(), which follows
// LC_ALL / LC_NUMERIC / LANG even where the glibc locale is not installed.
char systemDecimalSeparator();

}  // namespace kalvo
