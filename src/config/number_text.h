// Number texts: how numbers are written into the record, project files and the device copy,
// and the two ways texts are read back as numbers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kalvo {

// The shortest decimal text with at most 15 significant digits, never in exponent form,
// using `decimal` ('.' or ',') as separator: 300, 346,410161513775, 16,666, -0,5, 0.
std::string formatNumber(double value, char decimal);

// A hardware limit as the basic page shows it: four significant digits, cut, never fewer
// than the whole part: 69,28 (69,282...), 57,73 (57,735), 519,6, 300, 0,06928, 1,2.
std::string formatLimit(double value, char decimal);

// Leading-number parse for device replies, "[Typ]" lines and typed addresses: blanks are
// ignored everywhere (also between digits), an optional sign, digits and a '.' decimal point;
// reading stops at the first other character; 0 when no digit was found.
// " 4" -> 4, "1.2" -> 1.2, "12ab" -> 12, "1,2" -> 1, "abc" -> 0.
double leadingNumber(std::string_view text);

// A whole text as a number under the regional rules: optional blanks around, optional sign,
// digits with at most one decimal separator, either ',' or '.' (files written on a German
// system open on an English one). nullopt when the text is not such a number.
std::optional<double> parseNumber(std::string_view text);

}  // namespace kalvo
