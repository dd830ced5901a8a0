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

namespace {

std::string filled(std::string_view pattern, std::string_view first, std::string_view second) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && (next == '1' || next == '2')) {
            out += next == '1' ? first : second;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace

std::string fillIn(std::string_view pattern, std::string_view value) {
    return filled(pattern, value, "%2");
}

Wording fillIn(const Text& pattern, std::string_view first, std::string_view second) {
    return {filled(pattern.german, first, second), filled(pattern.english, first, second)};
}

}  // namespace kalvo
