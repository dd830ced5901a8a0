// The parameter dialog driven like a user would, offscreen: widgets found by their object
// names, pages edited and left, faults that keep the user on a page, the reset notice, Cancel,
// the language pictures, the diagram view and the key filters.

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

#include <memory>

#include "config/rules.h"
#include "config/ui/param_dialog.h"
#include "text/param_texts.h"

using namespace kalvo;

namespace {

// One dialog on a record, with its own program folder.
struct Rig {
    explicit Rig(Record record = newProject(2, 1, 600, 5), Language language = Language::German,
                 char decimal = ',') {
        ctx.decimal = decimal;
        ctx.record = std::move(record);
        dialog = new param(ctx, language, folder.path());
        dialog->show();
    }
    ~Rig() { delete dialog.data(); }

    template <class T = QWidget>
    T* w(const QString& name) const {
        T* c = dialog->findChild<T*>(name);
        if (c == nullptr) qFatal("no widget %s", qPrintable(name));
        return c;
    }
    QListWidget* list() const { return w<QListWidget>(QStringLiteral("Parametrier_List")); }
    void select(int row) const { list()->setCurrentRow(row); }
    QString shown() const { return w<QLabel>(QStringLiteral("Copy_par_list_index_Label"))->text(); }
    QComboBox* combo(const QString& name) const { return w<QComboBox>(name); }
    QLineEdit* edit(const QString& name) const { return w<QLineEdit>(name); }
    // Replaces a field's text as the user would: select all, type.
    void type(QLineEdit* field, const QString& text) const {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    void type(const QString& name, const QString& text) const { type(edit(name), text); }
    void typeInCombo(const QString& name, const QString& text) const {
        type(combo(name)->lineEdit(), text);
    }
    QString picture(int stop) const {
        return w<QLabel>(QStringLiteral("stop1_%1").arg(stop))->property("picture").toString();
    }
    QStringList entries() const {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i) out << list()->item(i)->text();
        return out;
    }
    // The one page frame on show.
    QStringList framesShown() const {
        QStringList out;
        for (const char* f :
             {"Grundeinstellungen_Frame", "Analog_Frame", "Binar_Frame1", "Schnittstelle_Frame"}) {
            if (w(QString::fromUtf8(f))->isVisible()) out << QString::fromUtf8(f);
        }
        return out;
    }
    QDialog* meldung() const { return dialog->findChild<QDialog*>(QStringLiteral("Meldung")); }
    int twips(int t) const { return (t * dialog->logicalDpiX() + 720) / 1440; }

    AppContext ctx;
    QTemporaryDir folder;
    QPointer<param> dialog;
};

}  // namespace

class ParamDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void aNewProjectListsItsPagesAndShowsTheBasicPage() {
        Rig rig;
        QCOMPARE(rig.dialog->windowTitle(), QStringLiteral("Parametrierung"));
        QCOMPARE(rig.entries(),
                 QStringList({"Grundeinstellungen", "Analogausgang 1", "Analogausgang 2",
                              "Binärausgang 1", "Schnittstelle"}));
        QCOMPARE(rig.framesShown(), QStringList{"Grundeinstellungen_Frame"});
        QCOMPARE(rig.shown(), QStringLiteral("0"));
        QCOMPARE(rig.combo(QStringLiteral("Nenneingangsspannung_Combo"))->currentText(),
                 QStringLiteral("300"));
        QCOMPARE(rig.combo(QStringLiteral("Nenneingangsspannung_Combo"))->count(), 16);
        QCOMPARE(rig.combo(QStringLiteral("Nenneingangsspannung_Combo"))->itemText(15),
                 QStringLiteral("519,615242270664"));
        QCOMPARE(rig.combo(QStringLiteral("Nenneingangsstrom_Combo"))->currentText(),
                 QStringLiteral("5"));
        QCOMPARE(rig.w<QLabel>(QStringLiteral("L_L__L_N_Label"))->text(),
                 QStringLiteral(" (L - N)"));
        QCOMPARE(rig.w<QLabel>(QStringLiteral("Label4"))->text(),
                 QStringLiteral("L-L 519,6V L-N 300V 5A"));
        QVERIFY(rig.w(QStringLiteral("Grund_Meldung_Frame"))->isHidden());
        QCOMPARE(rig.dialog->width(), rig.twips(7900));
    }

    void everyCaptionNamesAControlOfTheDialog() {
        Rig rig;
        for (const Caption& row : paramCaptions()) {
            QString target =
                QString::fromUtf8(row.target.data(), static_cast<qsizetype>(row.target.size()));
            if (target.isEmpty()) continue;
            if (target.endsWith(QStringLiteral("@tip"))) target.chop(4);
            QVERIFY2(rig.dialog->findChild<QWidget*>(target) != nullptr, qPrintable(target));
        }
        QCOMPARE(rig.w<QAbstractButton>(QStringLiteral("Stromwandler_Option_0"))->text(),
                 QStringLiteral("ohne Wandler"));
        QCOMPARE(rig.w<QLabel>(QStringLiteral("Beschriftungen_Label_9"))->text(),
                 QStringLiteral("Meßgröße"));
    }

    void editingTheBasicPageStoresItAndResetsTheOutputs() {
        Rig rig;
        rig.combo(QStringLiteral("Anschlussart_Combo"))->setCurrentIndex(2);
        QCOMPARE(rig.w<QLabel>(QStringLiteral("L_L__L_N_Label"))->text(),
                 QStringLiteral(" (L - L)"));
        rig.typeInCombo(QStringLiteral("Nenneingangsspannung_Combo"), QStringLiteral("400"));
        rig.w<QAbstractButton>(QStringLiteral("Nennfrquenz_Option_0"))->click();
        rig.select(1);
        QCOMPARE(rig.shown(), QStringLiteral("1"));
        const BasicRow& g = rig.ctx.record.Grundwerte;
        QCOMPARE(g[Basic::ConnectionType], Cell(2));
        QCOMPARE(g[Basic::NominalFrequency], Cell(16.666));
        QCOMPARE(g[Basic::NominalVoltage], Cell(400.0));
        // Right after New the reset comes without the notice.
        QVERIFY(rig.meldung() == nullptr);
        QCOMPARE(rig.ctx.record.Analogwerte[1][Analog::RangeEnd], Cell(400.0));
        QCOMPARE(rig.edit(QStringLiteral("Analog_messbereich_bis_Text"))->text(),
                 QStringLiteral("400"));
        QCOMPARE(rig.combo(QStringLiteral("Messort_Analog_Combo"))->itemText(0),
                 QStringLiteral("L1 - L2"));
    }

    void editingAnAnalogPage() {
        Rig rig;
        rig.select(1);
        QCOMPARE(rig.framesShown(), QStringList{"Analog_Frame"});
        QCOMPARE(rig.w<QGroupBox>(QStringLiteral("Analog_Frame"))->title(),
                 QStringLiteral("Analogausgang 1"));
        rig.combo(QStringLiteral("Messgrösse_Analog_Combo"))->setCurrentIndex(1);  // Strom
        QCOMPARE(rig.combo(QStringLiteral("Messort_Analog_Combo"))->count(), 4);
        QCOMPARE(rig.edit(QStringLiteral("Analog_messbereich_bis_Text"))->text(),
                 QStringLiteral("5"));
        QCOMPARE(rig.w<QLabel>(QStringLiteral("Messbereichs_einheit_analog_Label"))->text(),
                 QStringLiteral("A"));
        QCOMPARE(rig.w<QLabel>(QStringLiteral("Analog_max_Messbereich_Label"))->text(),
                 QStringLiteral("0,0 ... 5,0 A"));
        rig.type(QStringLiteral("Analog_messbereich_bis_Text"), QStringLiteral("4"));
        QCOMPARE(rig.w<QLabel>(QStringLiteral("kn_1"))->text(), QStringLiteral("4,0"));
        rig.combo(QStringLiteral("Analog_Ausgangssignal_Einheit_Combo"))->setCurrentIndex(1);
        QCOMPARE(rig.edit(QStringLiteral("Analog_Ausgangssignal_von_Text"))->text(),
                 QStringLiteral("-10"));
        QCOMPARE(rig.edit(QStringLiteral("Analog_Ausgangssignal_max_Text"))->text(),
                 QStringLiteral("12"));
        QCOMPARE(rig.w<QLabel>(QStringLiteral("kn_5"))->text(), QStringLiteral("V"));
        rig.select(2);
        const AnalogRow& a = rig.ctx.record.Analogwerte[0];
        QCOMPARE(a[Analog::Quantity], Cell(1));
        QCOMPARE(a[Analog::RangeUnit], Cell("A"));
        QCOMPARE(a[Analog::RangeEnd], Cell(4.0));
        QCOMPARE(a[Analog::KneeInput], Cell(2.0));  // the midpoint of a straight line
        QCOMPARE(a[Analog::OutputUnit], Cell(1));
        QCOMPARE(a[Analog::OutputStart], Cell(-10.0));
        QCOMPARE(rig.w<QGroupBox>(QStringLiteral("Analog_Frame"))->title(),
                 QStringLiteral("Analogausgang 2"));
    }

    void theKinkedCharacteristicIsNotOfferedForPowerFactor() {
        Rig rig;
        rig.select(1);
        auto* knick = rig.w<QCheckBox>(QStringLiteral("knick_check"));
        knick->setChecked(true);
        QVERIFY(rig.w(QStringLiteral("Analog_Knick_Frame"))->isVisible());
        rig.combo(QStringLiteral("Messgrösse_Analog_Combo"))->setCurrentIndex(5);  // Wirkfaktor
        QVERIFY(!knick->isVisible());
        QVERIFY(!knick->isChecked());
        QVERIFY(!rig.w(QStringLiteral("Analog_Knick_Frame"))->isVisible());
        QVERIFY(rig.w(QStringLiteral("Beschriftungen_Label_8"))->isVisible());
        QCOMPARE(rig.w<QLabel>(QStringLiteral("Analog_max_Messbereich_Label"))->text(),
                 QStringLiteral("0,0 kap. ... 1,0 ind. "));
        QCOMPARE(rig.edit(QStringLiteral("Knickwert_Eingang_Text"))->text(), QStringLiteral("1"));
        rig.combo(QStringLiteral("Messgrösse_Analog_Combo"))->setCurrentIndex(2);
        QVERIFY(knick->isVisible());
        QVERIFY(!rig.w(QStringLiteral("Beschriftungen_Label_8"))->isVisible());
    }

    void editingABinaryPageInLimitMode() {
        Rig rig;
        rig.select(3);
        QCOMPARE(rig.framesShown(), QStringList{"Binar_Frame1"});
        QVERIFY(!rig.w(QStringLiteral("Binar_Frame2"))->isVisible());
        rig.w<QAbstractButton>(QStringLiteral("Signal_off_on_Grenzwert_Option_2"))->click();
        QVERIFY(rig.w(QStringLiteral("Binar_Frame2"))->isVisible());
        rig.combo(QStringLiteral("Messgrösse_Binär_Combo"))->setCurrentIndex(1);  // Strom
        QCOMPARE(rig.edit(QStringLiteral("Binär_Meldung_bei__Text"))->text(), QStringLiteral("5"));
        QCOMPARE(rig.w<QLabel>(QStringLiteral("Binär_max_Messbereich_Label"))->text(),
                 QStringLiteral("0,0 ... 6,0 A"));
        rig.type(QStringLiteral("Binär_Meldung_bei__Text"), QStringLiteral("4,5"));
        rig.w<QAbstractButton>(QStringLiteral("über_unterschreitung_Option_1"))->click();
        rig.select(4);
        const BinaryRow expected = {2, 1, 0, "A", 4.5, 1};
        QCOMPARE(rig.ctx.record.Binaerwerte[0], expected);
    }

    void aBinaryLimitAboveItsRangeKeepsTheUserOnThePage() {
        Rig rig;
        rig.select(3);
        rig.w<QAbstractButton>(QStringLiteral("Signal_off_on_Grenzwert_Option_2"))->click();
        rig.combo(QStringLiteral("Messgrösse_Binär_Combo"))->setCurrentIndex(1);
        rig.type(QStringLiteral("Binär_Meldung_bei__Text"), QStringLiteral("6,5"));
        rig.select(4);
        QCOMPARE(rig.shown(), QStringLiteral("3"));
        QCOMPARE(rig.list()->currentRow(), 3);
        QCOMPARE(rig.picture(6), QStringLiteral("Stop"));
        QCOMPARE(rig.w<QLabel>(QStringLiteral("Binär_Meldung_Image"))->property("picture"),
                 QVariant(QStringLiteral("Ausrufezeichen")));
        // A click into the limit field takes the warning away.
        QTest::mouseClick(rig.edit(QStringLiteral("Binär_Meldung_bei__Text")), Qt::LeftButton);
        QCOMPARE(rig.picture(6), QStringLiteral("Leer"));
        QCOMPARE(rig.w<QLabel>(QStringLiteral("Binär_Meldung_Image"))->property("picture"),
                 QVariant(QStringLiteral("Info")));
    }

    void aBlockedChangeKeepsTheFaultyPageCurrentInTheList() {
        // A faulty page left by mouse or arrow key, in either language: the page list shows
        // the page on screen as the current and selected one.
        const struct {
            int page;
            const char *option, *field;
        } faults[] = {{0, "Spannungswandler_Option_1", "Sekundäreingangsspannung_Text"},
                      {2, "knick_check", "Analog_messbereich_bis_Text"},
                      {3, "Signal_off_on_Grenzwert_Option_2", "Binär_Meldung_bei__Text"}};
        for (const Language language : {Language::German, Language::English}) {
            for (const auto& f : faults) {
                for (const bool byKey : {false, true}) {
                    Rig rig(newProject(2, 1, 600, 5), language);
                    rig.select(f.page);
                    rig.w<QAbstractButton>(QString::fromUtf8(f.option))->click();
                    rig.type(QString::fromUtf8(f.field), QStringLiteral("999"));
                    QListWidget* list = rig.list();
                    if (byKey) {
                        QTest::keyClick(list, f.page == 0 ? Qt::Key_Down : Qt::Key_Up);
                    } else {
                        const QRect other = list->visualItemRect(list->item(f.page == 0 ? 1 : 0));
                        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, other.center());
                    }
                    QCOMPARE(rig.shown(), QString::number(f.page));
                    QCOMPARE(list->currentRow(), f.page);
                    QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(f.page)});
                }
            }
        }
    }

    void theInterfacePageOffersTheBoxesOfTheConnectionType() {
        Record r = newProject(2, 1, 600, 5);
        r.Grundwerte[Basic::ConnectionType] = 1;
        r.Schnittstellenwerte[1] = 1;  // U2: not on a balanced four-wire network
        Rig rig(r);
        rig.select(4);
        QCOMPARE(rig.framesShown(), QStringList{"Schnittstelle_Frame"});
        auto* u1 = rig.w<QCheckBox>(QStringLiteral("Schnittstelle_Messgrösse_Check_0"));
        auto* u2 = rig.w<QCheckBox>(QStringLiteral("Schnittstelle_Messgrösse_Check_1"));
        auto* input = rig.w<QCheckBox>(QStringLiteral("Schnittstelle_Messgrösse_Check_34"));
        QVERIFY(u1->isEnabled());
        QVERIFY(!u2->isEnabled());
        QVERIFY(!u2->isChecked());
        QCOMPARE(input->text(), QStringLiteral("10VDC-Input"));
        u1->click();
        input->click();
        rig.select(0);
        QCOMPARE(rig.ctx.record.Schnittstellenwerte[0], Cell(1));
        QCOMPARE(rig.ctx.record.Schnittstellenwerte[1], Cell(0));
        QCOMPARE(rig.ctx.record.Schnittstellenwerte[34], Cell(1));
    }

    void aVoltageAboveTheLimitKeepsTheUserOnThePageAndBlocksOk() {
        Rig rig;
        QSignalSpy stored(rig.dialog, &param::stored);
        QSignalSpy closed(rig.dialog, &param::closed);
        rig.combo(QStringLiteral("Anschlussart_Combo"))->setCurrentIndex(2);
        rig.typeInCombo(QStringLiteral("Nenneingangsspannung_Combo"), QStringLiteral("520"));
        rig.select(1);
        QCOMPARE(rig.list()->currentRow(), 0);
        QCOMPARE(rig.shown(), QStringLiteral("0"));
        QCOMPARE(rig.framesShown(), QStringList{"Grundeinstellungen_Frame"});
        QCOMPARE(rig.picture(1), QStringLiteral("Stop"));
        QCOMPARE(rig.picture(2), QStringLiteral("Leer"));
        QVERIFY(rig.w(QStringLiteral("Grund_Meldung_Frame"))->isVisible());
        QVERIFY(rig.ctx.Eingabefehler);
        QVERIFY(rig.w<QTimer>(QStringLiteral("Timer1"))->isActive());
        QTRY_VERIFY(rig.w(QStringLiteral("stop1_1"))->isHidden());  // it blinks

        QVERIFY(!rig.dialog->OK_Parametrieren_Click());
        QVERIFY(!rig.dialog.isNull());
        QVERIFY(rig.dialog->isVisible());
        QCOMPARE(stored.count(), 1);
        QCOMPARE(closed.count(), 0);

        // Typing into the field takes the warning away; 519 passes and OK closes.
        rig.typeInCombo(QStringLiteral("Nenneingangsspannung_Combo"), QStringLiteral("519"));
        QCOMPARE(rig.picture(1), QStringLiteral("Leer"));
        QVERIFY(!rig.w<QTimer>(QStringLiteral("Timer1"))->isActive());
        QVERIFY(rig.w(QStringLiteral("Grund_Meldung_Frame"))->isHidden());
        QVERIFY(rig.dialog->OK_Parametrieren_Click());
        QCOMPARE(closed.count(), 1);
        QTRY_VERIFY(rig.dialog.isNull());
    }

    void anAnalogRangeAboveTheDefaultShowsTheExclamationMark() {
        Rig rig;
        rig.select(1);
        rig.type(QStringLiteral("Analog_messbereich_bis_Text"), QStringLiteral("301"));
        rig.select(0);
        QCOMPARE(rig.shown(), QStringLiteral("1"));
        QCOMPARE(rig.framesShown(), QStringList{"Analog_Frame"});
        QCOMPARE(rig.picture(3), QStringLiteral("Stop"));
        QCOMPARE(rig.w<QLabel>(QStringLiteral("Analog_Meldung_Image"))->property("picture"),
                 QVariant(QStringLiteral("Ausrufezeichen")));
        QCOMPARE(rig.edit(QStringLiteral("Analog_messbereich_bis_Text"))->text(),
                 QStringLiteral("301"));
    }

    void theResetNoticeAfterAnotherPageWasLeft() {
        Rig rig;
        rig.select(1);
        rig.select(0);  // leaving an analog page turns the notice on
        QVERIFY(!rig.ctx.Ruecksetzmeldung_aus);
        rig.combo(QStringLiteral("Anschlussart_Combo"))->setCurrentIndex(4);
        rig.select(3);
        QDialog* notice = rig.meldung();
        QVERIFY(notice != nullptr);
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->findChild<QLabel*>(QStringLiteral("lblM14"))->text(),
                 QStringLiteral("wurden zurückgesetzt,,"));
        QVERIFY(!rig.dialog->isEnabled());
        QCOMPARE(rig.ctx.record.Analogwerte[0][Analog::RangeEnd], Cell(300.0));
        notice->findChild<QAbstractButton*>(QStringLiteral("Command1"))->click();
        QVERIFY(rig.dialog->isEnabled());
        QCOMPARE(rig.framesShown(), QStringList{"Binar_Frame1"});
    }

    void noResetNoticeRightAfterNew() {
        Rig rig;
        QVERIFY(rig.ctx.Ruecksetzmeldung_aus);
        rig.combo(QStringLiteral("Anschlussart_Combo"))->setCurrentIndex(4);
        rig.select(1);
        QVERIFY(rig.meldung() == nullptr);
        QVERIFY(rig.dialog->isEnabled());
        QCOMPARE(rig.ctx.record.Grundwerte[Basic::ConnectionType], Cell(4));
    }

    void cancelKeepsThePagesLeftBefore() {
        Rig rig;
        QSignalSpy closed(rig.dialog, &param::closed);
        rig.typeInCombo(QStringLiteral("Nenneingangsspannung_Combo"), QStringLiteral("230"));
        rig.select(1);
        rig.type(QStringLiteral("Analog_messbereich_bis_Text"), QStringLiteral("100"));
        QVERIFY(rig.w(QStringLiteral("Abbruch_Parametrieren"))
                    ->toolTip()
                    .contains(QStringLiteral("bleiben gespeichert")));
        rig.w<QAbstractButton>(QStringLiteral("Abbruch_Parametrieren"))->click();
        QCOMPARE(closed.count(), 1);
        QTRY_VERIFY(rig.dialog.isNull());
        QCOMPARE(rig.ctx.record.Grundwerte[Basic::NominalVoltage], Cell(230.0));
        QCOMPARE(rig.ctx.record.Analogwerte[0][Analog::RangeEnd], Cell(230.0));  // not 100
    }

    void theDialectAndBack() {
        Rig rig(newProject(2, 1, 600, 5), Language::English);
        rig.ctx.language = Language::English;
        const Record before = rig.ctx.record;
        QCOMPARE(rig.dialog->windowTitle(), QStringLiteral("Configuration"));
        rig.w<QAbstractButton>(QStringLiteral("Fränkisch_Image"))->click();
        QCOMPARE(rig.dialog->windowTitle(), QStringLiteral("Bara-, Bara-, äh, Einschdellungen"));
        QCOMPARE(rig.entries(),
                 QStringList({"Grundeinschdellungen", "Analogoausgong 1", "Analogoausgong 2",
                              "Binäroausgong 1", "Schnittstelle"}));
        QCOMPARE(rig.w<QCheckBox>(QStringLiteral("knick_check"))->text(),
                 QStringLiteral("gegniggde Gennlinie"));
        QCOMPARE(rig.w<QLabel>(QStringLiteral("G2_0"))->text(),
                 QStringLiteral("Brimär:           Segundär:"));
        QCOMPARE(rig.combo(QStringLiteral("Anschlussart_Combo"))->itemText(0),
                 QStringLiteral("Vierleider beliebcher Belasdung"));
        QCOMPARE(rig.combo(QStringLiteral("Messgrösse_Binär_Combo"))->itemText(1),
                 QStringLiteral("Schdrohm"));
        QVERIFY(rig.ctx.language == Language::English);  // the pictures change only the dialog
        rig.w<QAbstractButton>(QStringLiteral("Deutsch_Image"))->click();
        QCOMPARE(rig.dialog->windowTitle(), QStringLiteral("Parametrierung"));
        QCOMPARE(rig.w<QAbstractButton>(QStringLiteral("Abbruch_Parametrieren"))->text(),
                 QStringLiteral("Abbruch"));
        QCOMPARE(rig.w<QAbstractButton>(QStringLiteral("Spannungswandler_Option_0"))->text(),
                 QStringLiteral("ohne Wandler"));
        QCOMPARE(rig.w<QAbstractButton>(QStringLiteral("Stromwandler_Option_1"))->text(),
                 QStringLiteral("mit Wandler"));
        // Leaving the page on screen stored it: the same values, now as numbers.
        QCOMPARE(QString::fromStdString(describeRecord(rig.ctx.record)),
                 QString::fromStdString(describeRecord(before)));
        QCOMPARE(rig.shown(), QStringLiteral("0"));
    }

    void aLanguageChangeStoresThePageOnScreenFirst() {
        Record r = newProject(2, 1, 600, 5);
        r.Binaerwerte[0] = {2, 1, 0, "A", 4.5, 1};  // not what a reset would make
        Rig rig(r);
        rig.select(1);
        rig.type(QStringLiteral("Analog_messbereich_bis_Text"), QStringLiteral("100"));
        rig.w<QAbstractButton>(QStringLiteral("Englisch_Image"))->click();
        QCOMPARE(rig.ctx.record.Analogwerte[0][Analog::RangeEnd], Cell(100.0));
        QCOMPARE(rig.framesShown(), QStringList{"Grundeinstellungen_Frame"});
        QCOMPARE(rig.list()->currentRow(), 0);
        QCOMPARE(rig.combo(QStringLiteral("Nenneingangsspannung_Combo"))->currentText(),
                 QStringLiteral("300"));  // the record's, not the list's start entry
        // The toolbar's switch does the same; a faulty page stays, now in German.
        rig.select(1);
        Record before = rig.ctx.record;
        rig.type(QStringLiteral("Analog_messbereich_bis_Text"), QStringLiteral("999"));
        rig.dialog->setLanguage(Language::German);
        QCOMPARE(rig.entries().at(1), QStringLiteral("Analogausgang 1"));
        QCOMPARE(rig.shown(), QStringLiteral("1"));
        QCOMPARE(rig.framesShown(), QStringList{"Analog_Frame"});
        QCOMPARE(rig.edit(QStringLiteral("Analog_messbereich_bis_Text"))->text(),
                 QStringLiteral("999"));
        QCOMPARE(rig.picture(3), QStringLiteral("Stop"));
        // Corrected and left, it resets nothing: the switch changed no basic setting.
        rig.type(QStringLiteral("Analog_messbereich_bis_Text"), QStringLiteral("200"));
        rig.select(3);
        QVERIFY(rig.meldung() == nullptr);
        before.Analogwerte[0] = rig.ctx.record.Analogwerte[0];
        QCOMPARE(rig.ctx.record.Analogwerte[0][Analog::RangeEnd], Cell(200.0));
        QVERIFY(rig.ctx.record == before);
    }

    void theCaptionCarriesTheFileName() {
        Rig rig;
        rig.dialog->setCaptionFile(QStringLiteral("anlage\\kalvo.cfg"));
        QCOMPARE(rig.dialog->windowTitle(),
                 QStringLiteral("Parametrierung    [anlage\\kalvo.cfg]"));
        rig.dialog->setLanguage(Language::English);
        QCOMPARE(rig.dialog->windowTitle(), QStringLiteral("Configuration    [anlage\\kalvo.cfg]"));
    }

    void theDiagramButtonWidensTheDialogOnTheScreen() {
        Rig rig;
        auto* button = rig.w<QAbstractButton>(QStringLiteral("anbild"));
        QCOMPARE(button->text(), QStringLiteral(">>"));
        button->click();
        QCOMPARE(button->text(), QStringLiteral("<<"));
        // The offscreen screen is narrower than the 14400 twips the dialog would like.
        const QRect area = rig.dialog->screen()->availableGeometry();
        QVERIFY(area.width() < rig.twips(14400));
        QVERIFY(area.contains(rig.dialog->frameGeometry()));
        QCOMPARE(rig.dialog->frameGeometry().width(), area.width());
        QWidget* picture = rig.w(QStringLiteral("Picture1"));
        QVERIFY(picture->isVisible());
        QVERIFY(rig.dialog->rect().contains(picture->geometry()));
        button->click();
        QCOMPARE(button->text(), QStringLiteral(">>"));
        QCOMPARE(rig.dialog->width(), rig.twips(7900));
        QCOMPARE(rig.dialog->x(), rig.twips(3720));
        QVERIFY(!picture->isVisible());
    }

    void theWiringPictureComesFromTheProgramFolder() {
        Rig rig;
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(rig.folder.filePath(QStringLiteral("s3u.sb")), "PNG"));
        auto* picture = rig.w<QLabel>(QStringLiteral("Anschlußbild_Image"));
        rig.combo(QStringLiteral("Anschlussart_Combo"))->setCurrentIndex(2);
        QVERIFY(!picture->pixmap().isNull());
        rig.combo(QStringLiteral("Anschlussart_Combo"))->setCurrentIndex(1);  // s4g.sb is missing
        QVERIFY(picture->pixmap().isNull());
        rig.select(1);  // and nothing else minds
        QCOMPARE(rig.shown(), QStringLiteral("1"));
    }

    void theTestButtonShowsTheRecordAndTogglesTheLanguagePictures() {
        Rig rig;
        rig.w<QAbstractButton>(QStringLiteral("test"))->click();
        auto* view = rig.dialog->findChild<QWidget*>(QStringLiteral("Überwachung"));
        QVERIFY(view != nullptr);
        QVERIFY(view->isVisible());
        QCOMPARE(view->findChild<QListWidget*>(QStringLiteral("List2_1"))->count(), 8);
        QVERIFY(rig.w(QStringLiteral("Frame2"))->isHidden());
        rig.w<QAbstractButton>(QStringLiteral("test"))->click();
        QVERIFY(!rig.w(QStringLiteral("Frame2"))->isHidden());
    }

    void numberFieldsFilterKeysAndPastedText() {
        Rig rig;
        QLineEdit* volts = rig.combo(QStringLiteral("Nenneingangsspannung_Combo"))->lineEdit();
        volts->clear();
        QTest::keyClicks(volts, QStringLiteral("-230.5,7,"));
        QCOMPARE(volts->text(), QStringLiteral("230,57"));
        // Where the system writes a point, the comma key types it.
        Rig point(newProject(2, 1, 600, 5), Language::German, '.');
        QLineEdit* amps = point.combo(QStringLiteral("Nenneingangsstrom_Combo"))->lineEdit();
        amps->clear();
        QTest::keyClicks(amps, QStringLiteral("0,5"));
        QCOMPARE(amps->text(), QStringLiteral("0.5"));

        rig.select(1);
        QLineEdit* start = rig.edit(QStringLiteral("Analog_messbereich_von_Text"));
        start->clear();
        QTest::keyClicks(start, QStringLiteral("--1.,5,x-"));
        QCOMPARE(start->text(), QStringLiteral("-1,5"));
        QTest::keyClick(start, Qt::Key_Return);  // swallowed: the dialog stays
        QVERIFY(rig.dialog->isVisible());
        start->selectAll();  // a key is judged against the text it replaces the selection in
        QTest::keyClicks(start, QStringLiteral("-100"));
        QCOMPARE(start->text(), QStringLiteral("-100"));
        // Pasted text is taken only when it could have been typed.
        start->clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("1-5"));
        start->paste();
        QCOMPARE(start->text(), QString());
        QGuiApplication::clipboard()->setText(QStringLiteral("-2,5"));
        start->paste();
        QCOMPARE(start->text(), QStringLiteral("-2,5"));
    }

    void okStoresThePageAndReportsFaultsOfOtherPages() {
        Record r = newProject(2, 1, 600, 5);
        r.Analogwerte[1][Analog::RangeEnd] = 999;  // a fault on a page not shown
        Rig rig(r);
        QSignalSpy stored(rig.dialog, &param::stored);
        QSignalSpy closed(rig.dialog, &param::closed);
        rig.w<QAbstractButton>(QStringLiteral("Nennfrquenz_Option_2"))->click();
        QVERIFY(!rig.dialog->OK_Parametrieren_Click());
        QCOMPARE(stored.count(), 1);
        QCOMPARE(closed.count(), 1);  // the page shown was clean
        QCOMPARE(rig.ctx.record.Grundwerte[Basic::NominalFrequency], Cell(60));
        QCOMPARE(rig.ctx.record.Analogwerte[1][Analog::RangeEnd], Cell(999));
    }

    void anEmptyRecordLeavesTheBasicControlsAsTheyAre() {
        Rig rig;
        rig.select(1);
        // The record loses its voltage while the dialog is open (read back from a device).
        rig.ctx.record.Grundwerte[Basic::NominalVoltage] = 0;
        rig.ctx.record.Grundwerte[Basic::VtSecondary] = 0;
        rig.combo(QStringLiteral("Messgrösse_Analog_Combo"))->setCurrentIndex(3);
        rig.select(0);
        QCOMPARE(rig.combo(QStringLiteral("Nenneingangsspannung_Combo"))->currentText(),
                 QStringLiteral("300"));
        QVERIFY(!rig.w<QAbstractButton>(QStringLiteral("Spannungswandler_Option_1"))->isChecked());
        QCOMPARE(rig.combo(QStringLiteral("Messgrösse_Analog_Combo"))->currentIndex(), 0);
    }
};

QTEST_MAIN(ParamDialogTest)
#include "param_dialog_test.moc"
