#include "text/messages.h"

namespace kalvo {
namespace {

constexpr const char* kCancelledDe = "Aktion abgebrochen!";
constexpr const char* kCancelledEn = "Action cancelled!";

MessageText cancelled(bool english, const char* german, const char* englishText) {
    return {english ? kCancelledEn : kCancelledDe, english ? englishText : german, true};
}

}  // namespace

MessageText msg(bool english) {
    return cancelled(english, "Überprüfen Sie die Datenverbindung und versuchen Sie es nochmals!",
                     "Check the dataconnection and try again!");
}

MessageText msg_para(bool english) {
    return cancelled(english, "Der Messumformer wurde noch nie parametriert.",
                     "The transducer was not ever parametriert.");
}

MessageText msg_prog_err(bool english) {
    return cancelled(english, "falscher Messumformer!!", "wrong transducer!!");
}

MessageText programmingDone(bool english) {
    return {
        "Information",
        english ? "Programming successfully finally!" : "Programmierung erfolgreich abgeschlossen!",
        false};
}

std::optional<MessageText> messageFor(Outcome outcome, bool english) {
    switch (outcome) {
        case Outcome::LinkFailure:
        case Outcome::BadReply:
            return msg(english);
        case Outcome::WrongTransducer:
            return msg_prog_err(english);
        case Outcome::NeverProgrammed:
            return msg_para(english);
        case Outcome::Ok:
        case Outcome::Cancelled:
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace kalvo
