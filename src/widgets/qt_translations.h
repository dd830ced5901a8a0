// Qt's own words (the file and print dialogs, the buttons of message boxes) in the tool's
// language: Qt's installed translations (Debian: qt6-translations-l10n) while the tool speaks
// German, Qt's built-in English otherwise.
#pragma once

#include <memory>

#include "text/language.h"

class QTranslator;

namespace kalvo {

class QtTranslations {
  public:
    QtTranslations();
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Installs or removes the translation for `language` (the dialect counts as German).
    void use(Language language);

  private:
    std::unique_ptr<QTranslator> german_;
    bool installed_ = false;
};

}  // namespace kalvo
