// The small windows, driven like a user would, offscreen: the address change, standard address
// and direct input windows (the requests they hand to their owner, the results they show), the
// splash screen and its timing, the About box and its system information program, the live
// values window `Anzeilist` and the interface selection `Dig_Auswahl`. What an entry means, the
// About texts, which label shows which line and which boxes a connection type allows are the
// core's (link, product-info, display and selection tests), the captions the caption test's;
// here, the windows' layout, wiring and own behaviour. No device, no modal box.
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFrame>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>

#include "gui_rig.h"
#include "link/ui/address_windows.h"
#include "measure/ui/anzeilist.h"
#include "measure/ui/dig_auswahl.h"
#include "shell/product_info.h"
#include "shell/ui/about_window.h"
#include "shell/ui/splash_window.h"
#include "support/record_builder.h"

using namespace kalvo;
using namespace kalvo::gui;

namespace {

QString text(QWidget* window, const char* name) {
    QWidget* w = child(window, name);
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    return qobject_cast<QLineEdit*>(w)->text();
}

// Catches the boxes the About box would show.
struct Boxes final : MessagePresenter {
    void show(QWidget*, const MessageText& message) override { shown.push_back(message); }
    bool ask(QWidget*, const MessageText&) override { return false; }
    std::vector<MessageText> shown;
};

const QString kLinkFailureDe =
    QStringLiteral("Überprüfen Sie die Datenverbindung und versuchen Sie es nochmals!");
const QString kLinkFailureEn = QStringLiteral("Check the dataconnection and try again!");

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

QLabel* label(QWidget& w, int k) {
    return child<QLabel>(&w, QStringLiteral("Label1_%1").arg(k));
}
QScrollBar* bar(QWidget& w, int k) {
    return child<QScrollBar>(&w, QStringLiteral("HScroll1_%1").arg(k));
}
QColor lamp(QWidget& w) {
    return child<QFrame>(&w, QStringLiteral("Picture1"))->palette().color(QPalette::Window);
}
QStringList labels(QWidget& w) {
    QStringList out;
    for (int k = 0; k < 20; ++k) out << label(w, k)->text();
    return out;
}
const QStringList kEmpty = QStringList(QVector<QString>(20));
QCheckBox* box(QWidget& w, int i) {
    return child<QCheckBox>(&w, QStringLiteral("Dig_Auswahl_Messgrösse_Check_%1").arg(i));
}
int px(QWidget& w, int twips) {
    return qRound(twips * w.logicalDpiX() / 1440.0);
}

QList<int> flagsOf(const Record& r) {
    QList<int> out;
    for (int i = 0; i < kInterfaceCells; ++i)
        if (r.Schnittstellenwerte[static_cast<std::size_t>(i)].equals(1)) out << i;
    return out;
}

}  // namespace

class AddressAboutTest : public QObject {
    Q_OBJECT
  private slots:
    void addressEntriesBecomeTheRequestedChange() {
        struct Case {
            QString old, neu;
            bool verify;
            std::optional<AddressChange> request;
            // The fields after the first OK. Where they differ from what was typed, the window
            // stays open with the addresses that will be used, and the next OK sends.
            QString oldShown, newShown;
        };
        const std::vector<Case> cases = {
            {"32", "0", true, AddressChange{32, 0, true}, "32", "0"},
            {"07", "32", false, AddressChange{7, 32, false}, "7", "32"},
            {"", "5", true, std::nullopt, "", "5"},
        };
        Adresse window;
        QVERIFY(child<QCheckBox>(&window, "prüfen_check")->isChecked());
        std::vector<AddressChange> requests;
        connect(&window, &Adresse::changeRequested, this, [&](const AddressChange& change) {
            QVERIFY(window.isHidden());  // hidden before the owner runs the job
            requests.push_back(change);
        });
        for (const Case& c : cases) {
            requests.clear();
            window.show();
            child<QLineEdit>(&window, "Text1")->setText(c.old);
            child<QLineEdit>(&window, "Text2")->setText(c.neu);
            child<QCheckBox>(&window, "prüfen_check")->setChecked(c.verify);
            click(&window, "OK_Adresse_ändern");
            QCOMPARE(text(&window, "Text1"), c.oldShown);
            QCOMPARE(text(&window, "Text2"), c.newShown);
            if (c.request && (c.old != c.oldShown || c.neu != c.newShown)) {
                QVERIFY(window.isVisible() && requests.empty());
                click(&window, "OK_Adresse_ändern");
            }
            QVERIFY(window.isHidden());
            QCOMPARE(requests.size(), c.request ? 1u : 0u);
            if (c.request) QVERIFY(requests[0] == *c.request);
        }
        // While another device job runs OK is off: the owner would refuse the request.
        window.show();
        window.setBusy(true);
        QVERIFY(!child<QPushButton>(&window, "OK_Adresse_ändern")->isEnabled());
        window.setBusy(false);
        // Cancel hides the window and asks for nothing.
        requests.clear();
        click(&window, "Abbrechen_Adresse_ändern");
        QVERIFY(window.isHidden() && requests.empty());
    }

    // Only a failed change or a passed test is shown; a passed test offers the new address as
    // the standard address, never taken by itself.
    void theResultOfAChangeAndTheStandardAddressOffer() {
        Adresse window;
        QSignalSpy chosen(&window, &Adresse::standardAddressChosen);
        auto* result = child<QLabel>(&window, "Ergebnis_Label");
        auto* offer = child<QPushButton>(&window, "Standardadresse_Command");
        window.showResult({AddressChange{0, 5, false}, Outcome::Ok});  // sent without a test
        window.showResult({AddressChange{0, 5, true}, Outcome::Cancelled});
        QVERIFY(window.isHidden());
        // A port that failed, with or without a test, shows the failure in the current language.
        for (const bool verify : {true, false}) {
            window.hide();
            window.showResult({AddressChange{0, 5, verify}, Outcome::LinkFailure});
            QVERIFY(window.isVisible() && !offer->isVisible());
            QCOMPARE(result->text(), verify ? kLinkFailureDe : kLinkFailureEn);
            window.setLanguage(Language::English);
            QCOMPARE(result->text(), kLinkFailureEn);
        }
        window.hide();
        window.showResult({AddressChange{0, 5, true}, Outcome::Ok});
        QVERIFY(window.isVisible() && offer->isVisible());
        QCOMPARE(result->text(), QStringLiteral("OK"));
        // The result belongs to the numbers it was sent with: typing a new one clears it.
        QTest::keyClicks(child<QLineEdit>(&window, "Text2"), "7");
        QVERIFY(!offer->isVisible() && !result->isVisible());
        window.showResult({AddressChange{0, 5, true}, Outcome::Ok});
        QTest::mouseClick(offer, Qt::LeftButton);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen[0][0].toString(), QStringLiteral("5"));
        QVERIFY(window.isHidden());
        // Opened again, the window starts without the old result.
        window.show();
        QVERIFY(!offer->isVisible() && !result->isVisible());
    }

    void standardAddressIsTheLeadingWholeNumber() {
        standartadr window;
        QSignalSpy chosen(&window, &standartadr::addressChosen);
        for (const auto& [entry, address] :
             {std::pair<QString, QString>{"12abc", "12"}, {"", ""}}) {
            chosen.clear();
            window.show();
            child<QLineEdit>(&window, "txt_adr")->setText(entry);
            click(&window, "OK");
            QVERIFY(window.isHidden());
            QCOMPARE(chosen.size(), address.isEmpty() ? 0 : 1);  // empty: the address stays
            if (!address.isEmpty()) QCOMPARE(chosen[0][0].toString(), address);
        }
        window.show();
        click(&window, "Abbrechen");
        QVERIFY(window.isHidden());
        QCOMPARE(chosen.size(), 0);
    }

    void directInputRequestsTheTextAsTypedAndShowsAFailure() {
        Direkt window;
        QSignalSpy sent(&window, &Direkt::sendRequested);
        window.show();
        for (const QString& typed : {QString(), QStringLiteral("  -0-S 20° ")}) {
            child<QLineEdit>(&window, "Text1")->setText(typed);
            click(&window, "Command1");
            QCOMPARE(sent.takeFirst()[0].toString(), typed);
            QVERIFY(window.isVisible());  // stays open for the next frame
        }
        auto* result = child<QLabel>(&window, "Ergebnis_Label");
        window.showResult(Outcome::LinkFailure);
        QCOMPARE(result->text(), kLinkFailureDe);
        QVERIFY(result->isVisible());
        window.setLanguage(Language::English);
        QCOMPARE(result->text(), kLinkFailureEn);
        click(&window, "Command1");  // a new frame clears the old failure
        QVERIFY(!result->isVisible());
        window.showResult(Outcome::Ok);
        QVERIFY(!result->isVisible());
        sent.clear();
        window.setBusy(true);
        click(&window, "Command1");
        QVERIFY(sent.isEmpty());
        window.setBusy(false);
        click(&window, "Command2");
        QVERIFY(window.isHidden());
    }

    void splashShowsTheProductAndClosesWhenItsTwoSecondsAreUp() {
        ProductInfo info = defaultProductInfo();
        info.maker = "Beispiel AG";
        info.rights = "© 2031 Beispiel AG";
        std::vector<int> started;
        std::function<void()> fire;
        QPointer<frmSplash> splash =
            new frmSplash(info, nullptr, [&](int ms, std::function<void()> elapsed) {
                started.push_back(ms);
                fire = std::move(elapsed);
            });
        const QString shown[] = {QString::fromStdString(versionText()),
                                 "Kalvo_Multi",
                                 "Beispiel AG",
                                 "Beispiel AG",
                                 "© 2031 Beispiel AG",
                                 "Win95, Win98, WinNT, WinXP"};
        int k = 0;
        for (const char* name : {"lblVersion", "lblProductName", "lblCompany", "lblCompanyProduct",
                                 "lblCopyright", "lblPlatform"})
            QCOMPARE(text(splash, name), shown[k++]);
        QVERIFY(started.empty());  // the time counts from showing
        splash->show();
        splash->hide();
        splash->show();
        QCOMPARE(started, std::vector<int>{2000});
        QVERIFY(splash->isVisible());
        fire();
        QVERIFY(!splash->isVisible());
        QTRY_VERIFY(splash.isNull());  // it unloads itself
        fire();                        // a late timer finds nothing to close
    }

    // A key pressed anywhere in the program (a shortcut key too, even under a window manager
    // that does not focus splash screens), Escape on it, or a click on it closes the splash
    // screen; the key goes no further. A late timer then finds nothing to close.
    void splashClosesEarlyOnAKeyAnywhereOrAClick() {
        QLineEdit owner;
        owner.show();
        int triggered = 0;
        auto* action = new QAction(&owner);
        action->setShortcut(QKeySequence(Qt::Key_F5));
        owner.addAction(action);
        connect(action, &QAction::triggered, this, [&] { ++triggered; });
        owner.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        QTest::keyClick(&owner, Qt::Key_F5);
        QCOMPARE(triggered, 1);
        const std::function<void(QWidget*)> ways[] = {
            [&](QWidget*) { QTest::keyClick(&owner, Qt::Key_A); },
            [&](QWidget*) {
                QApplication::setActiveWindow(&owner);
                owner.setFocus();
                QTest::keyClick(&owner, Qt::Key_F5);
            },
            [](QWidget* s) { QTest::keyClick(s, Qt::Key_Escape); },
            [](QWidget* s) { QTest::mouseClick(child(s, "lblProductName"), Qt::LeftButton); },
        };
        for (const auto& close : ways) {
            std::function<void()> fire;
            QPointer<frmSplash> splash = new frmSplash(
                defaultProductInfo(), &owner,
                [&](int, std::function<void()> elapsed) { fire = std::move(elapsed); });
            splash->show();
            close(splash);
            QVERIFY(!splash->isVisible());
            QTRY_VERIFY(splash.isNull());
            fire();
        }
        QCOMPARE(triggered, 1);
        QCOMPARE(owner.text(), QString());
        // Once it is gone, keys reach the program again.
        QTest::keyClick(&owner, Qt::Key_B);
        QCOMPARE(owner.text(), QStringLiteral("b"));
    }

    void aboutBoxShowsTheCoresTexts() {
        ProductInfo info = defaultProductInfo();
        info.maker = "Beispiel AG";
        info.phone.clear();
        frmAbout about(info, Language::English);
        QStringList contact;
        for (const std::string& line : contactLines(info)) contact << QString::fromStdString(line);
        for (const Language language : {Language::English, Language::German}) {
            about.setLanguage(language);
            QCOMPARE(text(&about, "lblTitle"), QString::fromStdString(aboutTitle(info, language)));
            QCOMPARE(text(&about, "lblDescription"), contact.join('\n'));
            QCOMPARE(text(&about, "lblVersion"), QString::fromStdString(versionText()));
        }
        about.show();
        click(&about, "cmdOK");
        QVERIFY(about.isHidden());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void missingSystemInformationProgramIsReported() {
        const struct {
            std::optional<std::string> found;
            bool starts, reported;
        } cases[] = {
            {std::nullopt, true, true},          // none on this system
            {"/usr/bin/hardinfo", false, true},  // found, but it would not start
            {"/usr/bin/hardinfo", true, false},  // started: nothing to say
        };
        for (const auto& c : cases) {
            frmAbout about(defaultProductInfo(), Language::English);
            Boxes boxes;
            int started = 0;
            about.setMessagePresenter(&boxes);
            about.setSystemInfo({[&] { return c.found; },
                                 [&](const std::string& program) {
                                     started += program == c.found;
                                     return c.starts;
                                 }});
            about.show();
            click(&about, "cmdSysInfo");
            QCOMPARE(started, c.found ? 1 : 0);
            QCOMPARE(boxes.shown.size(), c.reported ? 1u : 0u);
            if (c.reported)
                QCOMPARE(boxes.shown[0].text,
                         "Systeminformationsprogramm zur Zeit nicht verfügbar.");
            QVERIFY(about.isVisible());  // the About box stays open
        }
    }

    void anzeilistLayoutAndTheLinesOfEachCycle() {
        const Record record = test::RecordBuilder().vt(20, 0.1);  // the window keeps a reference
        Anzeilist w(nullptr, record, Language::German);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* start = child<QPushButton>(&w, "start");
        QVERIFY(start->isDefault());
        // The first column of ten lines; the lamp in the top right corner, red.
        QCOMPARE(w.size(), QSize(px(w, 3000), px(w, 4500)));
        QCOMPARE(child(&w, "Picture1")->geometry(),
                 QRect(w.width() - px(w, 500), px(w, 50), px(w, 372), px(w, 132)));
        QCOMPARE(lamp(w), kRed);
        for (int k : {0, 19}) {  // the first line of the first column, the last of the second
            const int top = px(w, 600 + 360 * (k % 10));
            QCOMPARE(label(w, k)->geometry(),
                     QRect(px(w, k < 10 ? 120 : 3480), top, px(w, 2892), px(w, 252)));
            QCOMPARE(bar(w, k)->geometry(),
                     QRect(px(w, k < 10 ? 3000 : 6360), top, px(w, 372), px(w, 252)));
            QVERIFY(bar(w, k)->minimum() == 0 && bar(w, k)->maximum() == 34);
        }
        const QFontInfo font(label(w, 0)->font());
        QVERIFY2(font.family() == "Courier New" || font.family() == "Liberation Mono",
                 qPrintable(font.family()));
        QVERIFY(font.bold() && font.fixedPitch() && label(w, 0)->font().pointSize() == 12);

        // The cycles of a poll.
        w.resize(px(w, 10650), px(w, 4530));  // the user widens it to see both columns
        QSignalSpy started(&w, &Anzeilist::startRequested);
        QSignalSpy stopped(&w, &Anzeilist::stopRequested);
        QSignalSpy left(&w, &Anzeilist::leftWhilePolling);
        QTest::mouseClick(start, Qt::LeftButton);
        QCOMPARE(started.count(), 1);
        QCOMPARE(start->text(), QStringLiteral("STOP"));
        w.lineReceived("\x0C");
        QTRY_COMPARE(lamp(w), kGreen);
        w.lineReceived("  100.0 V    U1 /U");  // the record's transformers scale the line
        // Drawn at most ten times a second, with every line received meanwhile.
        QTRY_COMPARE(label(w, 0)->text(), QStringLiteral(" 20     KV   U1 /U"));
        // Label 12 switched to line 1 with its bar.
        bar(w, 12)->setValue(1);
        w.lineReceived("\x0C");
        QTRY_COMPARE(lamp(w), kRed);
        w.lineReceived("  101.0 V    U1 /U");
        w.lineReceived("  49.99 Hz   F");
        QTRY_COMPARE(label(w, 12)->text(), QStringLiteral("  49.99 Hz   F"));
        // Resizing clears every label and moves the lamp.
        w.resize(w.width() - 10, w.height());
        QTRY_COMPARE(labels(w), kEmpty);
        QCOMPARE(child(&w, "Picture1")->x(), w.width() - px(w, 500));

        // A language change while polling keeps "STOP".
        w.setLanguage(Language::English);
        QCOMPARE(start->text(), QStringLiteral("STOP"));
        QTest::mouseClick(start, Qt::LeftButton);
        QCOMPARE(stopped.count(), 1);
        QCOMPARE(start->text(), QStringLiteral("START"));
        QCOMPARE(lamp(w), kRed);
        QCOMPARE(bar(w, 12)->value(), 12);

        // "zurück" while polling closes the window and says so (the main window ends the poll
        // unless the trend shows it); it opens again afresh.
        QTest::mouseClick(start, Qt::LeftButton);
        w.lineReceived("\x0C");
        w.lineReceived("  100.0 V    U1 /U");
        QTest::mouseClick(child(&w, "zurück"), Qt::LeftButton);
        QCOMPARE(stopped.count(), 1);
        QCOMPARE(left.count(), 1);
        QVERIFY(!w.isVisible());
        w.show();
        QCOMPARE(w.size(), QSize(px(w, 3000), px(w, 4500)));
        QCOMPARE(labels(w), kEmpty);
        QCOMPARE(start->text(), QStringLiteral("START"));
        // Esc is "zurück" too, and a poll that ends by itself shows START again.
        QTest::mouseClick(start, Qt::LeftButton);
        w.pollEnded();
        QCOMPARE(start->text(), QStringLiteral("START"));
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    }

    void digAuswahlShowsTheRecordAndStoresOnOk() {
        Record record = test::RecordBuilder().connection(ThreeWireUnbalanced).flags({0, 3, 9, 36});
        Dig_Auswahl w(nullptr, record);
        QSignalSpy stored(&w, &Dig_Auswahl::stored);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(box(w, 34)->geometry(), QRect(px(w, 1068), px(w, 3840), px(w, 1455), px(w, 252)));
        for (int i = 0; i < kInterfaceCells; ++i) {
            QCOMPARE(box(w, i)->isEnabled(), i > 2);  // U1, U2, U3 barred
            QCOMPARE(box(w, i)->isChecked(), i == 3 || i == 9 || i == 36);
        }
        // Changes without OK leave the record as it was.
        QTest::mouseClick(box(w, 10), Qt::LeftButton);
        w.close();
        QCOMPARE(flagsOf(record), (QList<int>{0, 3, 9, 36}));
        // Shown again it re-reads the record, except U and I, which keep what they show.
        record.Schnittstellenwerte[14] = Cell(1);
        w.show();
        QVERIFY(!box(w, 10)->isChecked() && box(w, 14)->isChecked());
        QTest::mouseClick(box(w, 35), Qt::LeftButton);
        w.Form_Activate();
        QVERIFY(box(w, 35)->isChecked());
        QTest::mouseClick(box(w, 9), Qt::LeftButton);
        QTest::mouseClick(box(w, 1), Qt::LeftButton);  // disabled: nothing happens
        QTest::mouseClick(child(&w, "Command1"), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(stored.count(), 1);
        QCOMPARE(flagsOf(record), (QList<int>{3, 14, 35, 36}));  // U1 (0) dropped
        w.clearAll();
        for (int i = 0; i < kInterfaceCells; ++i) QVERIFY(!box(w, i)->isChecked());
    }
};

QTEST_MAIN(AddressAboutTest)
#include "address_about_test.moc"
