// kalvo-cli: the device sequences and file handling without windows.
#include <QCoreApplication>
#include <iostream>
#include <memory>

#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_settings_store.h"
#include "shell/cli.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);

    kalvo::SystemClock clock;
    kalvo::QtSettingsStore settings;
    kalvo::sim::Transducer transducer{kalvo::sim::Options{}};

    kalvo::CliEnvironment env;
    env.openPath = [](const std::string& path) -> std::unique_ptr<kalvo::SerialPort> {
        return std::make_unique<kalvo::QtSerialPort>(path);
    };
    env.simulator = [&]() -> std::unique_ptr<kalvo::SerialPort> {
        return std::make_unique<kalvo::sim::SimulatedPort>(transducer, clock);
    };
    env.clock = &clock;
    env.settings = &settings;
    env.decimal = kalvo::systemDecimalSeparator();
#ifdef Q_OS_WIN
    env.windows = true;
#endif
    env.out = &std::cout;
    env.err = &std::cerr;
    return kalvo::runCli(args, env);
}
