// Conversion between the Windows-1250 bytes that the catalogue holds and
// Unicode. Bytes that the code page leaves undefined map to the C1 control
// characters of the same number, so every byte text converts and comes back
// unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace alborx {

// The Unicode character of a Windows-1250 byte.
char32_t cp1250ToUnicode(unsigned char byte);

// The Windows-1250 byte of a Unicode character, if the code page holds it.
std::optional<unsigned char> unicodeToCp1250(char32_t character);

// The byte that stands for a character in the catalogue: its own where the
// code page holds it; for a letter it lacks, the nearest plain letter ("ø"
// as "o", "ő" kept as it is, the code page has it); the nearest punctuation
// for dashes, quotes and spaces of other kinds; "?" for anything else.
char nearestCp1250(char32_t character);

std::string cp1250ToUtf8(std::string_view bytes);

// Decodes one UTF-8 character at text[i], advancing i past it; empty, with i
// left where it was, when the bytes there are not well-formed UTF-8.
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& i);

// The Windows-1250 bytes of a UTF-8 text; empty when the text is not valid
// UTF-8 or holds a character that the code page cannot hold.
std::optional<std::string> utf8ToCp1250(std::string_view utf8);

} // namespace alborx
