// The languages of the user interface. German and English are the user's choice, stored as
// the boolean "Sprache"; the dialect is a third text set that only the parameter dialog offers
// and that nothing stores.
#pragma once

#include <string>
#include <string_view>
#include <utility>

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

// A text in German and English put together at run time: a reason with a number or a path in
// it. The dialect reads the German one.
struct Wording {
    std::string german;
    std::string english;

    Wording() = default;
    Wording(std::string germanText, std::string englishText)
        : german(std::move(germanText)), english(std::move(englishText)) {}
    // A row of a text table, as it stands.
    Wording(const Text& text)  // NOLINT(google-explicit-constructor): a table row is a wording
        : german(text.german), english(text.english) {}

    const std::string& in(Language language) const {
        return language == Language::English ? english : german;
    }
    bool empty() const { return german.empty() && english.empty(); }
    bool operator==(const Wording&) const = default;

    // Both languages joined: a prefix and what follows it.
    friend Wording operator+(Wording head, const Wording& tail) {
        head.german += tail.german;
        head.english += tail.english;
        return head;
    }
};

}  // namespace kalvo
