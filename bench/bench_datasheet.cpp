// The data sheet of a 4A/9D record with every binary output in limit mode (the longest sheet):
//  1. the layout alone, onto a canvas that only measures (the core's share);
//  2. layout and PDF through the Qt adapter into a file: the first sheet of a run (fonts and
//     picture loaded) and the median of further sheets (target under 200 ms);
//  3. a whole `kalvo-cli datasheet` run, process start included.
//
//   bench_datasheet [--cli PATH] [--runs N]
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_support.h"
#include "files/project_file.h"
#include "platform/qt/qt_canvas.h"
#include "print/datasheet.h"

using namespace kalvo;

namespace {

// Measures like a printer with Arial's average widths, places nothing.
class CountingCanvas final : public Canvas {
  public:
    int textWidth(std::string_view text, const Font& font) override {
        return static_cast<int>(text.size()) * font.points * 11;
    }
    int lineHeight(const Font& font) override { return font.points * 23; }
    int pageHeight() override { return 16838; }
    std::optional<PictureSize> pictureSize(const std::string&) override {
        return PictureSize{6000, 4200};
    }
    void text(int, int, const Font&, std::string_view) override { ++items; }
    void picture(int, int, const std::string&) override { ++items; }
    void newPage() override {}
    long items = 0;
};

double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Median wall time of `runs` calls, in ms.
double medianOf(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int k = 0; k < runs; ++k) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(msSince(start));
    }
    return median(times);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string build = bench::buildDir();
    const std::string cliPath =
        bench::option(argc, argv, "--cli", "KALVO_CLI", build + "/kalvo-cli");
    const int runs = std::stoi(bench::option(argc, argv, "--runs", "KALVO_BENCH_RUNS", "20"));
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    Record record = bench::record4A9D();
    for (int i = 0; i < record.Anzahl_Binaer; ++i)
        record.Binaerwerte[static_cast<std::size_t>(i)][Binary::Mode] = ModeLimit;
    SheetOptions options;
    options.decimal = ',';
    options.date = "31.01.2025";
    options.time = "14:05:09";
    options.pictureFolder = build;

    {
        CountingCanvas canvas;
        const double ms = medianOf(runs * 50, [&] { Datenblatt_drucken(record, options, canvas); });
        std::printf("layout of a 4A/9D sheet (core only): %.3f ms median of %d, %ld items\n", ms,
                    runs * 50, canvas.items / (runs * 50));
    }

    QTemporaryDir dir;
    const std::string pdfPath = dir.filePath(QStringLiteral("sheet.pdf")).toStdString();
    QtPdfOutput pdf;
    bool failed = false;
    SheetReport report;
    const auto write = [&] {
        if (!writeDatasheetPdf(pdf, pdfPath, record, options, &report).ok()) failed = true;
    };
    const auto start = std::chrono::steady_clock::now();
    write();
    const double first = msSince(start);
    const double warm = medianOf(runs, write);
    if (failed) {
        std::printf("the PDF could not be written; no figures\n");
        return 1;
    }
    std::printf(
        "layout and PDF of a 4A/9D sheet: first %.1f ms, then %.1f ms median of %d "
        "(target < 200 ms); %d page(s), picture %s\n",
        first, warm, runs, report.pages, report.pictureDrawn ? "drawn" : "missing");

    const std::string cfg = dir.filePath(QStringLiteral("sheet.cfg")).toStdString();
    if (Projekt_speichern(record, cfg, ',') != FileError::None) {
        std::printf("cannot write %s\n", cfg.c_str());
        return 1;
    }
    std::vector<double> cli;
    for (int k = 0; k < std::max(3, runs / 4); ++k) {
        const test::ChildResult r = test::runChild({cliPath, "datasheet", cfg, "--pdf", pdfPath});
        if (r.exitCode != 0) {
            std::printf("kalvo-cli datasheet failed (exit %d): %s\n", r.exitCode, r.err.c_str());
            return 1;
        }
        cli.push_back(r.wallSeconds * 1000);
    }
    std::printf("kalvo-cli datasheet, whole run: %.1f ms median of %zu\n", median(cli), cli.size());
    return 0;
}
