#include "shell/ui/splash_window.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include "text/about_texts.h"
#include "widgets/apply_texts.h"
#include "widgets/named_label.h"
#include "widgets/qt_text.h"

namespace kalvo {

namespace {

void scaleFont(QLabel* l, double factor, bool bold) {
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * factor);
    f.setBold(bold);
    l->setFont(f);
}

}  // namespace

frmSplash::frmSplash(const ProductInfo& info, QWidget* owner, OneShotTimer timer)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint), timer_(std::move(timer)) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    applyCaptions(this, splashCaptions(), Language::German);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(productFrame(info));
    setAutoFillBackground(true);
    resize(480, 260);

    if (!timer_) {
        timer_ = [this](int ms, std::function<void()> elapsed) {
            auto* Timer1 = new QTimer(this);
            Timer1->setObjectName(QStringLiteral("Timer1"));
            Timer1->setSingleShot(true);
            connect(Timer1, &QTimer::timeout, this, std::move(elapsed));
            Timer1->start(ms);
        };
    }
}

// The framed picture and texts: maker and product, platform and version, maker and rights.
QFrame* frmSplash::productFrame(const ProductInfo& info) {
    auto* Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setLineWidth(1);

    auto* Image1 = new QLabel(Frame1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/icons/kalvo.png"))
                          .scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    QLabel* company = namedLabel(QStringLiteral("lblCompanyProduct"), Frame1, qs(info.maker));
    scaleFont(company, 1.2, false);
    QLabel* product = namedLabel(QStringLiteral("lblProductName"), Frame1, qs(kProductName));
    scaleFont(product, 2.2, true);
    QLabel* platform = namedLabel(QStringLiteral("lblPlatform"), Frame1, qs(info.platform));
    scaleFont(platform, 1.1, true);
    QLabel* version = namedLabel(QStringLiteral("lblVersion"), Frame1, qs(versionText()));
    scaleFont(version, 1.1, true);
    QLabel* maker = namedLabel(QStringLiteral("lblCompany"), Frame1, qs(info.maker));
    QLabel* rights = namedLabel(QStringLiteral("lblCopyright"), Frame1, qs(info.rights));
    for (QLabel* l : {platform, version}) l->setAlignment(Qt::AlignRight);

    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(18, 18, 18, 14);
    grid->setHorizontalSpacing(18);
    grid->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(company, 0, 1);
    grid->addWidget(product, 1, 1);
    grid->setRowMinimumHeight(2, 16);
    grid->addWidget(platform, 3, 1);
    grid->addWidget(version, 4, 1);
    grid->setRowStretch(5, 1);
    grid->addWidget(maker, 6, 0, 1, 2);
    grid->addWidget(rights, 7, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return Frame1;
}

frmSplash::~frmSplash() {
    if (filtering_) QCoreApplication::instance()->removeEventFilter(this);
}

void frmSplash::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QWidget* owner = parentWidget()) {
        move(owner->frameGeometry().center() - rect().center());
    }
    if (!filtering_) {
        QCoreApplication::instance()->installEventFilter(this);
        filtering_ = true;
    }
    activateWindow();
    setFocus();
    if (!timerStarted_) {
        timerStarted_ = true;
        // The timer may outlive the window when someone else owns it.
        QPointer<frmSplash> self(this);
        timer_(kShowMs, [self] {
            if (self) self->Timer1_Timer();
        });
    }
}

void frmSplash::Timer1_Timer() {
    close();
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    event->accept();
    close();
}

void frmSplash::mousePressEvent(QMouseEvent* event) {
    event->accept();
    close();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // A key that is a shortcut is offered here before it is pressed: taking it keeps
            // the shortcut from firing, and the key press that follows is swallowed too.
            if (!isVisible()) break;
            event->accept();
            swallowKey_ = true;
            close();
            return true;
        case QEvent::KeyPress:
            if (!isVisible() && !swallowKey_) break;
            swallowKey_ = false;
            close();
            return true;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kalvo
