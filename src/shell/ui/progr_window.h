// The device log `Progr`: the lines a device sequence sends and receives, and its progress.
#pragma once

#include <QPixmap>
#include <QWidget>

#include <QDateTime>

#include <array>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace kalvo {

// Log and progress of a device sequence. The caller sets the caption and the picture
// (0 programming, 1 hardware query and read-back) before showing it. It also keeps the
// sequence's transcript, which "Protokoll speichern..." offers to save while the sequence runs
// and after it ended, until the window is closed.
class Progr : public QWidget {
    Q_OBJECT
  public:
    explicit Progr(QWidget* owner);

    void setPicture(int element);
    // Empty log and transcript, bar at 0: the state of a freshly created window.
    void reset();
    void addLine(const QString& line);
    // The line above the log: what the sequence does now ("Messumformer wecken ... 2 s").
    void setStepLine(const QString& line);
    void setProgress(int value);
    void addTranscriptLine(const std::string& line);
    const std::vector<std::string>& transcript() const { return transcript_; }
    // When the transcript's first line came (local time).
    const QDateTime& transcriptStarted() const { return transcriptStarted_; }

  signals:
    void saveTranscriptRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QLabel* Schritt_;
    QListWidget* List1_;
    QProgressBar* ProgressBar1_;
    QPushButton* Command1_;
    QPushButton* Protokoll_speichern_;
    QLabel* Image1_;
    std::array<QPixmap, 2> pictures_;
    std::vector<std::string> transcript_;
    QDateTime transcriptStarted_;
};

}  // namespace kalvo
