// The small text functions that every part of the program applies to cell
// texts. Text is Windows-1250 bytes held in std::string.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace alborx {

// Decimal text of value; when width > 0, "0" characters are inserted at the
// front until the text has at least width characters. A negative value keeps
// its minus sign behind the inserted zeros (-5, width 5 gives "000-5").
std::string l2t(std::int32_t value, int width);

// Removes spaces (code 32) from the end of the text.
std::string obetnijspacje(std::string_view text);

// Upper-cases the letters a-z only; every other byte, Polish letters included,
// stays as it is.
std::string duzelitery(std::string_view text);

// The capital of a Windows-1250 letter: a-z and every other small letter the
// code page holds with its capital (the Polish letters among them); any
// other byte as it is. For matching texts with letter case ignored.
char upperLetter(char c);
// upperLetter of every byte.
std::string upperLetters(std::string_view text);

// Fits text into exactly width characters: padded with spaces and cut on the
// right when left is true, padded at the front and cut from the front when
// left is false. A width below 1 gives the empty text.
std::string iloscznakow(std::string_view text, std::int32_t width, bool left);

// Reads an ID text as an integer: trailing spaces removed, then leading
// spaces, an optional sign, and decimal digits or hexadecimal digits after
// "$", "x", "X", "0x" or "0X", with nothing after them. A decimal value must
// fit a signed 32-bit integer, a hexadecimal one 32 bits (taken as signed).
// Anything else is not a number.
std::optional<std::int32_t> readId(std::string_view text);

// The integer an ID cell holds, or 0 when it holds no number; the catalogue
// file stores such cells as 0. Besides the ID rule it reads what l2t makes of
// a negative number ("000-5"), so that a damaged file's negative IDs survive
// being saved again.
std::int32_t cellNumber(std::string_view text);

} // namespace alborx
