// The key filters of the dialog's number fields: only what makes a number in the user's format
// can be typed. A filter sees the field's text before the key and the key's character.
//
//   signed   (range, output signal, limitation, knee, binary limit): a minus sign only as the
//            first character of an empty field, at most one decimal separator, digits always.
//            A field that already holds two separators (only the program can put them there)
//            takes any key.
//   unsigned (nominal values, transformer ratios): digits and one decimal separator.
//
// Backspace always passes; every other control character (Enter, the clipboard shortcuts'
// characters) is swallowed. The separator is the user's decimal separator: the comma on the
// German systems the device family is set up from, and never both.
#pragma once

#include <string_view>

namespace kalvo {

enum class KeyFilter { Signed, Unsigned };

inline constexpr char32_t kBackspace = 8;

// True when `key` may be typed into a field holding `before`.
bool keyPasses(KeyFilter filter, std::string_view before, char32_t key, char decimal = ',');

// True when `text` could be typed into an empty field key by key. Pasted text is taken only
// when this holds for the whole text the field would then hold.
bool passesKeyByKey(KeyFilter filter, std::string_view text, char decimal = ',');

}  // namespace kalvo
