#include "platform/qt/qt_settings_store.h"

#include <QLocale>
#include <QSettings>

namespace kalvo {

namespace {
QString key(std::string_view k) {
    return QStringLiteral("Settings/") +
           QString::fromUtf8(k.data(), static_cast<qsizetype>(k.size()));
}
}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QStringLiteral("Kalvo_Multi"),
                                            QStringLiteral("Kalvo_Multi"))) {}

QtSettingsStore::QtSettingsStore(const std::string& iniPath)
    : settings_(
          std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat)) {}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<std::string> QtSettingsStore::get(std::string_view k) const {
    const QVariant v = settings_->value(key(k));
    if (!v.isValid()) return std::nullopt;
    return v.toString().toStdString();
}

void QtSettingsStore::set(std::string_view k, std::string_view value) {
    settings_->setValue(key(k),
                        QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

void QtSettingsStore::sync() {
    settings_->sync();
}

char systemDecimalSeparator() {
    const QString sep = QLocale::system().decimalPoint();
    return sep == QStringLiteral(",") ? ',' : '.';
}

}  // namespace kalvo
