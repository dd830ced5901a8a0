// kalvo-cli: the device sequences and file handling without windows.
#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <iostream>
#include <memory>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/qt_tcp_port.h"
#include "shell/cli.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"

namespace {

// Ctrl-C (or a polite kill) asks the running sequence to stop: every wait on the port watches
// this flag, and `watch` then ends normally with everything it showed written out. A second
// Ctrl-C ends the program at once.
std::atomic<bool> gInterrupt{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void onInterrupt(int signal) {
    gInterrupt = true;
    std::signal(signal, SIG_DFL);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // Fonts for the data sheet need a GUI application; the command line never shows a window,
    // so it needs no display either. The other commands keep the plain one.
    std::unique_ptr<QCoreApplication> app;
    if (std::find(args.begin(), args.end(), "datasheet") != args.end()) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }

    kalvo::SystemClock clock;
    kalvo::QtSettingsStore settings;
    // The built-in simulated unit: programmed with the demo configuration, or (--fresh) never
    // programmed; it takes a real line's time per character.
    kalvo::sim::Transducer transducer{kalvo::sim::Options{.wireTime = true}};
    kalvo::sim::Transducer freshUnit{kalvo::sim::Options{.wireTime = true, .fresh = true}};

    kalvo::CliEnvironment env;
    env.openPath = [](const std::string& path) -> std::unique_ptr<kalvo::SerialPort> {
        return kalvo::makeNamedPort(path, &gInterrupt);
    };
    env.simulator = [&]() -> std::unique_ptr<kalvo::SerialPort> {
        return std::make_unique<kalvo::sim::SimulatedPort>(transducer, clock, &gInterrupt);
    };
    env.freshSimulator = [&]() -> std::unique_ptr<kalvo::SerialPort> {
        return std::make_unique<kalvo::sim::SimulatedPort>(freshUnit, clock);
    };
    env.clock = &clock;
    env.settings = &settings;
    env.decimal = kalvo::systemDecimalSeparator();
#ifdef Q_OS_WIN
    env.windows = true;
#endif
    kalvo::QtPdfOutput pdf(QStringLiteral("Daten Multimeßumformer"));
    env.pdf = &pdf;
    env.programFolder = kalvo::dataFolder();
    env.out = &std::cout;
    env.err = &std::cerr;
    env.interrupt = &gInterrupt;
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    return kalvo::runCli(args, env);
}
