// The number fields' key filters as the user meets them: key sequences typed into a field,
// and text pasted whole.
#include "config/key_filter.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvo {
namespace {

// Types `keys` one by one into a field holding `start`; a swallowed key leaves the text alone,
// backspace removes the last character. Returns the text the field ends with.
std::string type(KeyFilter filter, std::string start, std::u32string_view keys,
                 char decimal = ',') {
    for (const char32_t key : keys) {
        const char32_t typed = filterKey(filter, start, key, decimal);
        if (typed == 0) continue;
        if (typed == kBackspace) {
            if (!start.empty()) start.pop_back();
        } else {
            start += static_cast<char>(typed);
        }
    }
    return start;
}

TEST(KeyFilters, KeySequences) {
    using enum KeyFilter;
    // Signed: one minus, only into an empty field; one separator (either key types the
    // user's); digits; backspace always passes; Enter, Ctrl+V, Ctrl+C and Ctrl+X are
    // swallowed. Two separators put there by the program: anything goes. Unsigned: no minus.
    const struct {
        KeyFilter filter;
        const char* start;
        std::u32string_view keys;
        const char* result;
    } cases[] = {
        {Signed, "", U"--", "-"},          {Signed, "", U"-1,5,", "-1,5"},
        {Signed, "", U"-1,5-", "-1,5"},    {Signed, "20", U"-", "20"},
        {Signed, "", U"1.5", "1,5"},       {Signed, "", U"12a b", "12"},
        {Signed, "", U"1\r", "1"},         {Signed, "", U"1\x16", "1"},
        {Signed, "", U"1\x03\x18", "1"},   {Signed, "-1,5", U"\b\b\b9", "-9"},
        {Signed, "", U"\b", ""},           {Unsigned, "", U"-230", "230"},
        {Unsigned, "", U"230.5", "230,5"}, {Unsigned, "230,5", U",7", "230,57"},
        {Unsigned, "", U",1", ",1"},       {Unsigned, "5", U"\r\x16", "5"},
        {Unsigned, "5,", U"\b\b1", "1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(type(c.filter, c.start, c.keys), c.result)
            << '"' << c.start << "\" + " << std::string(c.keys.begin(), c.keys.end());
    }
    EXPECT_EQ(type(Signed, "1,2,3", U"x-,"), "1,2,3x-,");
    EXPECT_EQ(type(Signed, "", U"-1.5.,", '.'), "-1.5");  // the user's separator
    EXPECT_EQ(type(Unsigned, "", U"0,5.", '.'), "0.5");
}

TEST(KeyFilters, PastedTextMustPassKeyByKey) {
    using enum KeyFilter;
    const struct {
        KeyFilter filter;
        const char* text;
        bool passes;
    } cases[] = {
        {Signed, "-1,5", true},  {Signed, "1-5", false},     {Signed, "1.5", false},
        {Signed, "15\n", false}, {Signed, "1\b5", false},    {Signed, "1°", false},
        {Unsigned, "-5", false}, {Unsigned, "230,94", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(passesKeyByKey(c.filter, c.text), c.passes) << c.text;
    }
    EXPECT_TRUE(passesKeyByKey(Signed, "-1.5", '.'));
}

}  // namespace
}  // namespace kalvo
