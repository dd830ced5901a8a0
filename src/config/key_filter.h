// The key filters of the dialog's number fields: only what makes a number in the user's format
// can be typed.
//
//   signed   (range, output signal, limitation, knee, binary limit): a minus sign only as the
//            first character of an empty field, at most one decimal separator, digits always.
//            A field that already holds two separators (only the program can put them there)
//            takes any key.
//   unsigned (nominal values, transformer ratios): digits and one decimal separator.
//
// Backspace always passes; every other control character (Enter, the clipboard shortcuts'
// characters) is swallowed. A field holds the user's decimal separator only, but either
// separator key (comma or point) types it: a dropped separator would change a value tenfold
// without a word. A key is judged against the text it will stand in: the field's text without
// the selection it replaces ("-150" selected and "-" typed gives "-").
#pragma once

#include <string_view>

namespace kalvo {

enum class KeyFilter { Signed, Unsigned };

inline constexpr char32_t kBackspace = 8;

// What typing `key` puts into a field whose text, once the selection is gone, is `rest`: the
// key, the decimal separator for either separator key, or 0 when the key is swallowed.
char32_t filterKey(KeyFilter filter, std::string_view rest, char32_t key, char decimal = ',');

// True when `text` could be typed into an empty field key by key, each key standing for
// itself. Pasted text is taken only when this holds for the whole text the field would then
// hold.
bool passesKeyByKey(KeyFilter filter, std::string_view text, char decimal = ',');

}  // namespace kalvo
