// What the trend costs, offscreen:
//  1. its memory: sixty minutes of four lines at the device's fastest pace, taken when the
//     lines are chosen and never grown (the process's resident memory is shown beside it);
//  2. a frame: thinning the four lines for the plot, handing them to the chart and painting the
//     window, with sixty minutes in view (target below 5 ms);
//  3. the CPU share of the desktop tool while the values window and the trend show the one
//     poll of `txr-sim --wire-time` on a pseudo-terminal (target below 2 %).
//
//   bench_ui_trend [--sim PATH] [--cli PATH] [--seconds N] [--frames N]
//                  [--only values|trend|both]   (one polling figure, nothing else)
#include <sys/resource.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "measure/ui/anzeilist.h"
#include "measure/ui/verlauf.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_settings_store.h"
#include "shell/session.h"
#include "shell/ui/main_window.h"

using namespace kalvo;

namespace {

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long residentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

// Runs the event loop for `ms`, as the tool's own loop runs: asleep until something happens.
void waitFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string build = bench::buildDir();
    const std::string simPath =
        bench::option(argc, argv, "--sim", "KALVO_TXR_SIM", build + "/txr-sim");
    const std::string cliPath =
        bench::option(argc, argv, "--cli", "KALVO_CLI", build + "/kalvo-cli");
    const int seconds =
        std::stoi(bench::option(argc, argv, "--seconds", "KALVO_BENCH_SECONDS", "20"));
    const int frames = std::stoi(bench::option(argc, argv, "--frames", "KALVO_BENCH_RUNS", "40"));
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvo_Multi_bench"));

    // 1 and 2: a full hour of four lines, fed as the device would send them at its fastest.
    if (bench::option(argc, argv, "--only", "KALVO_BENCH_ONLY", "").empty()) {
        const Record record = newProject(2, 5, 120, 1.2);
        Verlauf trend(nullptr, record, Language::German, ',');
        trend.show();
        trend.pollStarted();
        const long before = residentKiB();
        const char* names[] = {"U1 /U", "I1 /I", "P /P", "F"};
        for (int k = 0; k < kTrendLines; ++k) trend.chooseLine(k, names[k]);
        const TimePoint t0{};
        const auto step = std::chrono::microseconds(16042);  // the shortest cycle, 28 characters
        char line[64];
        const auto fed = std::chrono::steady_clock::now();
        for (std::size_t n = 0; n < kTrendCapacity; ++n) {
            const TimePoint at = t0 + step * static_cast<long long>(n);
            const double s = static_cast<double>(n) / 60;
            std::snprintf(line, sizeof line, "%7.2f V    U1 /U", 229 + 2 * std::sin(s / 20));
            trend.lineReceived(line, at);
            std::snprintf(line, sizeof line, "%7.3f A    I1 /I", 0.9 + 0.1 * std::sin(s / 3));
            trend.lineReceived(line, at);
            std::snprintf(line, sizeof line, "%7.1f W    P /P", 600 + 50 * std::sin(s / 7));
            trend.lineReceived(line, at);
            std::snprintf(line, sizeof line, "%7.2f Hz   F", 50 + 0.03 * std::sin(s / 11));
            trend.lineReceived(line, at);
        }
        const double feedSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - fed).count();
        const long after = residentKiB();
        std::printf(
            "trend memory: %zu points a line, %zu bytes for four lines (%.1f MiB; the process "
            "grew by %.1f MiB, window and chart included); fed %zu lines in %.2f s\n",
            kTrendCapacity, trend.model().memoryBytes(),
            static_cast<double>(trend.model().memoryBytes()) / (1 << 20),
            static_cast<double>(after - before) / 1024, 4 * kTrendCapacity, feedSeconds);

        trend.setSpan(3);  // sixty minutes in view
        // A frame repaints the plot, the part of the window that moves: the chart view.
        QWidget* plot = trend.findChild<QWidget*>(QStringLiteral("Diagramm"));
        QImage canvas(plot->size(), QImage::Format_ARGB32_Premultiplied);
        std::vector<double> times;
        for (int f = 0; f < frames; ++f) {
            trend.lineReceived("  229.5 V    U1 /U",
                               t0 + step * static_cast<long long>(kTrendCapacity + f));
            QElapsedTimer t;
            t.start();
            trend.redraw();
            QPainter painter(&canvas);
            plot->render(&painter);
            painter.end();
            times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        }
        std::vector<double> thin, paint;
        for (int f = 0; f < frames; ++f) {
            QElapsedTimer t;
            t.start();
            for (const char* name : names) {
                (void)trend.model().runs(name, std::chrono::minutes(60), 640);
            }
            thin.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
            t.start();
            QPainter painter(&canvas);
            plot->render(&painter);
            painter.end();
            paint.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        }
        std::sort(thin.begin(), thin.end());
        std::sort(paint.begin(), paint.end());
        std::sort(times.begin(), times.end());
        std::printf("  of which thinning %.2f ms, painting %.2f ms (medians)\n",
                    thin[thin.size() / 2], paint[paint.size() / 2]);
        std::printf(
            "trend frame, 60 min of four lines in view (%zu points): median %.2f ms, fastest "
            "%.2f ms, slowest %.2f ms over %d frames (target < 5 ms)\n",
            4 * kTrendCapacity, times[times.size() / 2], times.front(), times.back(), frames);
    }

    // 3: the desktop tool polling txr-sim through both windows.
    if (access(simPath.c_str(), X_OK) != 0 || access(cliPath.c_str(), X_OK) != 0) {
        std::printf("kalvo-cli or txr-sim not built: the polling figure is skipped\n");
        return 0;
    }
    test::BackgroundChild sim;
    const auto port = sim.start({simPath, "--wire-time"});
    if (!port) {
        std::printf("txr-sim did not start\n");
        return 1;
    }
    const test::ChildResult set = test::runChild(
        {cliPath, "--port", *port, "transact", "-M", "S,FF,E,U1,U12,I1,P,Q,S,PF,QF,ph1,F,INP"});
    if (set.exitCode != 0) {
        std::printf("programming the interface list failed: %s\n", set.err.c_str());
        return 1;
    }
    QtSettingsStore store;
    Session session(store, '.');
    session.usePortForThisRun(*port);
    const std::string path = *port;
    frmMain window(session, [path](int, const std::atomic<bool>* cancel) {
        return std::make_unique<QtSerialPort>(path, cancel);
    });
    window.show();
    // CPU over `seconds` while the poll runs with the given windows open.
    const auto measure = [&](const char* what, bool values, bool trend) {
        if (values) window.actions().messen->trigger();
        if (trend) window.actions().verlauf->trigger();
        auto* start = (values ? static_cast<QWidget*>(window.anzeilist()) : window.verlauf())
                          ->findChild<QAbstractButton*>(QStringLiteral("start"));
        start->click();
        waitFor(3000);  // the first cycles: the lines to choose from
        if (trend) {
            const auto offered = window.verlauf()->model().offered();
            for (std::size_t k = 0; k < offered.size() && k < kTrendLines; ++k) {
                window.verlauf()->chooseLine(static_cast<int>(k), offered[k].name);
            }
        }
        const double cpu0 = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        waitFor(seconds * 1000);
        const double cpu = cpuSeconds() - cpu0;
        const double wallSeconds = static_cast<double>(wall.elapsed()) / 1000;
        std::printf(
            "desktop tool polling txr-sim --wire-time, %s: %.3f s CPU in %.1f s = %.2f %% "
            "of one core (target < 2 %%)\n",
            what, cpu, wallSeconds, 100 * cpu / wallSeconds);
        start->click();  // STOP ends the poll for both
        waitFor(500);
        if (values) window.anzeilist()->hide();
        if (trend) window.verlauf()->hide();
    };
    const std::string only = bench::option(argc, argv, "--only", "KALVO_BENCH_ONLY", "");
    if (only.empty() || only == "values") measure("values window alone", true, false);
    if (only.empty() || only == "trend") measure("trend alone, four lines", false, true);
    if (only.empty() || only == "both") {
        measure("values window and trend on the one poll", true, true);
    }
    return 0;
}
