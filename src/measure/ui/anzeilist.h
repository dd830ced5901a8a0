// The live measured values `Anzeilist`: twenty fixed-pitch labels in two columns, each with
// a scroll bar that picks the line of the cycle it shows, START/STOP, "zurück" and a lamp
// that changes colour at every cycle marker. The window only draws the display model; the
// poll runs elsewhere (a device job) and hands every line to lineReceived().
//
// Hook-up: startRequested() asks for the poll to start (call pollEnded() when it cannot),
// stopRequested() for it to stop, leftWhilePolling() says "zurück" closed the window while it
// ran; the job's lines go to lineReceived(), its start by another window (the trend) to
// pollStarted() and its end to pollEnded(), all on the window thread.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <array>
#include <string>

#include "config/record.h"
#include "measure/display.h"
#include "text/language.h"

class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class QTimer;

namespace kalvo {

class Anzeilist : public QDialog {
    Q_OBJECT
  public:
    // `record`: the project's record, read for the transformer ratios of every line.
    Anzeilist(QWidget* owner, const Record& record, Language language);

    void setLanguage(Language language);

    // One line from the device, UTF-8 without its CR. Ignored while stopped.
    void lineReceived(const std::string& utf8);
    // Another window started the poll: this one shows it too, from the next cycle marker.
    void pollStarted();
    // The poll ended (stopped, refused, or the port failed): the window shows START again.
    void pollEnded();

    bool polling() const { return display_.running(); }
    const MeasuredValueDisplay& display() const { return display_; }

  signals:
    void startRequested();
    void stopRequested();
    void leftWhilePolling();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Esc and the close box act as "zurück".
    void reject() override;

  private:
    void Form_Load();
    void Form_Resize();
    void start_Click();
    void zurueck_Click();
    void HScroll1_Change(int index, int value);
    void render();

    const Record& record_;
    Language language_;
    MeasuredValueDisplay display_;
    bool loaded_ = false;  // false until shown first, and again after "zurück"
    unsigned long long shownRevision_ = ~0ULL;
    static constexpr qint64 kDrawMs = 100;  // at most ten times a second
    QElapsedTimer drawn_;                   // since the labels were last drawn
    QTimer* drawTimer_;

    QPushButton* start_;
    QPushButton* zurueck_;
    QFrame* Picture1_;
    std::array<QLabel*, MeasuredValueDisplay::kLabels> Label1_{};
    std::array<QScrollBar*, MeasuredValueDisplay::kLabels> HScroll1_{};
};

}  // namespace kalvo
