// A recording observer and a scripted transducer for the link tests.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/link.h"
#include "support/fakes.h"

namespace kalvo::test {

class RecordingObserver final : public LinkObserver {
  public:
    void logLine(const std::string& line) override { lines.push_back(line); }
    void progress(int value) override { steps.push_back(value); }
    void stage(Stage s) override { stages.push_back({s, port ? port->writes().size() : 0}); }

    const ScriptedPort* port = nullptr;  // when set, stages note how many writes preceded them
    std::vector<std::string> lines;
    std::vector<int> steps;
    std::vector<std::pair<Stage, std::size_t>> stages;
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

// Answers every complete frame (text ending in LF CR, possibly sent in pieces) with what
// `reply` returns for the frame text, `delay` after the frame's last piece.
inline void answerFrames(ScriptedPort& port, std::function<std::string(const std::string&)> reply,
                         Millis delay = Millis{20}) {
    auto partial = std::make_shared<std::string>();
    port.onWrite = [partial, reply, delay](ScriptedPort& p, std::string_view bytes) {
        *partial += bytes;
        for (auto end = partial->find("\n\r"); end != std::string::npos;
             end = partial->find("\n\r")) {
            const std::string answer = reply(partial->substr(0, end));
            partial->erase(0, end + 2);
            if (!answer.empty()) p.deliver(answer, delay);
        }
    };
}

// The device echoes every frame and ends the line with `terminator`.
inline void echoFrames(ScriptedPort& port, std::string terminator = "\r") {
    answerFrames(port, [terminator](const std::string& frame) { return frame + terminator; });
}

}  // namespace kalvo::test
