#include "shell/ui/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <QVBoxLayout>

#include "config/wiring_picture.h"
#include "platform/install_paths.h"
#include "platform/qt/qt_canvas.h"
#include "shell/product_info.h"
#include "text/captions.h"
#include "widgets/apply_texts.h"

namespace kalvo {

Handbuch::Handbuch(QWidget* owner, Language language) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("Handbuch"));
    Text_ = new QTextBrowser(this);
    Text_->setObjectName(QStringLiteral("Handbuch_Text"));
    Text_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text_);
    resize(820, 700);
    setLanguage(language);
}

void Handbuch::setLanguage(Language language) {
    applyCaptions(this, handbuchCaptions(), language);
}

bool Handbuch::load(const QString& file) {
    if (!QFileInfo(file).isFile()) {
        Text_->setPlainText(QDir::toNativeSeparators(file) + QStringLiteral(" ?"));
        return false;
    }
    // Relative picture names resolve against the guide's own folder.
    Text_->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()),
                     QTextDocument::MarkdownResource);
    return true;
}

QStringList Handbuch::missingPictures() const {
    QStringList missing;
    for (QTextBlock b = Text_->document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) continue;
            const QString name = format.toImageFormat().name();
            if (Text_->loadResource(QTextDocument::ImageResource, QUrl(name)).isNull())
                missing << name;
        }
    }
    return missing;
}

QString installedGuideFile() {
    return QString::fromStdString(
        guideFileFor(QCoreApplication::applicationDirPath().toStdString()));
}

bool reportInstallation(std::FILE* out, std::FILE* err) {
    bool complete = true;
    const auto missing = [&](const QString& what) {
        std::fprintf(err, "kalvo: missing %s\n", qPrintable(QDir::toNativeSeparators(what)));
        complete = false;
    };
    const std::string data = dataFolder();
    std::fprintf(out, "data: %s\n", data.c_str());
    for (int type = 0; type <= 4; ++type) {
        const std::string path = wiringPicturePath(data, type);
        if (loadPicture(path).isNull()) missing(QString::fromStdString(path));
    }
    const QString product =
        QDir(QString::fromStdString(data))
            .filePath(QString::fromUtf8(kProductFileName.data(), kProductFileName.size()));
    if (!QFileInfo(product).isFile()) missing(product);
    const QString guide = installedGuideFile();
    std::fprintf(out, "guide: %s\n", qPrintable(QDir::toNativeSeparators(guide)));
    Handbuch window(nullptr, Language::German);
    if (!window.load(guide)) missing(guide);
    for (const QString& picture : window.missingPictures()) missing(picture);
    return complete;
}

}  // namespace kalvo
