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

TEST(SignedFilter, KeySequences) {
    const struct {
        const char* start;
        std::u32string_view keys;
        const char* result;
    } cases[] = {
        {"", U"-", "-"},
        {"", U"--", "-"},        // a second minus is swallowed
        {"", U"-1,5", "-1,5"},   // minus one comma five, key by key
        {"", U"-1,5,", "-1,5"},  // a second comma is swallowed
        {"", U"-1,5-", "-1,5"},  // no minus after the comma
        {"20", U"-", "20"},      // minus only into an empty field
        {"", U",5", ",5"},
        {"", U"1.5", "1,5"},  // either separator key types the comma
        {"", U"12a b", "12"},
        {"", U"1\r", "1"},           // Enter
        {"", U"1\x16", "1"},         // Ctrl+V's character
        {"", U"1\x03\x18", "1"},     // Ctrl+C, Ctrl+X
        {"-1,5", U"\b\b\b9", "-9"},  // backspace always passes
        {"", U"\b", ""},
        {"1,2,3", U"x-,", "1,2,3x-,"},  // two commas (put there by the program): anything goes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(type(KeyFilter::Signed, c.start, c.keys), c.result)
            << '"' << c.start << "\" + " << std::string(c.keys.begin(), c.keys.end());
    }
}

TEST(UnsignedFilter, KeySequences) {
    const struct {
        const char* start;
        std::u32string_view keys;
        const char* result;
    } cases[] = {
        {"", U"-230", "230"},                                 // the minus sign is always swallowed
        {"", U"230.5", "230,5"},                              // the point types the comma
        {"", U"230,5", "230,5"}, {"230,5", U",7", "230,57"},  // after the comma only digits
        {"", U",1", ",1"},       {"5", U"\r\x16", "5"},      {"5,", U"\b\b1", "1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(type(KeyFilter::Unsigned, c.start, c.keys), c.result)
            << '"' << c.start << "\" + " << std::string(c.keys.begin(), c.keys.end());
    }
}

TEST(KeyFilters, TheUsersSeparator) {
    EXPECT_EQ(type(KeyFilter::Signed, "", U"-1.5.,", '.'), "-1.5");
    EXPECT_EQ(type(KeyFilter::Unsigned, "", U"0,5.", '.'), "0.5");
}

TEST(KeyFilters, PastedTextMustPassKeyByKey) {
    const struct {
        KeyFilter filter;
        const char* text;
        bool passes;
    } cases[] = {
        {KeyFilter::Signed, "-1,5", true},  {KeyFilter::Signed, "", true},
        {KeyFilter::Signed, ",25", true},   {KeyFilter::Signed, "1-5", false},
        {KeyFilter::Signed, "--1", false},  {KeyFilter::Signed, "1,2,3", false},
        {KeyFilter::Signed, "1.5", false},  {KeyFilter::Signed, " 15", false},
        {KeyFilter::Signed, "15\n", false}, {KeyFilter::Signed, "1\b5", false},
        {KeyFilter::Signed, "1°", false},   {KeyFilter::Unsigned, "230,94", true},
        {KeyFilter::Unsigned, "-5", false}, {KeyFilter::Unsigned, "1,2,", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(passesKeyByKey(c.filter, c.text), c.passes) << c.text;
    }
    EXPECT_TRUE(passesKeyByKey(KeyFilter::Signed, "-1.5", '.'));
}

}  // namespace
}  // namespace kalvo
