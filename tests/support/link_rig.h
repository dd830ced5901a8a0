// Links on a scripted port in virtual time, with a recording observer, for the link and device
// tests.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/link.h"
#include "support/fake_device.h"

namespace kalvo::test {

class RecordingObserver final : public LinkObserver {
  public:
    void logLine(const std::string& line) override { lines.push_back(line); }
    void progress(int value) override { steps.push_back(value); }
    void stage(Stage s) override { stages.push_back({s, port ? port->writes().size() : 0}); }
    // The step line as the progress window shows it (German), each change once.
    void step(const Step& s) override {
        shown.push_back(stepLine(current = s, 0, Language::German));
    }
    void waiting(int seconds) override {
        if (seconds > 0) shown.push_back(stepLine(current, seconds, Language::German));
    }

    const ScriptedPort* port = nullptr;  // when set, stages note how many writes preceded them
    std::vector<std::string> lines;
    std::vector<int> steps;
    std::vector<std::pair<Stage, std::size_t>> stages;
    Step current;
    std::vector<std::string> shown;
};

// A fresh link on a scripted port, all in virtual time.
struct Rig {
    FakeClock clock;
    ScriptedPort port{clock};
    RecordingObserver observer;
    std::atomic<bool> stop{false};
    Link link{port, clock, &observer, &stop};

    // Every write as (virtual ms, bytes).
    std::vector<std::pair<long long, std::string>> writes() const {
        std::vector<std::pair<long long, std::string>> out;
        for (const auto& w : port.writes()) out.emplace_back(w.atMs, w.bytes);
        return out;
    }
};

// A rig whose port has the scripted transducer on it.
struct DeviceRig : Rig {
    FakeDevice device{port};
};

// Answers every frame with what `reply` returns for its text ("" = no answer), `delay` after
// the frame's end. The device lives as long as the port's write hook.
inline void answerFrames(ScriptedPort& port, std::function<std::string(const std::string&)> reply,
                         Millis delay = Millis{20}) {
    auto device = std::make_shared<FakeDevice>(port);
    device->answer = std::move(reply);
    device->delay = delay;
    port.onWrite = [device, hook = port.onWrite](ScriptedPort& p, std::string_view bytes) {
        hook(p, bytes);
    };
}

// The device echoes every frame and ends the line with `terminator`.
inline void echoFrames(ScriptedPort& port, std::string terminator = "\r") {
    answerFrames(port, [terminator](const std::string& frame) { return frame + terminator; });
}

}  // namespace kalvo::test
