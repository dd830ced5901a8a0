#include "platform/qt/qt_canvas.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

#include "platform/install_paths.h"

namespace kalvo {

namespace {

QString qstring(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int round(double value) {
    return static_cast<int>(std::lround(value));
}

// Pictures that store no resolution are taken at the screen's usual 96 dpi.
constexpr double kDefaultDpi = 96.0;

}  // namespace

QString sheetFontFamily(const std::string& requested) {
    const QString family = QString::fromStdString(requested);
    if (family.compare(QStringLiteral("Arial"), Qt::CaseInsensitive) != 0) return family;
    const QStringList installed = QFontDatabase::families();
    for (const QString& candidate : {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}) {
        if (installed.contains(candidate, Qt::CaseInsensitive)) return candidate;
    }
    return family;  // the system's substitute, if it has one
}

QImage loadPicture(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);  // the pictures are "*.sb" files
    return reader.read();
}

PictureSize pictureTwips(const QImage& image) {
    // PNG keeps whole dots per metre (96 dpi is stored as 3780, 96.01 dpi): back to whole dpi.
    const auto dpi = [](int dotsPerMeter) {
        const double perInch = std::round(dotsPerMeter * 0.0254);
        return perInch > 0 ? perInch : kDefaultDpi;
    };
    return {round(image.width() * kTwipsPerInch / dpi(image.dotsPerMeterX())),
            round(image.height() * kTwipsPerInch / dpi(image.dotsPerMeterY()))};
}

std::string dataFolder() {
    if (QCoreApplication::instance() == nullptr) return {};
    return dataFolderFor(QCoreApplication::applicationDirPath().toStdString());
}

QtCanvas::QtCanvas(QPainter& painter, QPagedPaintDevice& device)
    : painter_(painter), device_(device) {
    painter_.scale(device_.logicalDpiX() / double(kTwipsPerInch),
                   device_.logicalDpiY() / double(kTwipsPerInch));
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
    // Line drawings: JPEG, which the PDF engine would otherwise choose, blurs their lines.
    painter_.setRenderHint(QPainter::LosslessImageRendering);
}

QFont QtCanvas::qfont(const Font& font) const {
    QFont f(sheetFontFamily(font.family));
    // In twips: one point is 20 of them. The painter's scale carries them to the device.
    f.setPixelSize(font.points * kTwipsPerPoint);
    f.setBold(font.bold);
    // Widths as the sum of the letters' advances, unhinted, as a printer sets them.
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

int QtCanvas::textWidth(std::string_view text, const Font& font) {
    return round(QFontMetricsF(qfont(font)).horizontalAdvance(qstring(text)));
}

int QtCanvas::lineHeight(const Font& font) {
    return round(QFontMetricsF(qfont(font)).lineSpacing());
}

int QtCanvas::pageHeight() {
    return round(device_.height() * double(kTwipsPerInch) / device_.logicalDpiY());
}

const QImage* QtCanvas::image(const std::string& path) {
    auto it = images_.find(path);
    if (it == images_.end()) it = images_.emplace(path, loadPicture(path)).first;
    return it->second.isNull() ? nullptr : &it->second;
}

std::optional<PictureSize> QtCanvas::pictureSize(const std::string& path) {
    const QImage* picture = image(path);
    if (picture == nullptr) return std::nullopt;
    return pictureTwips(*picture);
}

void QtCanvas::text(int x, int y, const Font& font, std::string_view text) {
    const QFont f = qfont(font);
    const QString s = qstring(text);
    ++textsPlaced_;
    // A font that has none of the letters draws nothing (one missing letter Qt takes from
    // another font).
    const QString letters = QString(s).remove(QLatin1Char(' '));
    const QRawFont raw = QRawFont::fromFont(f);
    if (!raw.isValid()) {
        fontMissing_ = true;
    } else if (!letters.isEmpty()) {
        const QList<quint32> glyphs = raw.glyphIndexesForString(letters);
        fontMissing_ = fontMissing_ || std::all_of(glyphs.begin(), glyphs.end(),
                                                   [](quint32 glyph) { return glyph == 0; });
    }
    painter_.setFont(f);
    painter_.setPen(Qt::black);
    painter_.drawText(QPointF(x, y + QFontMetricsF(f).ascent()), s);
}

void QtCanvas::picture(int x, int y, const std::string& path) {
    const QImage* picture = image(path);
    if (picture == nullptr) return;
    const PictureSize size = pictureTwips(*picture);
    painter_.drawImage(QRectF(x, y, size.width, size.height), *picture);
}

void QtCanvas::newPage() {
    device_.newPage();
}

PdfResult QtPdfOutput::write(const std::string& path, const std::function<void(Canvas&)>& layout) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int texts = 0;
    bool fontMissing = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kTwipsPerInch);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setCreator(QStringLiteral("Kalvo Multi"));
        if (!title_.isEmpty()) writer.setTitle(title_);
        QPainter painter;
        if (!painter.begin(&writer)) {
            return {PdfResult::Error::CannotWrite, {}};  // the message says it all
        }
        QtCanvas canvas(painter, writer);
        layout(canvas);
        painter.end();
        texts = canvas.textsPlaced();
        fontMissing = canvas.fontMissing();
    }
    buffer.close();
    const QByteArray& bytes = buffer.data();
    // Without a usable font Qt writes a PDF without text and without a warning: refuse it. An
    // embedded font program is what every PDF with text of ours carries.
    if (texts > 0 && (fontMissing || !bytes.contains("/FontFile"))) {
        return {PdfResult::Error::NoText, {}};
    }

    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        return {PdfResult::Error::CannotWrite, file.errorString().toStdString()};
    }
    if (file.write(bytes) != bytes.size()) {
        const std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        return {PdfResult::Error::CannotWrite, reason};
    }
    if (!file.commit()) return {PdfResult::Error::CannotWrite, file.errorString().toStdString()};
    return {};
}

}  // namespace kalvo
