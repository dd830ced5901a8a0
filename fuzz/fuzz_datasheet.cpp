// The data sheet prints whatever a project file holds: any record that loads must lay out
// without a crash, every text inside the page and free of TAB characters, on at most two A4
// pages, in every language.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/record.h"
#include "files/project_file.h"
#include "print/datasheet.h"

namespace {

class CheckingCanvas final : public kalvo::Canvas {
  public:
    int textWidth(std::string_view text, const kalvo::Font& font) override {
        return static_cast<int>(text.size()) * font.points * 11;
    }
    int lineHeight(const kalvo::Font& font) override { return font.points * 23; }
    int pageHeight() override { return 16838; }
    std::optional<kalvo::PictureSize> pictureSize(const std::string& path) override {
        if (path.empty()) std::abort();
        return kalvo::PictureSize{6000, 4200};
    }
    void text(int x, int y, const kalvo::Font&, std::string_view text) override {
        if (text.empty() || text.find('\t') != text.npos) std::abort();
        if (x < kalvo::kSheetLeft || y < kalvo::kSheetTop || y + 230 > pageHeight()) std::abort();
    }
    void picture(int x, int y, const std::string&) override {
        if (x != kalvo::kSheetLeft || y < kalvo::kSheetTop) std::abort();
    }
    void newPage() override { ++breaks; }
    int breaks = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kalvo::Decoded decoded = kalvo::decodeProject(bytes, kalvo::startRecord());
    if (decoded.error != kalvo::FileError::None) return 0;

    for (const kalvo::Language language :
         {kalvo::Language::German, kalvo::Language::English, kalvo::Language::Dialect}) {
        kalvo::SheetOptions options;
        options.language = language;
        options.decimal = size % 2 ? ',' : '.';
        options.date = "31.01.2025";
        options.time = "14:05:09";
        options.pictureFolder = "/opt/kalvo";
        CheckingCanvas canvas;
        const kalvo::SheetReport report =
            kalvo::Datenblatt_drucken(decoded.record, options, canvas);
        if (report.pages != canvas.breaks + 1 || report.pages > 2) std::abort();
    }
    return 0;
}
