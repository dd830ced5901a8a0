// Renders the main window and the program's other windows to PNG files, offscreen, so anyone
// can look at them: the main window, the hardware selection, the device log during a
// programming run, the record view, the reset notice, the address windows, direct input, the
// live values with a cycle of lines, the interface selection, the splash screen and the About
// box.
//
//   window-screenshots OUTPUT_DIR [--lang de|en]
#include <QAbstractButton>
#include <QApplication>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

#include <cstdio>

#include "config/compare.h"
#include "link/ui/address_windows.h"
#include "link/ui/hardware_window.h"
#include "measure/ui/anzeilist.h"
#include "measure/ui/dig_auswahl.h"
#include "measure/ui/verlauf.h"
#include "platform/qt/qt_settings_store.h"
#include "shell/session.h"
#include "shell/ui/about_window.h"
#include "shell/ui/compare_window.h"
#include "shell/ui/help_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/network_window.h"
#include "shell/ui/progr_window.h"
#include "shell/ui/splash_window.h"
#include "widgets/aux_windows.h"

using namespace kalvo;

namespace {

bool save(QWidget* w, const QDir& dir, const QString& name) {
    w->show();
    QApplication::processEvents();
    const QString path = dir.filePath(name);
    if (!w->grab().save(path)) {
        std::fprintf(stderr, "window-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// No device here: the poll started for the picture fails at once, and its box is not wanted.
struct NoBoxes final : MessagePresenter {
    void show(QWidget*, const MessageText&) override {}
    bool ask(QWidget*, const MessageText&) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: window-screenshots OUTPUT_DIR [--lang de|en]\n");
        return 1;
    }
    QDir out(args[1]);
    if (!out.mkpath(QStringLiteral("."))) return 1;
    const bool english =
        args.size() > 3 && args[2] == QLatin1String("--lang") && args[3] == QLatin1String("en");

    // Settings of their own, so the user's stay untouched.
    QTemporaryDir settingsDir;
    QtSettingsStore store(settingsDir.filePath(QStringLiteral("k.ini")).toStdString());
    Session session(store, ',', QCoreApplication::applicationDirPath().toStdString());
    session.useLanguageForThisRun(english ? Language::English : Language::German);
    session.usePortForThisRun("Simulator");
    frmMain window(session,
                   [](int, const std::atomic<bool>*) { return std::unique_ptr<SerialPort>(); });
    NoBoxes noBoxes;
    window.setMessagePresenter(&noBoxes);
    bool ok = save(&window, out, QStringLiteral("main_window.png"));

    Hardware* hardware = window.hardware();
    ok &= save(hardware, out, QStringLiteral("hardware.png"));
    hardware->hide();

    session.context().record = newProject(2, 5, 120, 1.2);
    Progr* progr = window.progr();
    progr->setPicture(0);
    for (const char* line : {"-0-t", "-0-t  OK", "-0-S 4U,1,1,50", "-0-S 4U,1,1,50  OK",
                             "-0-M A1,U1,0,34.64,69.28,mA,-20,0,20,-24,24,0"}) {
        progr->addLine(QString::fromUtf8(line));
    }
    progr->setProgress(23);
    progr->setStepLine(QString::fromStdString(
        stepLine({Step::Kind::Command, 3, 12, "-M A2"}, 0, session.language())));
    ok &= save(progr, out, QStringLiteral("progr.png"));
    progr->hide();

    Ueberwachung* view = window.ueberwachung();
    view->listing(session.record(), ',');
    ok &= save(view, out, QStringLiteral("ueberwachung.png"));
    view->hide();
    ok &= save(window.meldung(), out, QStringLiteral("meldung.png"));
    window.meldung()->hide();

    ok &= save(window.adresse(), out, QStringLiteral("adresse.png"));
    window.adresse()->hide();
    ok &= save(window.standardAddressWindow(), out, QStringLiteral("standartadr.png"));
    window.standardAddressWindow()->hide();
    ok &= save(window.direkt(), out, QStringLiteral("direkt.png"));
    window.direkt()->hide();
    window.netzwerk()->setRecent({{"10.0.0.20", 4001}, {"gw-halle2.plant.example", 4002}});
    ok &= save(window.netzwerk(), out, QStringLiteral("netzwerk.png"));
    window.netzwerk()->hide();

    // The live values, widened to both columns, after START and a cycle of lines (fed here: the
    // poll itself fails at once without a device, so the lines come in before it ends).
    Anzeilist* values = window.anzeilist();
    values->show();
    values->resize(values->width() * 2 + 80, values->height());
    QApplication::processEvents();
    values->findChild<QAbstractButton*>(QStringLiteral("start"))->click();
    for (const char* line : {"\f", "   66.5 V    U1 /U", "  0.960 A    I1 /I", "   60.6 W    P /P",
                             "  50.00 Hz   F"}) {
        values->lineReceived(line);
    }
    // The labels are drawn at most ten times a second: let the last lines be drawn.
    for (QElapsedTimer t; !t.isValid() || t.elapsed() < 150;) {
        if (!t.isValid()) t.start();
        QApplication::processEvents();
    }
    ok &= save(values, out, QStringLiteral("anzeilist.png"));
    QApplication::processEvents();
    values->hide();

    // The trend: five minutes of a cycle of four lines, a load step on the current and a
    // short dropout of the voltage line (a field without a number), three lines chosen.
    {
        Verlauf trend(&window, session.record(), session.language(), session.context().decimal);
        trend.show();
        trend.pollStarted();
        const TimePoint t0 = std::chrono::steady_clock::now();
        char line[64];
        for (int k = 0; k < 5 * 60 * 4; ++k) {
            const TimePoint at = t0 + std::chrono::milliseconds(250 * k);
            const double s = k / 4.0;
            trend.lineReceived("\f", at);
            if (k > 500 && k < 520) {
                trend.lineReceived("  ----- V    U1 /U", at);
            } else {
                std::snprintf(line, sizeof line, "%7.1f V    U1 /U", 229 + 2 * std::sin(s / 20));
                trend.lineReceived(line, at);
            }
            std::snprintf(line, sizeof line, "%7.3f A    I1 /I",
                          (s < 150 ? 0.8 : 1.15) + 0.03 * std::sin(s / 3));
            trend.lineReceived(line, at);
            std::snprintf(line, sizeof line, "%7.1f W    P /P",
                          (s < 150 ? 520 : 760) + 15 * std::sin(s / 7));
            trend.lineReceived(line, at);
            std::snprintf(line, sizeof line, "%7.2f Hz   F", 50 + 0.03 * std::sin(s / 11));
            trend.lineReceived(line, at);
            if (k == 0) {
                trend.chooseLine(0, "U1 /U");
                trend.chooseLine(1, "I1 /I");
                trend.chooseLine(2, "P /P");
            }
        }
        trend.setSpan(1);
        trend.redraw();
        ok &= save(&trend, out, QStringLiteral("verlauf.png"));
    }

    session.context().record.Schnittstellenwerte[0] = Cell(1);
    session.context().record.Schnittstellenwerte[33] = Cell(1);
    ok &= save(window.digAuswahl(), out, QStringLiteral("dig_auswahl.png"));
    window.digAuswahl()->hide();

    // The comparison with a unit that holds another connection type, another range, a limit
    // value and one output less.
    Record unit = session.record();
    unit.Anzahl_Binaer = 4;
    unit.Grundwerte[Basic::ConnectionType] = Cell(ThreeWireUnbalanced);
    unit.Analogwerte[1][Analog::RangeEnd] = 40;
    unit.Binaerwerte[0] = {Cell(2), Cell(1), Cell(0), Cell("A"), Cell(1.1), Cell(0)};
    Vergleich* compare = window.vergleich();
    compare->showDifferences(compareRecords(session.record(), unit, session.language(), ','));
    ok &= save(compare, out, QStringLiteral("vergleich.png"));
    compare->hide();

    Handbuch* guide = window.handbuch();
    ok &= save(guide, out, QStringLiteral("handbuch.png"));
    guide->hide();

    frmSplash splash(installedProductInfo());
    ok &= save(&splash, out, QStringLiteral("splash.png"));
    frmAbout about(installedProductInfo(), session.language());
    ok &= save(&about, out, QStringLiteral("about.png"));
    return ok ? 0 : 1;
}
