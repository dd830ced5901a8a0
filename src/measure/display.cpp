#include "measure/display.h"

#include <algorithm>
#include <limits>

#include "text/cp1252.h"

namespace kalvo {

MeasuredValueDisplay::MeasuredValueDisplay() {
    resetLineNumbers();
}

void MeasuredValueDisplay::resetLineNumbers() {
    for (int k = 0; k < kLabels; ++k) tags_[static_cast<std::size_t>(k)] = k;
    Zeilen_Nr_ = kNotInCycle;
    synced_ = false;
    ++revision_;
}

bool MeasuredValueDisplay::startStop() {
    if (Messung_laeuft_) {
        Messung_laeuft_ = false;
        lampGreen_ = false;
    } else {
        Messung_laeuft_ = true;
    }
    resetLineNumbers();
    return Messung_laeuft_;
}

void MeasuredValueDisplay::pollEnded() {
    if (Messung_laeuft_) startStop();
}

void MeasuredValueDisplay::back() {
    pollEnded();
}

void MeasuredValueDisplay::resized() {
    for (int k = 0; k < kLabels; ++k) setCaption(k, {});
    Zeilen_Nr_ = kNotInCycle;
    synced_ = false;
}

void MeasuredValueDisplay::setLineNumber(int label, int lineNumber) {
    if (label < 0 || label >= kLabels) return;
    tags_[static_cast<std::size_t>(label)] = std::clamp(lineNumber, 0, kLastLineNumber);
    ++revision_;
}

void MeasuredValueDisplay::setCaption(int label, std::string text) {
    std::string& caption = captions_[static_cast<std::size_t>(label)];
    if (caption == text) return;
    caption = std::move(text);
    ++revision_;
}

void MeasuredValueDisplay::lineReceived(std::string_view utf8, const Transformers& t) {
    if (!Messung_laeuft_) return;
    // Positions are the device's: rewrite its bytes, show them as UTF-8 again.
    const std::string shown = fromCp1252(rewriteLine(toCp1252(utf8), t));

    if (isCycleMarker(utf8)) {
        // The labels the cycle that just ended did not reach lose their old text.
        // (Before the first marker Zeilen_Nr is past the last label: nothing to clear.)
        for (int k = Zeilen_Nr_; k < kLabels; ++k) setCaption(k, {});
        synced_ = true;
        Zeilen_Nr_ = 0;
        lampGreen_ = !lampGreen_;
        ++revision_;
        return;
    }
    // Before the first marker the line numbers are unknown: nothing is shown.
    if (synced_) {
        for (int k = 0; k < kLabels; ++k) {
            if (tags_[static_cast<std::size_t>(k)] == Zeilen_Nr_) setCaption(k, shown);
        }
    }
    if (Zeilen_Nr_ < std::numeric_limits<int>::max()) ++Zeilen_Nr_;
}

const std::string& MeasuredValueDisplay::caption(int label) const {
    return captions_.at(static_cast<std::size_t>(label));
}

int MeasuredValueDisplay::lineNumber(int label) const {
    return tags_.at(static_cast<std::size_t>(label));
}

}  // namespace kalvo
