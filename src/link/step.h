// What a running device sequence does now, reported to the windows as typed events (see
// LinkObserver::step and ::waiting) and shown as one line above the progress window's log:
// "Messumformer wecken ... 2 s", "Befehl 5 von 12: Analogausgang 2".
#pragma once

#include <string>
#include <utility>

#include "text/language.h"

namespace kalvo {

struct Step {
    enum class Kind { WakeUp, HardwareQuery, LinkTest, Backup, Command, ReadCopy, Verify };
    Step() = default;
    Step(Kind k, int n = 0, int of = 0, std::string c = {})  // NOLINT: a kind is a step
        : kind(k), number(n), count(of), command(std::move(c)) {}

    Kind kind = Kind::WakeUp;
    int number = 0;       // Command: 1-based
    int count = 0;        // Command: of how many
    std::string command;  // Command: the command after the address ("-M A2,U1,...")
    bool operator==(const Step&) const = default;
};

// The line for a step, with " ... N s" while a pause still waits N whole seconds (0: none).
std::string stepLine(const Step& step, int secondsLeft, Language language);

}  // namespace kalvo
