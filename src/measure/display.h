// The live display of measured values (the window `Anzeilist`) as a model fed line by line.
// It holds the twenty labels, the line number each label shows, the position in the cycle
// and the lamp; the window only draws it.
//
// The transducer sends one line per request and opens every cycle with a line whose first
// character is a form feed. The lines after it are numbered 0, 1, 2 ... (`Zeilen_Nr`); label
// k shows the line whose number is its tag (0..34, set by the scroll bar beside it). Several
// labels may show the same line.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "measure/measured_line.h"

namespace kalvo {

class MeasuredValueDisplay {
  public:
    static constexpr int kLabels = 20;
    static constexpr int kLastLineNumber = 34;  // the interface values 0..34
    // `Zeilen_Nr` after START, STOP and a resize: beyond the last label, so that nothing is
    // shown before the next cycle marker and the marker clears nothing.
    static constexpr int kNotInCycle = kLabels;

    MeasuredValueDisplay();

    // The START/STOP button: starts polling when stopped, stops it when polling. Either way
    // the labels' line numbers return to 0..19 and the display waits for the next cycle
    // marker; stopping turns the lamp red. Returns true when polling runs afterwards.
    bool startStop();
    // The poll ended without a click (the port vanished, or the main window refused to
    // start it): the state of a STOP click. Nothing happens when already stopped.
    void pollEnded();
    // `zurück` and closing the window: stop, as far as polling runs.
    void back();
    // The window changed its size: every label is cleared and fills again from the next
    // cycle marker.
    void resized();
    // A scroll bar moved: label `label` (0..19) shows line `lineNumber` (clamped to 0..34)
    // from the next line received on.
    void setLineNumber(int label, int lineNumber);

    // One line as the device sent it, UTF-8 without its CR. Ignored while stopped (a line
    // still on its way after STOP). `t` are the transformers of the record at this moment.
    void lineReceived(std::string_view utf8, const Transformers& t);

    bool running() const { return Messung_laeuft_; }
    bool lampGreen() const { return lampGreen_; }
    // The number the next line of the cycle gets (0 right after the marker).
    int Zeilen_Nr() const { return Zeilen_Nr_; }
    // The text of label k (UTF-8) and the line number it shows.
    const std::string& caption(int label) const;
    int lineNumber(int label) const;
    // Counts every change of a caption, a tag or the lamp, so a window redraws only when
    // something changed.
    unsigned long long revision() const { return revision_; }

  private:
    void resetLineNumbers();
    void setCaption(int label, std::string text);

    bool Messung_laeuft_ = false;
    bool lampGreen_ = false;  // red when the window opens
    bool synced_ = false;     // a cycle marker came since START or the last resize
    int Zeilen_Nr_ = kNotInCycle;
    std::array<std::string, kLabels> captions_{};
    std::array<int, kLabels> tags_{};
    unsigned long long revision_ = 0;
};

}  // namespace kalvo
