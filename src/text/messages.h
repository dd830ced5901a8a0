// The message boxes of the device sequences, in both languages.
#pragma once

#include <optional>
#include <string>

#include "link/outcome.h"

namespace kalvo {

struct MessageText {
    std::string title;
    std::string text;
    bool critical = true;  // critical icon; false = information icon
};

MessageText msg(bool english);           // link failure
MessageText msg_para(bool english);      // never programmed
MessageText msg_prog_err(bool english);  // wrong transducer
MessageText programmingDone(bool english);

// The box for a failed outcome; nullopt for Ok and Cancelled.
std::optional<MessageText> messageFor(Outcome outcome, bool english);

}  // namespace kalvo
