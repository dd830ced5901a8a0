#include "link/link.h"

#include <algorithm>

#include "link/transcript.h"
#include "text/cp1252.h"

namespace kalvo {

std::string frameText(std::string_view address, std::string_view command) {
    std::string frame = "-";
    frame += address;
    frame += command;
    return frame;
}

Link::Link(SerialPort& port, Clock& clock, LinkObserver* observer, const std::atomic<bool>* cancel)
    : port_(port), clock_(clock), observer_(observer), cancel_(cancel) {}

bool Link::ensureOpen() {
    if (port_.isOpen()) return true;
    if (!port_.open()) {
        lost_ = true;
        portError_ = port_.errorText();
        return false;
    }
    // A freshly opened port starts a new conversation: nothing received or sent on the old one
    // counts.
    lost_ = false;
    portError_.clear();
    pending_.clear();
    pendingPos_ = 0;
    outgoing_.clear();
    sent_.clear();
    return true;
}

bool Link::send(std::string_view utf8) {
    return sendBytes(toCp1252(utf8));
}

bool Link::sendBytes(std::string_view bytes) {
    if (!port_.isOpen()) {
        lost_ = true;
        return false;
    }
    if (!port_.write(bytes)) {
        markLost();
        return false;
    }
    noteSent(bytes);
    if (transcript_ != nullptr) transcript_->sent(bytes);
    return true;
}

void Link::noteSent(std::string_view bytes) {
    for (const char c : bytes) {
        if (c != LF && c != CR) {
            outgoing_ += c;
            continue;
        }
        if (outgoing_.empty()) continue;
        std::erase(sent_, outgoing_);
        if (sent_.size() == kRememberedFrames) sent_.erase(sent_.begin());
        sent_.push_back(std::move(outgoing_));
        outgoing_.clear();
    }
}

bool Link::sentEarlier(std::string_view line) const {
    return std::find(sent_.begin(), sent_.end(), line) != sent_.end();
}

void Link::markLost() {
    lost_ = true;
    portError_ = port_.errorText();
    // Close a failed port so that the next sequence opens it afresh (an adapter plugged in
    // again) instead of talking into a dead handle.
    port_.close();
}

std::optional<char> Link::takePending() {
    if (pendingPos_ >= pending_.size()) return std::nullopt;
    char c = pending_[pendingPos_++];
    if (pendingPos_ == pending_.size()) {
        pending_.clear();
        pendingPos_ = 0;
    }
    return c;
}

bool Link::fetch(TimePoint deadline) {
    if (!port_.isOpen()) {
        lost_ = true;
        return false;
    }
    switch (port_.waitForData(deadline)) {
        case WaitResult::DataReady:
            portCancelled_ = false;
            if (const std::string arrived = port_.readAvailable(); !arrived.empty()) {
                if (transcript_ != nullptr) transcript_->received(arrived);
                pending_ += arrived;
            }
            return pendingPos_ < pending_.size();
        case WaitResult::TimedOut:
            portCancelled_ = false;
            return false;
        case WaitResult::Broken:
            markLost();
            return false;
        case WaitResult::Cancelled:
            portCancelled_ = true;
            return false;
    }
    return false;
}

std::optional<char> Link::readByteNow() {
    if (auto c = takePending()) return c;
    if (cancelled() || lost_) return std::nullopt;
    // A deadline that has already passed makes the port look without waiting.
    if (fetch(clock_.now())) return takePending();
    return std::nullopt;
}

std::optional<char> Link::readByte(TimePoint deadline) {
    for (;;) {
        if (cancelled() || lost_) return std::nullopt;
        if (auto c = takePending()) return c;
        if (fetch(deadline)) continue;
        if (lost_ || cancelled() || clock_.now() >= deadline) return std::nullopt;
        // The port returned before the deadline without data (a spurious wake-up): wait on.
    }
}

bool Link::inputWaiting() {
    if (buffered() > 0) return true;
    return !lost_ && !cancelled() && fetch(clock_.now());
}

void Link::flushInput() {
    pending_.clear();
    pendingPos_ = 0;
    if (!lost_ && !cancelled() && fetch(clock_.now())) {
        pending_.clear();
        pendingPos_ = 0;
    }
}

void Link::log(const std::string& utf8) {
    if (transcript_ != nullptr) transcript_->logged(utf8);
    if (observer_ != nullptr) observer_->logLine(utf8);
}

void Link::progressStep() {
    if (progress_ == kProgressMax) progress_ = 1;
    ++progress_;
    if (observer_ != nullptr) observer_->progress(progress_);
}

void Link::stage(Stage s) {
    if (transcript_ != nullptr) transcript_->stage(s);
    if (observer_ != nullptr) observer_->stage(s);
}

void Link::step(Step s) {
    if (observer_ != nullptr) observer_->step(s);
}

void Link::measuredLine(const std::string& utf8) {
    if (observer_ != nullptr) observer_->measuredLine(utf8);
}

void Link::pause(Millis d) {
    const TimePoint start = clock_.now();
    const TimePoint end = start + d;
    // A pause long enough to be noticed says how long it still waits, in whole seconds.
    const bool counted = observer_ != nullptr && d >= Millis{1000};
    long long shown = -1;
    for (TimePoint now = start; now < end && !cancelled(); now = clock_.now()) {
        const long long left = (end - now + Millis{999}) / Millis{1000};
        if (counted && left != shown) observer_->waiting(static_cast<int>(shown = left));
        clock_.sleepUntil(std::min(end, now + kCancelSlice));
    }
    if (counted) observer_->waiting(0);
    if (transcript_ != nullptr) transcript_->paused(start, clock_.now());
}

}  // namespace kalvo
