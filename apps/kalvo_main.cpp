// kalvo: the desktop tool (options in kHelp below).

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "link/port_name.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/qt_tcp_port.h"
#include "shell/session.h"
#include "shell/settings.h"
#include "shell/ui/about_window.h"
#include "shell/ui/help_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/splash_window.h"
#include "shell/version.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"

namespace {

const char* const kHelp =
    "usage: kalvo [--port PATH | --simulator [--fresh]] [--lang de|en] [FILE.cfg]\n"
    "       kalvo --paths | --help | --version\n"
    "Configures, programs and watches TXR 3.0 multi-transducers.\n"
    "  FILE.cfg      open this project file at start\n"
    "  --port PATH   use this device path (e.g. /dev/ttyUSB0) instead of the COM port\n"
    "                chosen in the menu, or tcp://HOST:PORT for a serial device server\n"
    "                (an RS-485 gateway in TCP server mode) on the network\n"
    "  --simulator   attach a built-in simulated TXR 3.0 (no hardware needed): a programmed\n"
    "                2A/5D, 120 V / 1.2 A unit holding a demo configuration\n"
    "  --fresh       with --simulator: a unit that was never programmed\n"
    "  --lang de|en  start in German or English (otherwise the stored language)\n"
    "  --paths       print where the wiring pictures, the product data and the user guide\n"
    "                are found and exit (1 when one is missing)\n"
    "exit codes: 0 ok, 1 usage or a missing file (--paths)\n";

int usage() {
    std::fputs(kHelp, stderr);
    return 1;
}

#ifdef Q_OS_WIN
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

}  // namespace

int main(int argc, char* argv[]) {
    // Options first, so a wrong command line is reported even without a display.
    std::string portPath;
    bool simulator = false;
    bool fresh = false;
    std::string lang;
    std::string projectFile;
    bool paths = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (a == "--version") {
            std::printf("%s\n", kalvo::versionLine("kalvo").c_str());
            return 0;
        } else if (a == "--paths") {
            paths = true;
        } else if (a == "--port" && i + 1 < argc) {
            portPath = argv[++i];
        } else if (a == "--simulator") {
            simulator = true;
        } else if (a == "--fresh") {
            fresh = true;
        } else if (a == "--lang" && i + 1 < argc) {
            lang = argv[++i];
            if (lang != "de" && lang != "en") return usage();
        } else if (!a.empty() && a[0] != '-' && projectFile.empty()) {
            projectFile = a;  // the desktop entry's %f
        } else {
            return usage();
        }
    }
    if ((simulator && !portPath.empty()) || (fresh && !simulator)) return usage();
    // A tcp:// text that names no gateway is said at once, in the language asked for.
    if (const auto parsed = kalvo::parseNetworkPortName(portPath);
        kalvo::isNetworkPortName(portPath) && !parsed.network) {
        const auto language = lang == "en" ? kalvo::Language::English : kalvo::Language::German;
        std::fprintf(stderr, "kalvo: %s\n",
                     kalvo::portNameFaultMessage(parsed, portPath).in(language).c_str());
        return usage();
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvo_Multi"));
    QApplication::setOrganizationName(QStringLiteral("Kalvo_Multi"));

    if (paths) return kalvo::reportInstallation(stdout, stderr) ? 0 : 1;

    kalvo::QtSettingsStore store;
    kalvo::Session session(store, kalvo::systemDecimalSeparator(), kalvo::dataFolder());
    // A language named on the command line holds for this run only.
    if (!lang.empty()) {
        session.useLanguageForThisRun(lang == "en" ? kalvo::Language::English
                                                   : kalvo::Language::German);
    }

    // The simulated device and its clock live as long as the program; the port that talks
    // to it is made inside the device thread like any other port. It takes a real line's time
    // per character, so the live values come at the pace a device gives them, not as fast as
    // the processor can ask.
    auto simClock = std::make_shared<kalvo::SystemClock>();
    auto device = std::make_shared<kalvo::sim::Transducer>(
        kalvo::sim::Options{.wireTime = true, .fresh = fresh});
    if (simulator) session.usePortForThisRun("Simulator");
    if (!portPath.empty()) session.usePortForThisRun(portPath);

    // COM n is resolved here: the settings store belongs to the window thread.
    std::map<int, std::string> comPaths;
    for (int com = 1; com <= 8; ++com) comPaths[com] = kalvo::portPathFor(com, store, kWindows);
    kalvo::PortFactory factory =
        [=](int port, const std::atomic<bool>* cancel) -> std::unique_ptr<kalvo::SerialPort> {
        if (port == 0 && simulator) {
            return std::make_unique<kalvo::sim::SimulatedPort>(*device, *simClock, cancel);
        }
        if (port == 0) return kalvo::makeNamedPort(portPath, cancel);
        const auto it = comPaths.find(port);
        return kalvo::makeNamedPort(it != comPaths.end() ? it->second : "", cancel);
    };

    kalvo::frmMain window(session, std::move(factory));
    window.show();
    // The splash screen over the new main window: it closes itself after 2 s, or at the first
    // key or click, and deletes itself.
    (new kalvo::frmSplash(kalvo::installedProductInfo(), &window))->show();
    // A file named on the command line opens once the window is up, as "Öffnen" opens it: a
    // file that cannot be read says so and leaves the empty project.
    if (!projectFile.empty()) {
        QTimer::singleShot(0, &window, [&window, projectFile] {
            window.openProjectFile(
                QFileInfo(QString::fromStdString(projectFile)).absoluteFilePath().toStdString());
        });
    }
    const int rc = QApplication::exec();
    store.sync();
    return rc;
}
