// The copy-kind vocabulary shared by the editor, the catalogue file, the
// filter, the export and the summary: code 0 means the medium is not owned,
// codes 1..4 are original, pirate, copy and recorded from MP3.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace alborx {

constexpr int kCopyKindCount = 5;

// Letter of a code in the columns "CD" and "MC": "-", "O", "P", "K", "M".
std::string_view copyKindLetter(int code);

// Item of the editor's copy-kind boxes for code 1..4 (item index = code - 1).
// Text is Windows-1250.
std::string_view copyKindItem(int code);

// Word of a code in line templates: "-", "Oryginał", "Pirat", "Kopia", "Z MP3".
// Text is Windows-1250.
std::string_view copyKindWord(int code);

// Code of a letter cell: "-" 0, "O" 1, "P" 2, "K" 3, any other text 4. The
// comparison is exact and case-sensitive.
int copyKindCode(std::string_view letter);

} // namespace alborx
