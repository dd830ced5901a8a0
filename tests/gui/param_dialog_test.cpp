// The parameter dialog driven like a user would, offscreen: widgets found by their object
// names, pages edited and left, faults that keep the user on a page, the reset notice, Cancel,
// the language pictures, the diagram view and the key filters. What the pages check and store
// is the core's (tests/unit/config); here only that the window passes it on and shows it.

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "config/rules.h"
#include "config/ui/param_dialog.h"

using namespace kalvo;

namespace {

// One dialog on a record, with its own program folder.
struct Rig {
    explicit Rig(Record record = newProject(2, 1, 600, 5), char decimal = ',') {
        this->record = std::move(record);
        dialog = new param(this->record, flags, decimal, Language::German, folder.path());
        dialog->show();
    }
    ~Rig() { delete dialog.data(); }

    template <class T = QWidget>
    T* w(const QString& name) const {
        T* c = dialog->findChild<T*>(name);
        if (c == nullptr) qFatal("no widget %s", qPrintable(name));
        return c;
    }
    QListWidget* list() const { return w<QListWidget>("Parametrier_List"); }
    void select(int row) const { list()->setCurrentRow(row); }
    QString shown() const { return w<QLabel>("Copy_par_list_index_Label")->text(); }
    QComboBox* combo(const QString& name) const { return w<QComboBox>(name); }
    QLineEdit* edit(const QString& name) const { return w<QLineEdit>(name); }
    void click(const QString& name) const { w<QAbstractButton>(name)->click(); }
    // The text a label, field, list or group shows; a warning sign's picture.
    QString text(const QString& name) const {
        QWidget* x = w(name);
        if (auto* l = qobject_cast<QLabel*>(x))
            return l->text().isEmpty() ? l->property("picture").toString() : l->text();
        if (auto* c = qobject_cast<QComboBox*>(x)) return c->currentText();
        if (auto* g = qobject_cast<QGroupBox*>(x)) return g->title();
        if (auto* b = qobject_cast<QAbstractButton*>(x)) return b->text();
        return edit(name)->text();
    }
    // Every named control shows its text.
    void expect(std::initializer_list<std::pair<const char*, const char*>> texts) const {
        for (const auto& [name, shown] : texts) {
            QVERIFY2(text(name) == shown, qPrintable(QString(name) + ": " + text(name)));
        }
    }
    // Replaces a field's text as the user would: select all, type.
    void type(QLineEdit* field, const QString& text) const {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    void type(const QString& name, const QString& text) const { type(edit(name), text); }
    void typeVoltage(const QString& text) const {
        type(combo("Nenneingangsspannung_Combo")->lineEdit(), text);
    }
    // The one page frame on show.
    QString frameShown() const {
        QStringList out;
        for (const char* f :
             {"Grundeinstellungen_Frame", "Analog_Frame", "Binar_Frame1", "Schnittstelle_Frame"}) {
            if (w(f)->isVisible()) out << f;
        }
        return out.join('+');
    }
    QDialog* meldung() const { return dialog->findChild<QDialog*>("Meldung"); }
    int twips(int t) const { return (t * dialog->logicalDpiX() + 720) / 1440; }

    Record record;
    DialogFlags flags;
    QTemporaryDir folder;
    QPointer<param> dialog;
};

}  // namespace

class ParamDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void aNewProjectShowsTheBasicPageAndEditingItResetsTheOutputs() {
        Rig rig;
        QCOMPARE(rig.list()->count(), 5);
        QCOMPARE(rig.frameShown(), "Grundeinstellungen_Frame");
        QCOMPARE(rig.combo("Nenneingangsspannung_Combo")->count(), 16);  // the 600 V list
        rig.expect({{"Nenneingangsspannung_Combo", "300"}, {"Label4", "L-L 519,6V L-N 300V 5A"}});
        QVERIFY(rig.w("Grund_Meldung_Frame")->isHidden());
        QCOMPARE(rig.dialog->width(), rig.twips(7900));
        rig.combo("Anschlussart_Combo")->setCurrentIndex(2);
        QCOMPARE(rig.text("L_L__L_N_Label"), " (L - L)");
        rig.typeVoltage("400");
        rig.click("Nennfrquenz_Option_0");
        rig.select(1);
        QCOMPARE(rig.record.Grundwerte, (BasicRow{2, 16.666, 400.0, 0, 0, 5.0, 0, 0}));
        QVERIFY(rig.meldung() == nullptr);  // right after New the reset comes without the notice
        rig.expect({{"Analog_messbereich_bis_Text", "400"}, {"Messort_Analog_Combo", "L1 - L2"}});
    }

    void editingAnAnalogPage() {
        Rig rig;
        rig.select(1);
        QCOMPARE(rig.frameShown(), "Analog_Frame");
        auto* knick = rig.w<QCheckBox>("knick_check");
        knick->setChecked(true);
        rig.combo("Messgrösse_Analog_Combo")->setCurrentIndex(5);  // Wirkfaktor: no knee
        QVERIFY(!knick->isVisible() && !knick->isChecked());
        QVERIFY(!rig.w("Analog_Knick_Frame")->isVisible());
        QVERIFY(rig.w("Beschriftungen_Label_8")->isVisible());
        QCOMPARE(rig.text("Knickwert_Eingang_Text"), "1");
        rig.combo("Messgrösse_Analog_Combo")->setCurrentIndex(1);  // Strom
        QVERIFY(knick->isVisible() && !rig.w("Beschriftungen_Label_8")->isVisible());
        rig.expect({{"Messbereichs_einheit_analog_Label", "A"},
                    {"Analog_max_Messbereich_Label", "0,0 ... 5,0 A"}});
        rig.type("Analog_messbereich_bis_Text", "4");
        rig.combo("Analog_Ausgangssignal_Einheit_Combo")->setCurrentIndex(1);
        rig.expect({{"kn_1", "4,0"}, {"kn_5", "V"}, {"Analog_Ausgangssignal_max_Text", "12"}});
        knick->setChecked(true);
        QVERIFY(rig.w("Analog_Knick_Frame")->isVisible());
        rig.type("Knickwert_Eingang_Text", "3");
        rig.select(2);
        QCOMPARE(rig.record.Analogwerte[0],
                 (AnalogRow{1, 0, "A", 0.0, 3.0, 4.0, 1, -10.0, 0.0, 10.0, -12.0, 12.0, 1}));
        QCOMPARE(rig.text("Analog_Frame"), "Analogausgang 2");
    }

    void editingABinaryPageInLimitMode() {
        Rig rig;
        rig.select(3);
        QVERIFY(!rig.w("Binar_Frame2")->isVisible());
        rig.click("Signal_off_on_Grenzwert_Option_2");
        QVERIFY(rig.w("Binar_Frame2")->isVisible());
        rig.combo("Messgrösse_Binär_Combo")->setCurrentIndex(1);  // Strom
        rig.expect(
            {{"Binär_Meldung_bei__Text", "5"}, {"Binär_max_Messbereich_Label", "0,0 ... 6,0 A"}});
        rig.type("Binär_Meldung_bei__Text", "4,5");
        rig.click("über_unterschreitung_Option_1");
        rig.select(4);
        QCOMPARE(rig.record.Binaerwerte[0], (BinaryRow{2, 1, 0, "A", 4.5, 1}));
    }

    void aFaultyPageStaysCurrentWithItsStopSign() {
        // A faulty page left by mouse or arrow key: the page list shows the page on screen as
        // the current and selected one, its stop sign and its warning picture.
        const struct {
            int page;
            const char *option, *field, *stop, *image;
        } faults[] = {
            {0, "Spannungswandler_Option_1", "Sekundäreingangsspannung_Text", "stop1_1", "stop1_1"},
            {2, "knick_check", "Analog_messbereich_bis_Text", "stop1_3", "Analog_Meldung_Image"},
            {3, "Signal_off_on_Grenzwert_Option_2", "Binär_Meldung_bei__Text", "stop1_6",
             "Binär_Meldung_Image"}};
        for (const auto& f : faults) {
            for (const bool byKey : {false, true}) {
                Rig rig;
                rig.select(f.page);
                rig.click(f.option);
                rig.type(f.field, "999");
                QListWidget* list = rig.list();
                if (byKey) {
                    QTest::keyClick(list, f.page == 0 ? Qt::Key_Down : Qt::Key_Up);
                } else {
                    const QRect other = list->visualItemRect(list->item(f.page == 0 ? 1 : 0));
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, other.center());
                }
                QCOMPARE(rig.shown(), QString::number(f.page));
                QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(f.page)});
                QCOMPARE(list->currentRow(), f.page);
                rig.expect({{f.field, "999"}, {f.stop, "Stop"}});
                if (f.page > 0) QCOMPARE(rig.text(f.image), "Ausrufezeichen");
                if (f.page != 3) continue;
                // A click into the binary limit field takes the warning away.
                QTest::mouseClick(rig.edit(f.field), Qt::LeftButton);
                rig.expect({{f.stop, "Leer"}, {f.image, "Info"}});
            }
        }
    }

    void theInterfacePageOffersTheBoxesOfTheConnectionType() {
        Record r = newProject(2, 1, 600, 5);
        r.Grundwerte[Basic::ConnectionType] = 1;
        r.Schnittstellenwerte[1] = 1;  // U2: not on a balanced four-wire network
        Rig rig(r);
        rig.select(4);
        QCOMPARE(rig.frameShown(), "Schnittstelle_Frame");
        auto* u2 = rig.w<QCheckBox>("Schnittstelle_Messgrösse_Check_1");
        QVERIFY(!u2->isEnabled() && !u2->isChecked());
        rig.click("Schnittstelle_Messgrösse_Check_34");
        rig.select(0);
        QCOMPARE(rig.record.Schnittstellenwerte[1], Cell(0));
        QCOMPARE(rig.record.Schnittstellenwerte[34], Cell(1));
    }

    void aVoltageAboveTheLimitBlinksAndBlocksOk() {
        Rig rig;
        QSignalSpy stored(rig.dialog, &param::stored);
        QSignalSpy closed(rig.dialog, &param::closed);
        rig.typeVoltage("520");
        rig.select(1);
        rig.expect({{"stop1_1", "Stop"}, {"stop1_2", "Leer"}});
        QVERIFY(rig.w("Grund_Meldung_Frame")->isVisible());
        QTRY_VERIFY(rig.w("stop1_1")->isHidden());  // it blinks
        QTRY_VERIFY(!rig.w("stop1_1")->isHidden());
        QVERIFY(!rig.dialog->OK_Parametrieren_Click());
        QVERIFY(!rig.dialog.isNull() && rig.dialog->isVisible());
        QCOMPARE(stored.count(), 1);
        // Typing into the field takes the warning away; 300 passes and OK closes.
        rig.typeVoltage("300");
        QCOMPARE(rig.text("stop1_1"), "Leer");
        QVERIFY(!rig.w<QTimer>("Timer1")->isActive());
        QVERIFY(rig.w("Grund_Meldung_Frame")->isHidden());
        QVERIFY(rig.dialog->OK_Parametrieren_Click());
        QCOMPARE(closed.count(), 1);
        QTRY_VERIFY(rig.dialog.isNull());
    }

    void okStoresThePageAndReportsFaultsOfOtherPages() {
        Record r = newProject(2, 1, 600, 5);
        r.Analogwerte[1][Analog::RangeEnd] = 999;  // a fault on a page not shown
        Rig rig(r);
        QSignalSpy closed(rig.dialog, &param::closed);
        rig.click("Nennfrquenz_Option_2");
        QVERIFY(!rig.dialog->OK_Parametrieren_Click());
        QCOMPARE(closed.count(), 1);  // the page shown was clean
        QCOMPARE(rig.record.Grundwerte[Basic::NominalFrequency], Cell(60));
    }

    void theResetNoticeAfterAnotherPageWasLeft() {
        Rig rig;
        rig.select(1);
        rig.select(0);  // leaving an analog page turns the notice on
        rig.combo("Anschlussart_Combo")->setCurrentIndex(4);
        rig.select(3);
        QDialog* notice = rig.meldung();
        QVERIFY(notice != nullptr && notice->isVisible() && !rig.dialog->isEnabled());
        notice->findChild<QAbstractButton*>("Command1")->click();
        QVERIFY(rig.dialog->isEnabled());
        QCOMPARE(rig.frameShown(), "Binar_Frame1");
    }

    void cancelKeepsThePagesLeftBefore() {
        Rig rig;
        QSignalSpy closed(rig.dialog, &param::closed);
        rig.typeVoltage("230");
        rig.select(1);
        rig.type("Analog_messbereich_bis_Text", "100");
        rig.click("Abbruch_Parametrieren");
        QCOMPARE(closed.count(), 1);
        QTRY_VERIFY(rig.dialog.isNull());
        QCOMPARE(rig.record.Grundwerte[Basic::NominalVoltage], Cell(230.0));
        QCOMPARE(rig.record.Analogwerte[0][Analog::RangeEnd], Cell(230.0));  // not 100
    }

    void aLanguageChangeStoresThePageOnScreenFirst() {
        Record r = newProject(2, 1, 600, 5);
        r.Binaerwerte[0] = {2, 1, 0, "A", 4.5, 1};  // not what a reset would make
        Rig rig(r);
        rig.dialog->setCaptionFile("anlage\\kalvo.cfg");
        rig.select(1);
        rig.type("Analog_messbereich_bis_Text", "100");
        rig.click("Englisch_Image");
        QCOMPARE(rig.dialog->windowTitle(), "Configuration    [anlage\\kalvo.cfg]");
        QCOMPARE(rig.record.Analogwerte[0][Analog::RangeEnd], Cell(100.0));
        QCOMPARE(rig.frameShown(), "Grundeinstellungen_Frame");
        QCOMPARE(rig.list()->currentRow(), 0);
        // The record's voltage, not the list's start entry.
        QCOMPARE(rig.text("Nenneingangsspannung_Combo"), "300");
        // The toolbar's switch does the same; a faulty page stays, now in German.
        rig.select(1);
        Record before = rig.record;
        rig.type("Analog_messbereich_bis_Text", "999");
        rig.dialog->setLanguage(Language::German);
        QCOMPARE(rig.frameShown(), "Analog_Frame");
        rig.expect({{"Analog_Frame", "Analogausgang 1"},
                    {"Analog_messbereich_bis_Text", "999"},
                    {"stop1_3", "Stop"}});
        // Corrected and left, it resets nothing: the switch changed no basic setting.
        rig.type("Analog_messbereich_bis_Text", "200");
        rig.select(3);
        QVERIFY(rig.meldung() == nullptr);
        QCOMPARE(rig.record.Analogwerte[0][Analog::RangeEnd], Cell(200.0));
        before.Analogwerte[0] = rig.record.Analogwerte[0];
        QVERIFY(rig.record == before);
    }

    // "TEST 1" shows the record and hides the language pictures; the diagram button shows the
    // wiring picture.
    void theTestAndDiagramButtons() {
        Rig rig;
        rig.click("test");
        QVERIFY(rig.w("Überwachung")->isVisible() && rig.w("Frame2")->isHidden());
        QCOMPARE(rig.w<QListWidget>("List2_1")->count(), 8);
        rig.click("test");
        QVERIFY(!rig.w("Frame2")->isHidden());
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(rig.folder.filePath("s3u.sb"), "PNG"));
        auto* button = rig.w<QAbstractButton>("anbild");
        button->click();
        QCOMPARE(button->text(), "<<");
        // Widened, on the screen it has (where it goes is the core's).
        QVERIFY(rig.dialog->screen()->availableGeometry().contains(rig.dialog->frameGeometry()));
        QVERIFY(rig.dialog->width() > rig.twips(7900));
        QWidget* picture = rig.w("Picture1");
        QVERIFY(picture->isVisible() && rig.dialog->rect().contains(picture->geometry()));
        auto* wiring = rig.w<QLabel>("Anschlußbild_Image");
        rig.combo("Anschlussart_Combo")->setCurrentIndex(2);
        QVERIFY(!wiring->pixmap().isNull());
        rig.combo("Anschlussart_Combo")->setCurrentIndex(1);  // s4g.sb is missing
        QVERIFY(wiring->pixmap().isNull());
        button->click();
        QCOMPARE(button->text(), ">>");
        QCOMPARE(rig.dialog->width(), rig.twips(7900));
        QCOMPARE(rig.dialog->x(), rig.twips(3720));
        QVERIFY(!picture->isVisible());
    }

    void numberFieldsFilterKeysAndPastedText() {
        // Where the system writes a point, the comma key types it; no minus in a voltage.
        Rig point(newProject(2, 1, 600, 5), '.');
        QLineEdit* volts = point.combo("Nenneingangsspannung_Combo")->lineEdit();
        volts->clear();
        QTest::keyClicks(volts, "-230,5");
        QCOMPARE(volts->text(), "230.5");
        Rig rig;
        rig.select(1);
        QLineEdit* start = rig.edit("Analog_messbereich_von_Text");
        QTest::keyClick(start, Qt::Key_Return);  // swallowed: the dialog stays
        QVERIFY(rig.dialog->isVisible());
        start->selectAll();  // a key is judged against the text it replaces the selection in
        QTest::keyClicks(start, "-1.5-");
        QCOMPARE(start->text(), "-1,5");
        // Pasted text is taken only when it could have been typed.
        start->clear();
        QGuiApplication::clipboard()->setText("1-5");
        start->paste();
        QCOMPARE(start->text(), QString());
        QGuiApplication::clipboard()->setText("-2,5");
        start->paste();
        QCOMPARE(start->text(), "-2,5");
    }

    void anEmptyRecordLeavesTheBasicControlsAsTheyAre() {
        Rig rig;
        rig.select(1);
        // The record loses its voltage while the dialog is open (read back from a device).
        rig.record.Grundwerte[Basic::NominalVoltage] = 0;
        rig.record.Grundwerte[Basic::VtSecondary] = 0;
        rig.combo("Messgrösse_Analog_Combo")->setCurrentIndex(3);
        rig.select(0);
        QCOMPARE(rig.text("Nenneingangsspannung_Combo"), "300");
        QVERIFY(!rig.w<QAbstractButton>("Spannungswandler_Option_1")->isChecked());
        QCOMPARE(rig.combo("Messgrösse_Analog_Combo")->currentIndex(), 0);
    }
};

QTEST_MAIN(ParamDialogTest)
#include "param_dialog_test.moc"
