// The shared rig of the window tests: a main window on its own session and in-memory settings,
// a simulated transducer behind its port, and its message boxes and file dialogs answered here.
// Device sequences run in virtual time unless a test needs one to be still running.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "shell/session.h"
#include "shell/ui/main_window.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"
#include "support/fakes.h"

namespace kalvo::gui {

struct Rig final : MessagePresenter, FileDialogs {
    explicit Rig(sim::Options options = {}, bool realTime = false)
        : realTime(realTime), device(std::move(options)) {}

    // Makes the session from the settings stored now, and the window on it (shown if asked).
    frmMain& open(bool shown = false) {
        // The device thread's clock, used only there: virtual time unless asked otherwise.
        std::unique_ptr<Clock> owned = realTime ? std::unique_ptr<Clock>(new SystemClock)
                                                : std::make_unique<test::FakeClock>();
        Clock* clock = owned.get();
        session = std::make_unique<Session>(store, '.');
        window = std::make_unique<frmMain>(
            *session,
            [this, clock](int, const std::atomic<bool>* cancel) {
                return std::make_unique<sim::SimulatedPort>(device, *clock, cancel);
            },
            std::move(owned));
        window->setMessagePresenter(this);
        window->setFileDialogs(this);
        if (shown) window->show();
        return *window;
    }
    AppContext& ctx() { return session->context(); }

    void show(QWidget*, const MessageText& message) override {
        boxes.push_back(message);
        if (whileBox) whileBox();
    }
    bool ask(QWidget*, const MessageText& question) override {
        questions.push_back(question);
        return answer;
    }
    SaveChoice askSave(QWidget*, const MessageText& question) override {
        questions.push_back(question);
        return saveAnswer;
    }
    std::string openFile(QWidget*, const std::string& title,
                         const std::vector<std::string>& filters) override {
        return saveFile(nullptr, title, "-", filters);
    }
    std::string saveFile(QWidget*, const std::string& title, const std::string& presetName,
                         const std::vector<std::string>& filters) override {
        asked = QString::fromStdString(title + "|" + presetName);
        for (const auto& f : filters) asked += QString::fromStdString("|" + f);
        return nextFile;
    }

    QAction* action(const QString& name) const {
        QAction* a = window->findChild<QAction*>(name);
        if (a == nullptr) qFatal("no action %s", qPrintable(name));
        return a;
    }
    // The names among `names` whose action has the property.
    QStringList where(const QString& names, bool (QAction::*is)() const) const {
        QStringList out;
        for (const QString& n : names.split('|'))
            if ((action(n)->*is)()) out << n;
        return out;
    }
    QString panel(int n) const {
        return window->findChild<QLabel*>(QStringLiteral("sbStatusBar_%1").arg(n))->text();
    }
    QString panels() const { return panel(1) + '|' + panel(2) + '|' + panel(3); }
    void runToEnd(const char* command) {
        action(command)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!window->worker().busy(), 20000);
    }
    // The one box shown since the last call as "title|text", "!" first when critical.
    QString takeBox() {
        const auto shown = std::exchange(boxes, {});
        if (shown.size() != 1) return QStringLiteral("%1 boxes").arg(shown.size());
        return QString::fromStdString((shown[0].critical ? "!" : "") + shown[0].title + "|" +
                                      shown[0].text);
    }
    // Pixels for twips at the window's resolution, rounded.
    int px(int twips) const {
        const int dpi = window->logicalDpiX();
        return (twips * dpi + 720) / 1440;
    }

    QTemporaryDir dir;
    test::MemorySettings store;
    bool realTime;
    sim::Transducer device;
    std::unique_ptr<Session> session;
    std::vector<MessageText> boxes;
    std::vector<MessageText> questions;           // asked with Yes and No
    bool answer = false;                          // the answer to them
    SaveChoice saveAnswer = SaveChoice::Discard;  // to "save the changes?"
    std::function<void()> whileBox;               // runs while a box is on screen
    std::string nextFile;                         // the file dialogs' answer
    QString asked;  // the last dialog: title|preset|filters..., preset "-" for Open
    std::unique_ptr<frmMain> window;
};

// The child `name` of `window`; the test ends when there is none.
template <class T = QWidget>
T* child(const QWidget* window, const QString& name) {
    T* c = window->findChild<T*>(name);
    if (c == nullptr) qFatal("no %s in %s", qPrintable(name), qPrintable(window->objectName()));
    return c;
}
inline void click(const QWidget* window, const QString& button) {
    child<QAbstractButton>(window, button)->click();
}

// "2A/5D 120/1.2": the variant and the classes of a record.
inline QString variant(const Record& r) {
    return QString::asprintf("%dA/%dD %g/%g", r.Anzahl_Analog, r.Anzahl_Binaer, r.Max_Spannung,
                             r.Max_Strom);
}

// A record for the simulator's default variant (2A/5D, 120 V / 1.2 A) with its default
// configuration, but classes left at the start-up values, as an edited record would be.
inline Record recordFor2A5D() {
    Record r = newProject(2, 5, 120, 1.2);
    r.Max_Spannung = 600;
    r.Max_Strom = 5;
    r.Grundwerte[Basic::NominalFrequency] = Cell("60");
    return r;
}

// The cells a device of the record's variant uses, as it would see them (a number and its
// text alike).
inline QStringList cellTexts(const Record& r) {
    QStringList out;
    auto add = [&out](const auto& cells) {
        for (const Cell& c : cells) out << QString::fromStdString(c.toText('.'));
    };
    add(r.Grundwerte);
    for (int i = 0; i < r.Anzahl_Analog; ++i) add(r.Analogwerte[static_cast<std::size_t>(i)]);
    for (int i = 0; i < r.Anzahl_Binaer; ++i) add(r.Binaerwerte[static_cast<std::size_t>(i)]);
    add(r.Schnittstellenwerte);
    return out;
}

inline const QString kDeviceCommands =
    "mnupara|mnuprogr|mnudaten|mnufile_0|mnufile_1|mnucom_1|mnucom_8|tbToolBar_Programmieren|"
    "tbToolBar_Daten auslesen|tbToolBar_Parametrieren|tbToolBar_Neu|tbToolBar_Öffnen";

}  // namespace kalvo::gui
