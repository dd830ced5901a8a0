#include "sim/simulated_port.h"

#include <algorithm>
#include <utility>

namespace kalvo::sim {

namespace {
constexpr Millis kCancelSlice{50};
}

SimulatedPort::SimulatedPort(LineEnd& transducer, Clock& clock, const std::atomic<bool>* cancel)
    : transducer_(transducer), clock_(clock), cancel_(cancel) {}

bool SimulatedPort::open() {
    if (unplugged_) return false;
    if (!open_) {
        open_ = true;
        // Stale input is dropped on open, as the real adapter does.
        transducer_.takeOutput(TimePoint::max());
        received_.clear();
    }
    return true;
}

void SimulatedPort::close() {
    open_ = false;
    received_.clear();
}

void SimulatedPort::setUnplugged(bool unplugged) {
    unplugged_ = unplugged;
    if (unplugged) open_ = false;
}

bool SimulatedPort::write(std::string_view bytes) {
    if (!open_ || unplugged_) return false;
    transducer_.receive(bytes, clock_.now());
    return true;
}

void SimulatedPort::collect() {
    // Output produced while the port was closed is lost on the line.
    std::string due = transducer_.takeOutput(clock_.now());
    if (open_) received_ += due;
}

std::string SimulatedPort::readAvailable() {
    if (!open_ || unplugged_) return {};
    collect();
    return std::exchange(received_, std::string());
}

WaitResult SimulatedPort::waitForData(TimePoint deadline) {
    if (!open_ || unplugged_) return WaitResult::Broken;
    collect();
    if (!received_.empty()) return WaitResult::DataReady;
    std::optional<TimePoint> next = transducer_.nextOutputAt();
    TimePoint wake = next ? std::min(*next, deadline) : deadline;
    if (cancel_ == nullptr) {
        clock_.sleepUntil(wake);
    } else {
        while (!cancel_->load() && clock_.now() < wake)
            clock_.sleepUntil(std::min(wake, clock_.now() + kCancelSlice));
        if (cancel_->load()) return WaitResult::Cancelled;
    }
    collect();
    return received_.empty() ? WaitResult::TimedOut : WaitResult::DataReady;
}

std::string SimulatedPort::errorText() const {
    if (unplugged_) return "simulated adapter unplugged";
    if (!open_) return "port not open";
    return {};
}

}  // namespace kalvo::sim
