#include "widgets/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kalvo {

QtTranslations::QtTranslations() = default;

QtTranslations::~QtTranslations() {
    use(Language::English);
}

void QtTranslations::use(Language language) {
    const bool german = language != Language::English;
    if (german == installed_ || QCoreApplication::instance() == nullptr) return;
    if (!german) {
        QCoreApplication::removeTranslator(german_.get());
        installed_ = false;
        return;
    }
    if (!german_) {
        german_ = std::make_unique<QTranslator>();
        // qtbase_de covers the widgets' and the print support's words. Without the package
        // Qt's dialogs stay English; nothing else depends on it.
        if (!german_->load(QStringLiteral("qtbase_de"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            german_.reset();
            return;
        }
    }
    installed_ = QCoreApplication::installTranslator(german_.get());
}

}  // namespace kalvo
