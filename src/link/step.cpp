#include "link/step.h"

#include <cctype>

#include "text/messages.h"
#include "text/step_texts.h"

namespace kalvo {

namespace {

// The digits right after `prefix` at the start of `command` ("-M A12,..." -> "12").
std::string numberAfter(const std::string& command, std::string_view prefix) {
    std::string digits;
    for (std::size_t i = prefix.size();
         i < command.size() && std::isdigit(static_cast<unsigned char>(command[i])); ++i)
        digits += command[i];
    return digits;
}

// What a programming command sets, by its opening: "-S " the system command, "-M A<n>" and
// "-M B<n>" an output, "-M S" the interface values, "-D<n>," a part of the device copy.
std::string commandPart(const std::string& command, Language language) {
    const auto starts = [&](std::string_view prefix) { return command.rfind(prefix, 0) == 0; };
    if (starts("-S")) return std::string(kStepSystem.in(language));
    if (starts("-M A")) return fillIn(kStepAnalog.in(language), numberAfter(command, "-M A"));
    if (starts("-M B")) return fillIn(kStepBinary.in(language), numberAfter(command, "-M B"));
    if (starts("-M S")) return std::string(kStepInterface.in(language));
    if (starts("-D")) return fillIn(kStepCopy.in(language), numberAfter(command, "-D"));
    return command;
}

}  // namespace

std::string stepLine(const Step& step, int secondsLeft, Language language) {
    std::string line;
    switch (step.kind) {
        case Step::Kind::WakeUp:
            line = kStepWakeUp.in(language);
            break;
        case Step::Kind::HardwareQuery:
            line = kStepHardwareQuery.in(language);
            break;
        case Step::Kind::LinkTest:
            line = kStepLinkTest.in(language);
            break;
        case Step::Kind::Backup:
            line = kStepBackup.in(language);
            break;
        case Step::Kind::ReadCopy:
            line = kStepReadCopy.in(language);
            break;
        case Step::Kind::Verify:
            line = kStepVerify.in(language);
            break;
        case Step::Kind::Command: {
            const std::string count =
                fillIn(kStepCount, std::to_string(step.number), std::to_string(step.count))
                    .in(language);
            line = fillIn(kStepCommand, count, commandPart(step.command, language)).in(language);
            break;
        }
    }
    if (secondsLeft > 0) line += fillIn(kStepWaiting.in(language), std::to_string(secondsLeft));
    return line;
}

}  // namespace kalvo
