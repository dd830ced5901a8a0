// The languages of the user interface. German and English are the user's choice, stored as
// the boolean "Sprache"; the dialect is a third text set that only the parameter dialog offers
// and that nothing stores.
#pragma once

#include <string_view>

namespace kalvo {

enum class Language { German, English, Dialect };

// The stored boolean: false German, true English.
constexpr Language languageOf(bool Sprache) {
    return Sprache ? Language::English : Language::German;
}

// One text in each language. Where a row has no dialect wording of its own, the dialect
// reads the German one.
struct Text {
    std::string_view german;
    std::string_view english;
    std::string_view dialect = {};

    constexpr std::string_view in(Language language) const {
        switch (language) {
            case Language::English:
                return english;
            case Language::Dialect:
                return dialect.empty() ? german : dialect;
            case Language::German:
                break;
        }
        return german;
    }
};

}  // namespace kalvo
