// The Canvas on a QPainter: the same placed texts and pictures on a printer (QPrinter) or in a
// PDF (QPdfWriter). Needs a QGuiApplication.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <map>
#include <optional>
#include <string>

#include "platform/canvas.h"

class QPainter;
class QPagedPaintDevice;

namespace kalvo {

// The family a sheet font is set in. The sheet asks for "Arial": Arial where it is installed,
// else Liberation Sans, whose letters have Arial's widths, so every position of the layout
// holds. Any other family is taken as it is.
QString sheetFontFamily(const std::string& requested);

class QtCanvas final : public Canvas {
  public:
    // Draws with `painter`, already begun on `device`; scales the painter so that one unit is
    // one twip.
    QtCanvas(QPainter& painter, QPagedPaintDevice& device);

    int textWidth(std::string_view text, const Font& font) override;
    int lineHeight(const Font& font) override;
    int pageHeight() override;
    std::optional<PictureSize> pictureSize(const std::string& path) override;
    void text(int x, int y, const Font& font, std::string_view text) override;
    void picture(int x, int y, const std::string& path) override;
    void newPage() override;

    // Texts placed, and whether any of them had no font with its letters: Qt then draws
    // nothing and says nothing, and a sheet without text is worthless.
    int textsPlaced() const { return textsPlaced_; }
    bool fontMissing() const { return fontMissing_; }

  private:
    QFont qfont(const Font& font) const;
    const QImage* image(const std::string& path);

    QPainter& painter_;
    QPagedPaintDevice& device_;
    std::map<std::string, QImage> images_;  // loaded pictures; a null image for a missing file
    int textsPlaced_ = 0;
    bool fontMissing_ = false;
};

// A picture file at its own size: pixels at the resolution stored in the file (96 dpi when it
// stores none), in twips. The format comes from the content, whatever the file's suffix.
QImage loadPicture(const std::string& path);
PictureSize pictureTwips(const QImage& image);

// The folder of the wiring pictures and product.ini: beside the program in the build tree,
// ../share/kalvo-multi when installed (UTF-8; "" before the application object exists).
std::string dataFolder();

// PDF files of A4 pages (no margins: twips count from the sheet's corner), laid out in memory,
// checked for text, then written through QSaveFile: a file that cannot be written leaves the
// old one, or none, and no partial file.
class QtPdfOutput final : public PdfOutput {
  public:
    explicit QtPdfOutput(QString title = QString()) : title_(std::move(title)) {}
    PdfResult write(const std::string& path, const std::function<void(Canvas&)>& layout) override;

  private:
    QString title_;
};

}  // namespace kalvo
