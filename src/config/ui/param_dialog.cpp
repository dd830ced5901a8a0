#include "config/ui/param_dialog.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "config/rules.h"
#include "config/ui/analog_page.h"
#include "config/ui/basic_page.h"
#include "config/ui/binary_page.h"
#include "config/ui/interface_page.h"
#include "config/ui/quiet.h"
#include "config/ui/signs.h"
#include "text/captions.h"
#include "text/param_texts.h"
#include "widgets/apply_texts.h"
#include "widgets/aux_windows.h"
#include "widgets/qt_text.h"
#include "widgets/twips.h"

namespace kalvo {

namespace {

constexpr int kSignSize = 20;

QToolButton* languagePicture(const QString& name, const QString& icon, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(QIcon(icon));
    b->setIconSize(QSize(32, 32));
    b->setAutoRaise(true);
    return b;
}

QLabel* templatePicture(const QString& name, const QPixmap& picture, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setPixmap(picture);
    l->hide();
    return l;
}

// The page list. When the dialog refuses a page change (the page left has a fault), it puts
// the current row back on the page shown while the mouse press or key that moved it is still
// being handled; the view then selects the row it was aiming at. The selection follows the
// current row again once the view is done, so the list highlights the page on screen.
class PageList final : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        QListWidget::mousePressEvent(event);
        followCurrent();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        QListWidget::mouseMoveEvent(event);
        followCurrent();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QListWidget::mouseReleaseEvent(event);
        followCurrent();
    }
    void keyPressEvent(QKeyEvent* event) override {
        QListWidget::keyPressEvent(event);
        followCurrent();
    }

  private:
    void followCurrent() {
        const QModelIndex current = currentIndex();
        if (current.isValid() && !selectionModel()->isSelected(current)) {
            selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
        }
    }
};

}  // namespace

param::param(Record& record, DialogFlags& flags, char decimal, Language language,
             QString programFolder, QWidget* owner)
    : QDialog(owner),
      record_(record),
      flags_(flags),
      decimal_(decimal),
      language_(language),
      programLanguage_(language),
      folder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("param"));
    setModal(false);
    pageList();
    signPictures();
    pageFrames();
    buttons();
    languagePictures();
    wiringFrame();
    arrange();
    connectSignals();
    load();
}

// The page list and the hidden memory of the page shown.
void param::pageList() {
    Parametrier_List_ = new PageList(this);
    Parametrier_List_->setObjectName(QStringLiteral("Parametrier_List"));
    Parametrier_List_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Copy_par_list_index_Label_ = new QLabel(QStringLiteral("0"), this);
    Copy_par_list_index_Label_->setObjectName(QStringLiteral("Copy_par_list_index_Label"));
    Copy_par_list_index_Label_->hide();
}

// The pictures the warnings are drawn from.
void param::signPictures() {
    templatePicture(QStringLiteral("Leer_Bild_Image"), emptySign(kSignSize), this);
    templatePicture(QStringLiteral("Stop_Bild_Image"), stopSign(kSignSize), this);
    templatePicture(QStringLiteral("Ausrufezeichen_Bild_Image"), exclamationSign(kSignSize), this);
    templatePicture(QStringLiteral("Info_Bild_Image"), infoSign(kSignSize), this);
}

// The four page frames, exactly one of them visible, their stop signs and the blink timer.
void param::pageFrames() {
    basic_ = new BasicPageView(decimal_, this);
    analog_ = new AnalogPageView(record_, decimal_, this);
    binary_ = new BinaryPageView(record_, decimal_, this);
    interface_ = new InterfacePageView(record_, this);
    for (int n = 1; n <= 6; ++n) {
        stop1_[static_cast<std::size_t>(n)] = findChild<QLabel*>(QStringLiteral("stop1_%1").arg(n));
    }
    Timer1_ = new QTimer(this);
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setInterval(kBlinkMs);
}

void param::buttons() {
    OK_ = new QPushButton(this);
    OK_->setObjectName(QStringLiteral("OK_Parametrieren"));
    Abbruch_ = new QPushButton(this);
    Abbruch_->setObjectName(QStringLiteral("Abbruch_Parametrieren"));
    anbild_ = new QPushButton(qs(kDiagramWiden), this);
    anbild_->setObjectName(QStringLiteral("anbild"));
    test_ = new QPushButton(this);
    test_->setObjectName(QStringLiteral("test"));
    for (QPushButton* b : {OK_, Abbruch_, anbild_, test_}) b->setAutoDefault(false);
}

void param::languagePictures() {
    Frame2_ = new QFrame(this);
    Frame2_->setObjectName(QStringLiteral("Frame2"));
    Deutsch_Image_ = languagePicture(QStringLiteral("Deutsch_Image"),
                                     QStringLiteral(":/icons/german.png"), Frame2_);
    Englisch_Image_ = languagePicture(QStringLiteral("Englisch_Image"),
                                      QStringLiteral(":/icons/english.png"), Frame2_);
    Fraenkisch_Image_ = languagePicture(QStringLiteral("Fränkisch_Image"),
                                        QStringLiteral(":/icons/dialect.png"), Frame2_);
    auto* pictures = new QHBoxLayout(Frame2_);
    pictures->setContentsMargins(0, 0, 0, 0);
    pictures->addWidget(Deutsch_Image_);
    pictures->addWidget(Englisch_Image_);
    pictures->addWidget(Fraenkisch_Image_);
}

// The wiring picture, beside the pages when the dialog is widened.
void param::wiringFrame() {
    Picture1_ = new QFrame(this);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setFrameShape(QFrame::StyledPanel);
    Anschlussbild_Image_ = new QLabel(Picture1_);
    Anschlussbild_Image_->setObjectName(QStringLiteral("Anschlußbild_Image"));
    Anschlussbild_Image_->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(Picture1_))->addWidget(Anschlussbild_Image_);
    Picture1_->setFixedWidth(twipsToPixels(*this, 6400));
    Picture1_->hide();
}

// The list, the buttons and the language pictures on the left, the page frames beside them,
// and the wiring picture on the right.
void param::arrange() {
    auto* left = new QVBoxLayout;
    left->addWidget(Parametrier_List_, 1);
    for (QPushButton* b : {OK_, Abbruch_, anbild_, test_}) left->addWidget(b);
    left->addWidget(Frame2_, 0, Qt::AlignHCenter);
    auto* pages = new QVBoxLayout;
    for (QWidget* page : std::initializer_list<QWidget*>{basic_, analog_, binary_, interface_}) {
        pages->addWidget(page, 1);
    }
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(pages, 1);
    layout->addWidget(Picture1_);
}

void param::connectSignals() {
    connect(Parametrier_List_, &QListWidget::currentRowChanged, this,
            &param::Parametrier_List_Click);
    connect(OK_, &QPushButton::clicked, this, [this] { OK_Parametrieren_Click(); });
    connect(Abbruch_, &QPushButton::clicked, this, &param::Abbruch_Parametrieren_Click);
    connect(anbild_, &QPushButton::clicked, this, &param::anbild_Click);
    connect(test_, &QPushButton::clicked, this, &param::test_Click);
    connect(Timer1_, &QTimer::timeout, this, &param::Timer1_Timer);
    connect(Deutsch_Image_, &QToolButton::clicked, this,
            [this] { changeLanguage(Language::German); });
    connect(Englisch_Image_, &QToolButton::clicked, this,
            [this] { changeLanguage(Language::English); });
    connect(Fraenkisch_Image_, &QToolButton::clicked, this,
            [this] { changeLanguage(Language::Dialect); });
    connect(basic_, &BasicPageView::touched, this, [this] { stopp(0); });
    connect(basic_, &BasicPageView::pictureChanged, this, &param::showPicture);
    connect(analog_, &AnalogPageView::touched, this, [this] { Seitenmeldung_loeschen(1); });
    connect(binary_, &BinaryPageView::touched, this, [this] { stopp(0); });
    const auto changeStored = [this](const PageCheck& check) {
        flags_.Eingabefehler = check.Eingabefehler;
        for (int n = 1; n <= 6; ++n) {
            if (check.stop[static_cast<std::size_t>(n)]) stopp(n);
        }
    };
    connect(analog_, &AnalogPageView::stored, this, changeStored);
    connect(binary_, &BinaryPageView::stored, this, changeStored);
}

// Load: the texts of the language with the start state, then the basic page from the record.
void param::load() {
    applyTexts(language_);
    max_info();
    basic_->setTitle(qs(pageListText(record_, 0, language_)));
    analog_->hide();
    binary_->hide();
    interface_->hide();
    P_in_index();
    stopp(0);
    // The height is this program's choice: 7000 twips fit every page.
    resize(twipsToPixels(*this, 7900), twipsToPixels(*this, 7000));
}

param::~param() = default;

// ---- texts -----------------------------------------------------------------------------------

void param::applyTexts(Language language) {
    language_ = language;
    applyCaptions(this, paramCaptions(), language);
    setCaptionFile(captionFile_);
    {
        Quiet quiet(Parametrier_List_);
        Parametrier_List_->clear();
        for (int i = 0; i < pageCount(record_); ++i) {
            Parametrier_List_->addItem(qs(pageListText(record_, i, language)));
        }
        // 1900 twips, or what the longest entry of the language needs.
        const int needed =
            Parametrier_List_->sizeHintForColumn(0) + 2 * Parametrier_List_->frameWidth() + 6;
        Parametrier_List_->setFixedWidth(std::max(twipsToPixels(*this, 1900), needed));
    }
    basic_->setConnectionTexts(language);
    analog_->setQuantityTexts(language);
    binary_->setQuantityTexts(language);
    Startzustand_setzen();
}

void param::Startzustand_setzen() {
    const StartState start = kalvo::Startzustand_setzen(record_, decimal_);
    basic_->applyStart(start);
    analog_->applyStart(start);
    binary_->applyStart(start);
    selectQuietly(start.page);
    setShownIndex(start.page);
}

void param::setCaptionFile(const QString& file) {
    captionFile_ = file;
    QString caption = qs(captionOf(paramCaptions(), "", language_));
    if (!file.isEmpty()) caption += QStringLiteral("    [") + file + QStringLiteral("]");
    setWindowTitle(caption);
}

void param::setLanguage(Language language) {
    programLanguage_ = language;
    changeLanguage(language);
    if (!meldung_.isNull()) applyCaptions(meldung_, meldungCaptions(), programLanguage_);
}

void param::changeLanguage(Language language) {
    // A language change puts the dialog into its start state; the page on screen is first
    // stored as leaving it would store it, so no edit is lost and no control's start value
    // reaches the record.
    const int left = shownIndex();
    std::optional<PageContent> content = contentOnScreen(left);
    const BasicPage basicShown = basic_->values();
    Leave leave;
    if (content) {
        leave = leavePage(record_, flags_, left, basicShown, *content, decimal_);
    }
    applyTexts(language);
    // The start state put the basic page's controls to their start values. They hold what
    // they held before (the record's settings, or what the user typed on a faulty basic page):
    // leaving a page later compares them with the record, and start values would count as a
    // change of the basic settings and reset every output.
    basic_->fill(basicShown);
    if (leave.stay) {  // a fault: the texts change, the user stays on the page
        selectQuietly(left);
        Seite_anzeigen(left);
        setShownIndex(left);
    } else {
        if (leave.reset) interface_->clear();
        Seite_anzeigen(0);
        setShownIndex(0);
    }
    showCheck(left, leave.check);
    if (leave.notice) showNotice();
}

// ---- pages -----------------------------------------------------------------------------------

int param::shownIndex() const {
    return Copy_par_list_index_Label_->text().toInt();
}

void param::setShownIndex(int index) {
    Copy_par_list_index_Label_->setText(QString::number(index));
}

void param::selectQuietly(int index) {
    // Only the list's own signals are held back: its view still hears the selection move.
    const QSignalBlocker quiet(Parametrier_List_);
    Parametrier_List_->setCurrentRow(index);
}

std::optional<PageContent> param::contentOnScreen(int index) const {
    switch (pageAt(record_, index).kind) {
        case PageKind::Basic:
            return basic_->values();
        case PageKind::Analog:
            return analog_->values();
        case PageKind::Binary:
            return binary_->values();
        case PageKind::Interface:
            return interface_->values();
        case PageKind::None:
            break;
    }
    return std::nullopt;
}

void param::showCheck(int index, const PageCheck& check) {
    switch (pageAt(record_, index).kind) {
        case PageKind::Basic:
            stopp(0);
            basic_->setLimitText(qs(check.message));
            basic_->showLimitFrame(check.showFrame);
            break;
        case PageKind::Analog:
            stopp(0);
            analog_->showCheck(check);
            break;
        case PageKind::Binary:
            stopp(0);
            binary_->showCheck(check);
            // A binary output without limit shows its zeros in the record view.
            if (!record_.Binaerwerte.at(static_cast<std::size_t>(binary_->row()))[Binary::Mode]
                     .equals(ModeLimit)) {
                listing();
            }
            break;
        case PageKind::Interface:
        case PageKind::None:
            return;
    }
    for (int n = 1; n <= 6; ++n) {
        if (check.stop[static_cast<std::size_t>(n)]) stopp(n);
    }
}

void param::Parametrier_List_Click() {
    const int left = shownIndex();
    const int target = Parametrier_List_->currentRow();
    if (target < 0 || target == left) return;
    std::optional<PageContent> content = contentOnScreen(left);
    Leave leave;
    if (content) {
        leave = leavePage(record_, flags_, left, basic_->values(), *content, decimal_);
        showCheck(left, leave.check);
    }
    if (leave.stay) {
        // The faulty page stays selected and shown, with what the user typed.
        selectQuietly(left);
        return;
    }
    if (leave.reset) interface_->clear();
    if (leave.notice) showNotice();
    Seite_anzeigen(target);
    setShownIndex(target);
}

void param::Seite_anzeigen(int index) {
    const PageRef page = pageAt(record_, index);
    const QString text = qs(pageListText(record_, index, language_));
    // Hide first, then show: two frames at once would stretch the dialog.
    const std::pair<QWidget*, PageKind> frames[] = {{basic_, PageKind::Basic},
                                                    {analog_, PageKind::Analog},
                                                    {binary_, PageKind::Binary},
                                                    {interface_, PageKind::Interface}};
    for (const auto& [frame, kind] : frames) {
        if (kind != page.kind) frame->hide();
    }
    for (const auto& [frame, kind] : frames) {
        if (kind == page.kind) frame->show();
    }
    switch (page.kind) {
        case PageKind::Basic: {
            basic_->setTitle(text);
            const BasicRow& g = record_.Grundwerte;
            // An empty record (no voltage at all) leaves the controls as they are.
            if (g[Basic::NominalVoltage].toNumber() == 0 && g[Basic::VtSecondary].toNumber() == 0) {
                analog_->selectQuantity(0);
            } else {
                P_in_index();
            }
            break;
        }
        case PageKind::Analog:
            analog_->setTitle(text);
            analog_->showOutput(page.row);
            break;
        case PageKind::Binary:
            binary_->setTitle(text);
            binary_->showOutput(page.row);
            break;
        case PageKind::Interface:
            interface_->showRecord();
            break;
        case PageKind::None:
            break;
    }
}

void param::Seitenmeldung_loeschen(int kind) {
    stopp(0);
    if (kind == 1) {
        analog_->clearMessage();
    } else if (kind == 2) {
        binary_->clearMessage();
    }
}

// ---- warnings --------------------------------------------------------------------------------

void param::stopp(int n) {
    if (n == 0) {
        for (int i = 1; i <= 6; ++i) {
            QLabel* sign = stop1_[static_cast<std::size_t>(i)];
            sign->setPixmap(emptySign(kSignSize));
            sign->setProperty("picture", QStringLiteral("Leer"));
            sign->setVisible(true);
        }
        Timer1_->stop();
        return;
    }
    if (n < 1 || n > 6) return;
    QLabel* sign = stop1_[static_cast<std::size_t>(n)];
    sign->setPixmap(stopSign(kSignSize));
    sign->setProperty("picture", QStringLiteral("Stop"));
    sign->setVisible(true);
    Timer1_->start();
}

void param::Timer1_Timer() {
    for (int i = 1; i <= 6; ++i) {
        QLabel* sign = stop1_[static_cast<std::size_t>(i)];
        sign->setVisible(sign->isHidden());
    }
}

void param::showNotice() {
    if (meldung_.isNull()) {
        meldung_ = new Meldung(this);
        applyCaptions(meldung_, meldungCaptions(), programLanguage_);
        connect(meldung_, &QDialog::finished, this, [this] {
            setEnabled(true);
            if (!meldung_.isNull()) meldung_->deleteLater();
        });
    }
    setEnabled(false);
    meldung_->setEnabled(true);  // a window of its own: it stays usable
    meldung_->show();
    meldung_->raise();
}

// ---- public routines -------------------------------------------------------------------------

bool param::OK_Parametrieren_Click() {
    const int shown = shownIndex();
    std::optional<PageContent> content = contentOnScreen(shown);
    OkLeave ok;
    ok.close = true;
    if (content) {
        ok = acceptPage(record_, flags_, shown, basic_->values(), *content, decimal_);
        showCheck(shown, ok.check);
    }
    if (ok.reset) interface_->clear();
    emit stored();
    if (ok.notice) showNotice();
    if (!ok.stay) Seite_anzeigen(shown);
    const bool clean = !flags_.Eingabefehler && checkRecord(record_, decimal_).empty();
    if (ok.close) unload();
    return clean;
}

void param::listing() {
    if (ueberwachung_.isNull()) ueberwachung_ = new Ueberwachung(this);
    ueberwachung_->listing(record_, decimal_);
}

void param::P_in_index() {
    basic_->fill(kalvo::P_in_index(record_, decimal_));
}

void param::max_info() {
    basic_->setLimitText(qs(kalvo::max_info(record_.Max_Spannung, record_.Max_Strom)));
}

void param::showPicture(int connectionType) {
    const std::string_view file = wiringPicture(connectionType);
    QPixmap picture;
    // A missing or unreadable picture leaves the frame empty; nothing else depends on it.
    if (!file.empty() && picture.load(folder_ + QLatin1Char('/') + qs(file))) {
        const int width = std::max(Picture1_->minimumWidth() - 24, 1);
        Anschlussbild_Image_->setPixmap(picture.width() > width
                                            ? picture.scaledToWidth(width, Qt::SmoothTransformation)
                                            : picture);
    } else {
        Anschlussbild_Image_->clear();
    }
    Anschlussbild_Image_->setProperty("file", qs(file));
}

// ---- buttons ---------------------------------------------------------------------------------

void param::Abbruch_Parametrieren_Click() {
    unload();
}

void param::anbild_Click() {
    const auto twips = [this](int value) { return twipsToPixels(*this, value); };
    const bool widen = anbild_->text() == qs(kDiagramWiden);
    // Outer rectangles: the frame the window system adds counts on the screen.
    const QRect frame = frameGeometry();
    const QSize extra = frame.size() - size();
    const QRect area = screen()->availableGeometry();
    const ScreenRect available{area.x(), area.y(), area.width(), area.height()};
    ScreenRect place;
    Picture1_->hide();
    layout()->activate();
    if (widen) {
        // What the list and the pages need beside the picture.
        const int rest = layout()->minimumSize().width() + layout()->spacing() + extra.width();
        const DiagramPlace diagram =
            placeDiagram({twips(800), frame.y(), twips(14400) + extra.width(), frame.height()},
                         twips(6400), rest, available);
        place = diagram.dialog;
        Picture1_->setFixedWidth(diagram.picture);
        Picture1_->show();
        showPicture(basic_->values().connectionType);
        anbild_->setText(qs(kDiagramNarrow));
    } else {
        place = keepOnScreen({twips(3720), frame.y(), twips(7900) + extra.width(), frame.height()},
                             available);
        anbild_->setText(qs(kDiagramWiden));
    }
    layout()->activate();
    resize(place.width - extra.width(), place.height - extra.height());
    move(place.x, place.y);
}

void param::test_Click() {
    listing();
    ueberwachung_->show();
    ueberwachung_->raise();
    Frame2_->setVisible(Frame2_->isHidden());
}

void param::unload() {
    if (unloaded_) return;
    unloaded_ = true;
    Timer1_->stop();
    if (!ueberwachung_.isNull()) ueberwachung_->hide();
    if (!meldung_.isNull()) meldung_->hide();
    hide();
    emit closed();
    deleteLater();
}

void param::closeEvent(QCloseEvent* event) {
    unload();  // the window's close box is Cancel
    event->accept();
}

void param::reject() {
    Abbruch_Parametrieren_Click();
}

}  // namespace kalvo
