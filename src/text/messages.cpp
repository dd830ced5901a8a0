#include "text/messages.h"

namespace kalvo {
namespace {

constexpr Text kCancelled{"Aktion abgebrochen!", "Action cancelled!"};

MessageText cancelled(Language language, Text text) {
    return {std::string(kCancelled.in(language)), std::string(text.in(language)), true};
}

}  // namespace

MessageText msg(Language language) {
    return cancelled(language, {"Überprüfen Sie die Datenverbindung und versuchen Sie es nochmals!",
                                "Check the dataconnection and try again!"});
}

MessageText msg_para(Language language) {
    return cancelled(language, {"Der Messumformer wurde noch nie parametriert.",
                                "The transducer was not ever parametriert."});
}

MessageText msg_prog_err(Language language) {
    return cancelled(language, {"falscher Messumformer!!", "wrong transducer!!"});
}

MessageText programmingDone(Language language) {
    constexpr Text kDone{"Programmierung erfolgreich abgeschlossen!",
                         "Programming successfully finally!"};
    return {"Information", std::string(kDone.in(language)), false};
}

std::string fillIn(std::string_view pattern, std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == '1') {
            out += value;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace kalvo
