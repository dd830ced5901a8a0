// A printed page as the core sees it: texts and pictures placed in twips (1/1440 inch) from the
// top left corner of the printable area, as a printer of the device family's era took them.
// The core lays a sheet out onto a Canvas; the adapters draw on a printer or a PDF, and tests
// record what was placed.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kalvo {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPoint = 20;

struct Font {
    std::string family = "Arial";
    int points = 10;
    bool bold = false;

    bool operator==(const Font&) const = default;
};

// The size a picture has of its own (pixels at the resolution stored in its file), in twips.
struct PictureSize {
    int width = 0;
    int height = 0;

    bool operator==(const PictureSize&) const = default;
};

class Canvas {
  public:
    virtual ~Canvas() = default;

    // Measuring. The width a text (UTF-8) takes when set in `font`, and how far the printer
    // moves down for a line feed in that font.
    virtual int textWidth(std::string_view text, const Font& font) = 0;
    virtual int lineHeight(const Font& font) = 0;
    // Height of the printable area of one page.
    virtual int pageHeight() = 0;
    // The picture in a file (format from its content) at its own size; nullopt when the file
    // is missing or holds no picture.
    virtual std::optional<PictureSize> pictureSize(const std::string& path) = 0;

    // Placing. `y` is the top of the text's line, as the printer's CurrentY.
    virtual void text(int x, int y, const Font& font, std::string_view text) = 0;
    // The picture of `path` with its top left corner at x, y, at its own size.
    virtual void picture(int x, int y, const std::string& path) = 0;
    // Ends the page; what follows goes on a new one.
    virtual void newPage() = 0;
};

// A PDF file written from what is laid out on a Canvas of A4 pages: the file is replaced whole
// or not at all.
struct PdfResult {
    enum class Error {
        None,
        CannotWrite,  // the file could not be created, written or renamed into place
        NoText,       // no font could set the text: the document would hold none
        IsProject,    // the file is the project the sheet is made from: it is not replaced
    };
    Error error = Error::None;
    std::string detail;  // the system's reason, for the message

    bool ok() const { return error == Error::None; }
};

class PdfOutput {
  public:
    virtual ~PdfOutput() = default;
    virtual PdfResult write(const std::string& path,
                            const std::function<void(Canvas&)>& layout) = 0;
};

}  // namespace kalvo
