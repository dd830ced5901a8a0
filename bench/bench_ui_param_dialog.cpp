// How long the parameter dialog makes the user wait, offscreen: opening it on a 4A/9D record
// (construction, texts, the basic page from the record, shown and laid out), and switching
// pages (storing and checking the page left, showing the next). Median, fastest and slowest
// of N runs each; the target is below 50 ms, the aim below 10 ms.
//
//   bench_ui_param_dialog [--runs N]
#include <QApplication>
#include <QListWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "config/ui/param_dialog.h"

using namespace kalvo;

namespace {

using Steady = std::chrono::steady_clock;

double ms(Steady::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const double median = times.size() % 2 == 1
                              ? times[times.size() / 2]
                              : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    std::printf("%-34s median %7.2f ms   fastest %7.2f ms   slowest %7.2f ms   (%zu runs)\n", what,
                median, times.front(), times.back(), times.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const int runs = std::stoi(bench::option(argc, argv, "--runs", "KALVO_BENCH_RUNS", "50"));
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    Record record = bench::record4A9D();
    DialogFlags flags;
    const QString folder = QCoreApplication::applicationDirPath();

    // Opening: a fresh dialog each time, as the menu command makes one.
    std::vector<double> open;
    for (int k = 0; k < runs; ++k) {
        const auto start = Steady::now();
        auto* dialog = new param(record, flags, ',', Language::German, folder);
        dialog->show();
        QApplication::processEvents();
        open.push_back(ms(Steady::now() - start));
        delete dialog;
    }

    // Switching: round the 15 pages of a 4A/9D dialog, each switch storing and checking the
    // page left.
    auto* dialog = new param(record, flags, ',', Language::German, folder);
    dialog->show();
    QApplication::processEvents();
    auto* list = dialog->findChild<QListWidget*>(QStringLiteral("Parametrier_List"));
    std::vector<double> kinds[4];
    std::vector<double> all;
    for (int k = 0; k < runs; ++k) {
        const int target = (k + 1) % list->count();
        const auto start = Steady::now();
        list->setCurrentRow(target);
        QApplication::processEvents();
        const double t = ms(Steady::now() - start);
        all.push_back(t);
        const PageKind kind = pageAt(record, target).kind;
        kinds[static_cast<int>(kind)].push_back(t);
    }
    delete dialog;

    std::printf("parameter dialog, 4A/9D record, offscreen\n");
    report("open the dialog", open);
    report("switch pages (all)", all);
    const char* names[] = {"  to the basic page", "  to an analog page", "  to a binary page",
                           "  to the interface page"};
    for (int i = 0; i < 4; ++i) {
        if (!kinds[i].empty()) report(names[i], kinds[i]);
    }
    return 0;
}
