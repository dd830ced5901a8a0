// The address change, standard address and direct input windows, the splash screen and the
// About box, driven like a user would: captions in both languages, the requests the windows
// hand to their owner, the results they show, the splash screen's timing and the About box's
// system information program. What an entry means and the About texts are the core's (link
// and product-info tests); here, that the windows pass them on. Offscreen; no device, no box.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <optional>
#include <vector>

#include "link/ui/address_windows.h"
#include "shell/product_info.h"
#include "shell/ui/about_window.h"
#include "shell/ui/splash_window.h"

using namespace kalvo;

namespace {

template <class T>
T* child(QWidget* window, const char* name) {
    T* w = window->findChild<T*>(QString::fromUtf8(name));
    if (w == nullptr) qFatal("no %s in %s", name, qPrintable(window->objectName()));
    return w;
}

QString text(QWidget* window, const char* name) {
    QWidget* w = child<QWidget>(window, name);
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    return qobject_cast<QLineEdit*>(w)->text();
}

void click(QWidget* window, const char* button) {
    QTest::mouseClick(child<QAbstractButton>(window, button), Qt::LeftButton);
}

bool shows(QWidget* window, const char* name) {
    return child<QWidget>(window, name)->isVisible();
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

}  // namespace

class AddressAboutTest : public QObject {
    Q_OBJECT
  private slots:
    void captionsInBothLanguagesFollowALanguageChange() {
        Adresse adresse;
        standartadr standard;
        Direkt direkt;
        frmAbout about(defaultProductInfo(), Language::German);
        struct Row {
            QWidget* window;
            const char* control;  // nullptr: the window title
            const char* german;
            const char* english;
        };
        const std::vector<Row> rows = {
            {&adresse, nullptr, "Ändern der Geräteadresse", "Change the device address"},
            {&adresse, "Label1", "neue Adresse", "new address "},
            {&adresse, "Label2", "alte Adresse", "old address "},
            {&adresse, "OK_Adresse_ändern", "OK", "OK"},
            {&adresse, "Abbrechen_Adresse_ändern", "Abbrechen", "Cancel"},
            {&adresse, "prüfen_check", "prüfen", "verify"},
            {&standard, nullptr, "Ändern der Standardadresse", "Change the standard address"},
            {&standard, "Label1", "Geben Sie die neue Standardadresse ein!",
             "Enter the new standard address!"},
            {&standard, "OK", "OK", "OK"},
            {&standard, "Abbrechen", "Abbrechen", "Cancel"},
            {&direkt, nullptr, "Direkteingabe Schnittstelle", "Direct input interface"},
            {&direkt, "Command1", "Senden", "Send"},
            {&direkt, "Command2", "Abbrechen", "Cancel"},
            {&about, nullptr, "Info Kalvo", "Info Kalvo"},
            {&about, "cmdOK", "OK", "OK"},
            {&about, "cmdSysInfo", "&System-Info...", "&System-Info..."},
        };
        // As built (German), then after each change.
        for (const std::optional<Language> change :
             {std::optional<Language>(), std::optional(Language::English),
              std::optional(Language::German)}) {
            if (change) {
                adresse.setLanguage(*change);
                standard.setLanguage(*change);
                direkt.setLanguage(*change);
                about.setLanguage(*change);
            }
            const bool english = change == Language::English;
            for (const Row& r : rows) {
                const QString shown =
                    r.control ? text(r.window, r.control) : r.window->windowTitle();
                QCOMPARE(shown, QString::fromUtf8(english ? r.english : r.german));
            }
        }
    }

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
            {"3,5", "abc", true, AddressChange{0, 0, true}, "0", "0"},
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

    void passedTestOffersTheNewAddressAsStandardAddress() {
        Adresse window;
        QSignalSpy chosen(&window, &Adresse::standardAddressChosen);
        window.showResult({AddressChange{0, 5, true}, Outcome::Ok});
        QVERIFY(window.isVisible());
        QCOMPARE(text(&window, "Ergebnis_Label"), QStringLiteral("OK"));
        auto* offer = child<QPushButton>(&window, "Standardadresse_Command");
        QVERIFY(offer->isVisible());
        QCOMPARE(offer->text(), QStringLiteral("Als &Standardadresse übernehmen"));
        QVERIFY(chosen.isEmpty());  // never taken by itself
        // The result belongs to the numbers it was sent with: typing a new one clears it.
        QTest::keyClicks(child<QLineEdit>(&window, "Text2"), "7");
        QVERIFY(!offer->isVisible() && !shows(&window, "Ergebnis_Label"));
        window.showResult({AddressChange{0, 5, true}, Outcome::Ok});
        QTest::mouseClick(offer, Qt::LeftButton);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen[0][0].toString(), QStringLiteral("5"));
        QVERIFY(window.isHidden());
        // Opened again, the window starts without the old result.
        window.show();
        QVERIFY(!offer->isVisible() && !shows(&window, "Ergebnis_Label"));
    }

    void onlyAFailedChangeOrAPassedTestIsShown() {
        Adresse window;
        window.showResult({AddressChange{0, 5, false}, Outcome::Ok});  // sent without a test
        window.showResult({AddressChange{0, 5, true}, Outcome::Cancelled});
        QVERIFY(window.isHidden());
        // A port that failed, with or without a test, shows the failure in the current language.
        for (const bool verify : {true, false}) {
            window.hide();
            window.showResult({AddressChange{0, 5, verify}, Outcome::LinkFailure});
            QVERIFY(window.isVisible());
            QCOMPARE(text(&window, "Ergebnis_Label"), verify ? kLinkFailureDe : kLinkFailureEn);
            QVERIFY(!shows(&window, "Standardadresse_Command"));
            window.setLanguage(Language::English);
            QCOMPARE(text(&window, "Ergebnis_Label"), kLinkFailureEn);
        }
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
        window.setCurrentAddress(QStringLiteral("5"));
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

    void splashClosesWhenItsTwoSecondsAreUp() {
        std::vector<int> started;
        std::function<void()> fire;
        QPointer<frmSplash> splash = new frmSplash(defaultProductInfo(), nullptr,
                                                   [&](int ms, std::function<void()> elapsed) {
                                                       started.push_back(ms);
                                                       fire = std::move(elapsed);
                                                   });
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
            [](QWidget* s) { QTest::mouseClick(child<QWidget>(s, "Frame1"), Qt::LeftButton); },
            [](QWidget* s) {
                QTest::mouseClick(child<QWidget>(s, "lblProductName"), Qt::LeftButton);
            },
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

    void splashShowsVersionProductAndMaker() {
        ProductInfo info = defaultProductInfo();
        info.maker = "Beispiel AG";
        info.rights = "© 2031 Beispiel AG";
        frmSplash splash(info, nullptr, [](int, std::function<void()>) {});
        QCOMPARE(text(&splash, "lblVersion"), QString::fromStdString(versionText()));
        QCOMPARE(text(&splash, "lblProductName"), QStringLiteral("Kalvo_Multi"));
        QCOMPARE(text(&splash, "lblCompany"), QStringLiteral("Beispiel AG"));
        QCOMPARE(text(&splash, "lblCompanyProduct"), QStringLiteral("Beispiel AG"));
        QCOMPARE(text(&splash, "lblCopyright"), QStringLiteral("© 2031 Beispiel AG"));
        QCOMPARE(text(&splash, "lblPlatform"), QStringLiteral("Win95, Win98, WinNT, WinXP"));
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
        // OK closes the box; so does Escape.
        about.show();
        click(&about, "cmdOK");
        QVERIFY(about.isHidden());
        QCOMPARE(about.result(), int(QDialog::Accepted));
        about.show();
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(about.isHidden());
    }

    void missingSystemInformationProgramIsReported() {
        struct Case {
            std::optional<std::string> found;
            bool starts;
            bool reported;
        };
        const std::vector<Case> cases = {
            {std::nullopt, true, true},          // none on this system
            {"/usr/bin/hardinfo", false, true},  // found, but it would not start
            {"/usr/bin/hardinfo", true, false},  // started: nothing to say
        };
        for (const Case& c : cases) {
            frmAbout about(defaultProductInfo(), Language::English);
            Boxes boxes;
            std::vector<std::string> started;
            about.setMessagePresenter(&boxes);
            about.setSystemInfo({[&] { return c.found; },
                                 [&](const std::string& program) {
                                     started.push_back(program);
                                     return c.starts;
                                 }});
            about.show();
            click(&about, "cmdSysInfo");
            QCOMPARE(started.size(), c.found ? 1u : 0u);
            QCOMPARE(boxes.shown.size(), c.reported ? 1u : 0u);
            if (c.reported) {
                QCOMPARE(boxes.shown[0].title, std::string("Kalvo_Multi"));
                QCOMPARE(boxes.shown[0].text,
                         std::string("Systeminformationsprogramm zur Zeit nicht verfügbar."));
            }
            QVERIFY(about.isVisible());  // the About box stays open
        }
    }
};

QTEST_MAIN(AddressAboutTest)
#include "address_about_test.moc"
