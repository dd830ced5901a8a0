// Project files are read from anywhere on disk (the desktop tool; kalvo-cli check, program and
// datasheet): any bytes must either load into a valid record or be refused without touching the
// caller's record. What loads saves and loads again with the same variant; every page of the
// parameter dialog fills, stores and checks without failing, each fault with its line; and the
// data sheet lays out with every text inside the page and free of TABs, on at most two A4
// pages, in every language.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/default_range.h"
#include "config/param_flow.h"
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

void checkRoundTrip(const kalvo::Record& r, const kalvo::Record& base) {
    const kalvo::Encoded encoded = kalvo::encodeProject(r, "fuzz.cfg", ',');
    if (encoded.error == kalvo::FileError::TooLong) return;
    if (encoded.error != kalvo::FileError::None) std::abort();
    const kalvo::Decoded again = kalvo::decodeProject(encoded.bytes, base);
    if (again.error != kalvo::FileError::None) std::abort();
    if (again.record.Anzahl_Analog != r.Anzahl_Analog ||
        again.record.Anzahl_Binaer != r.Anzahl_Binaer) {
        std::abort();
    }
}

void checkPages(const kalvo::Record& r) {
    const auto faults = kalvo::checkRecord(r, ',');
    if (faults.size() != kalvo::faultLines(r, kalvo::Language::English, '.').size()) std::abort();
    for (const auto& f : faults) {
        if (f.stop < 1 || f.stop > 6 || f.page < 0 || f.page >= kalvo::pageCount(r)) std::abort();
    }
    // Leaving every page in turn, as the dialog does.
    kalvo::Record copy = r;
    kalvo::DialogFlags flags;
    const kalvo::BasicPage basic = kalvo::P_in_index(copy, ',');
    for (int i = 0; i < kalvo::pageCount(copy); ++i) {
        auto page = kalvo::pageContent(copy, i, ',');
        if (!page) std::abort();
        kalvo::leavePage(copy, flags, i, basic, *page, ',');
    }
    for (int q = -1; q <= 10; ++q) {
        for (int place = -1; place <= 7; ++place) {
            kalvo::Vorgabebereich(r, q, place, kalvo::RangeMode::Binary);
        }
    }
}

void checkSheet(const kalvo::Record& r, char decimal) {
    for (const kalvo::Language language :
         {kalvo::Language::German, kalvo::Language::English, kalvo::Language::Dialect}) {
        const kalvo::SheetOptions options{language,   decimal,      "31.01.2025",
                                          "14:05:09", "/opt/kalvo", ""};
        CheckingCanvas canvas;
        const kalvo::SheetReport report = kalvo::Datenblatt_drucken(r, options, canvas);
        if (report.pages != canvas.breaks + 1 || report.pages > 2) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    kalvo::Record base = kalvo::startRecord();
    base.Anzahl_Analog = 2;
    base.Anzahl_Binaer = 5;
    kalvo::Standardwerte_laden(base);

    const kalvo::Decoded decoded = kalvo::decodeProject(bytes, base);
    if (decoded.error != kalvo::FileError::None) {
        if (!(decoded.record == base) || decoded.detail.empty()) std::abort();
        return 0;
    }
    const kalvo::Record& r = decoded.record;
    if (kalvo::checkVariant(r.Anzahl_Analog, r.Anzahl_Binaer, r.Max_Spannung, r.Max_Strom)) {
        std::abort();
    }
    checkRoundTrip(r, base);
    checkPages(r);
    checkSheet(r, size % 2 ? ',' : '.');
    return 0;
}
