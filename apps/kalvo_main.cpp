// kalvo: the desktop tool.
//
//   kalvo [--port PATH | --simulator [--fresh]] [--lang de|en]
//     --port PATH   use this device path instead of the COM number's port, or tcp://HOST:PORT
//                   for a serial device server (gateway) on the network
//     --simulator   attach an in-process simulated TXR 3.0 (no hardware needed): a programmed
//                   2A/5D, 120 V / 1.2 A unit holding a demo configuration
//     --fresh       with --simulator: a unit that was never programmed
//     --lang de|en  start in German or English (otherwise the stored language)

#include <QApplication>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "link/port_name.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/qt_tcp_port.h"
#include "shell/session.h"
#include "shell/settings.h"
#include "shell/ui/about_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/splash_window.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"

namespace {

void usage() {
    std::fputs("usage: kalvo [--port PATH | --simulator [--fresh]] [--lang de|en]\n", stderr);
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
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--port" && i + 1 < argc) {
            portPath = argv[++i];
        } else if (a == "--simulator") {
            simulator = true;
        } else if (a == "--fresh") {
            fresh = true;
        } else if (a == "--lang" && i + 1 < argc) {
            lang = argv[++i];
            if (lang != "de" && lang != "en") {
                usage();
                return 1;
            }
        } else {
            usage();
            return 1;
        }
    }
    if ((simulator && !portPath.empty()) || (fresh && !simulator)) {
        usage();
        return 1;
    }
    // A tcp:// text that names no gateway is said at once, in the language asked for.
    if (const auto parsed = kalvo::parseNetworkPortName(portPath);
        kalvo::isNetworkPortName(portPath) && !parsed.network) {
        const auto language = lang == "en" ? kalvo::Language::English : kalvo::Language::German;
        std::fprintf(stderr, "kalvo: %s\n",
                     kalvo::portNameFaultMessage(parsed, portPath).in(language).c_str());
        usage();
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvo_Multi"));
    QApplication::setOrganizationName(QStringLiteral("Kalvo_Multi"));

    kalvo::QtSettingsStore store;
    kalvo::Session session(store, kalvo::systemDecimalSeparator(),
                           QApplication::applicationDirPath().toStdString());
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
    const int rc = QApplication::exec();
    store.sync();
    return rc;
}
