// The splash screen `frmSplash`: shown over the freshly loaded main window, it closes itself
// (and is deleted) after 2000 ms, at any key press in the program, or at a click on it.
#pragma once

#include <QWidget>

#include <functional>

#include "shell/product_info.h"

class QFrame;

namespace kalvo {

// Starts a one-shot timer that calls `elapsed` after `ms` milliseconds. The splash screen's
// own is the QTimer `Timer1`; tests pass one they fire themselves.
using OneShotTimer = std::function<void(int ms, std::function<void()> elapsed)>;

// Labels: lblProductName (the program title), lblCompanyProduct and lblCompany (the maker),
// lblCopyright (the rights notice), lblPlatform, lblVersion ("Version " + major.minor.revision);
// all inside the frame Frame1, with the picture Image1.
class frmSplash : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kShowMs = 2000;

    explicit frmSplash(const ProductInfo& info, QWidget* owner = nullptr, OneShotTimer timer = {});
    ~frmSplash() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // While it is shown, a key pressed anywhere in the program closes it (and goes no further).
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QFrame* productFrame(const ProductInfo& info);
    void Timer1_Timer();
    OneShotTimer timer_;
    bool timerStarted_ = false;
    bool filtering_ = false;
    bool swallowKey_ = false;  // the key press after a shortcut key that closed the window
};

}  // namespace kalvo
