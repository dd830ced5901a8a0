// The device log `Progr`: the lines a device sequence sends and receives, and its progress.
#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace kalvo {

// Log and progress of a device sequence. The caller sets the caption and the picture
// (0 programming, 1 hardware query and read-back) before showing it.
class Progr : public QWidget {
    Q_OBJECT
  public:
    explicit Progr(QWidget* owner);

    void setPicture(int element);
    // Empty log, bar at 0: the state of a freshly created window.
    void reset();
    void addLine(const QString& line);
    void setProgress(int value);

  private:
    QListWidget* List1_;
    QProgressBar* ProgressBar1_;
    QPushButton* Command1_;
    QLabel* Image1_;
    std::array<QPixmap, 2> pictures_;
};

}  // namespace kalvo
