#include "support/fakes.h"

#include <algorithm>

namespace kalvo::test {

void ScriptedPort::deliver(std::string_view bytes, Millis after) {
    TimePoint at = clock_.now() + after;
    // Keep arrival order: a later delivery never overtakes an earlier one.
    if (!incoming_.empty()) at = std::max(at, incoming_.back().first);
    for (char c : bytes) incoming_.emplace_back(at, c);
}

void ScriptedPort::breakAfter(Millis after) {
    breakAt_ = clock_.now() + after;
}

bool ScriptedPort::brokenNow() const {
    return clock_.now() >= breakAt_;
}

bool ScriptedPort::open() {
    if (open_) return true;
    if (failOpen || brokenNow()) return false;
    ++openCount;
    open_ = true;
    return true;
}

bool ScriptedPort::write(std::string_view bytes) {
    if (!open_ || brokenNow()) return false;
    writes_.push_back({std::chrono::duration_cast<Millis>(clock_.now() - TimePoint{}).count(),
                       std::string(bytes)});
    if (onWrite) onWrite(*this, bytes);
    return true;
}

std::string ScriptedPort::readAvailable() {
    std::string out;
    if (brokenNow()) return out;
    while (!incoming_.empty() && incoming_.front().first <= clock_.now()) {
        out.push_back(incoming_.front().second);
        incoming_.pop_front();
    }
    return out;
}

WaitResult ScriptedPort::waitForData(TimePoint deadline) {
    if (brokenNow()) return WaitResult::Broken;
    TimePoint next = incoming_.empty() ? TimePoint::max() : incoming_.front().first;
    TimePoint wake = std::min({next, deadline, breakAt_});
    if (cancel == nullptr) {
        clock_.sleepUntil(wake);
    } else {
        // Like the real ports: wait in slices and give up as soon as the user cancels.
        while (!cancel->load() && clock_.now() < wake)
            clock_.sleepUntil(std::min(wake, clock_.now() + kCancelSlice));
        if (cancel->load()) return WaitResult::Cancelled;
    }
    if (brokenNow()) return WaitResult::Broken;
    if (next <= clock_.now()) return WaitResult::DataReady;
    return WaitResult::TimedOut;
}

std::string ScriptedPort::written() const {
    std::string all;
    for (const auto& w : writes_) all += w.bytes;
    return all;
}

std::vector<std::string> ScriptedPort::frames() const {
    std::vector<std::string> out;
    std::string all = written();
    std::size_t start = 0;
    for (std::size_t pos; (pos = all.find("\n\r", start)) != std::string::npos;) {
        out.push_back(all.substr(start, pos - start));
        start = pos + 2;
    }
    if (start < all.size()) out.push_back(all.substr(start));
    return out;
}

}  // namespace kalvo::test
