#include "shell/ui/progr_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/aux_windows.h"

namespace kalvo {

Progr::Progr(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("Progr"));

    List1_ = new QListWidget(this);
    List1_->setObjectName(QStringLiteral("List1"));
    List1_->setFont(arial());
    ProgressBar1_ = new QProgressBar(this);
    ProgressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1_->setRange(0, 50);
    ProgressBar1_->setValue(0);
    ProgressBar1_->setTextVisible(false);
    Command1_ = new QPushButton(this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Protokoll_speichern_ = new QPushButton(this);
    Protokoll_speichern_->setObjectName(QStringLiteral("Protokoll_speichern"));
    Protokoll_speichern_->setEnabled(false);
    // What the sequence does now, above the log and the bar.
    Schritt_ = new QLabel(this);
    Schritt_->setObjectName(QStringLiteral("Schritt"));
    Image1_ = new QLabel(this);
    Image1_->setObjectName(QStringLiteral("Image1"));
    Image1_->setAlignment(Qt::AlignCenter);
    pictures_[0] = QPixmap(QStringLiteral(":/icons/progr_programming.png"));
    pictures_[1] = QPixmap(QStringLiteral(":/icons/progr_hardware.png"));

    auto* top = new QHBoxLayout;
    top->addWidget(Image1_, 0, Qt::AlignTop);
    top->addWidget(List1_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar1_, 1);
    bottom->addWidget(Protokoll_speichern_);
    bottom->addWidget(Command1_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Schritt_);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    connect(Command1_, &QPushButton::clicked, this, &QWidget::close);
    connect(Protokoll_speichern_, &QPushButton::clicked, this, &Progr::saveTranscriptRequested);
    resize(570, 400);  // 8550 x 6000 twips
    setPicture(0);
}

void Progr::setPicture(int element) {
    Image1_->setPixmap(pictures_[element == 1 ? 1 : 0]);
    Image1_->setProperty("picture", element == 1 ? 1 : 0);
}

void Progr::reset() {
    List1_->clear();
    Schritt_->clear();
    ProgressBar1_->setValue(0);
    transcript_.clear();
    Protokoll_speichern_->setEnabled(false);
}

// Closing forgets the log and the transcript, whether by "OK" or by the window's frame.
void Progr::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    reset();
}

void Progr::addTranscriptLine(const std::string& line) {
    if (transcript_.empty()) transcriptStarted_ = QDateTime::currentDateTime();
    transcript_.push_back(line);
    Protokoll_speichern_->setEnabled(true);
}

void Progr::addLine(const QString& line) {
    List1_->addItem(line);
    List1_->scrollToBottom();
}

void Progr::setStepLine(const QString& line) {
    Schritt_->setText(line);
}

void Progr::setProgress(int value) {
    ProgressBar1_->setValue(value);
}

}  // namespace kalvo
