// What the text format dialog offers besides editing: ready-made settings and
// copying a template between the CD and cassette lines.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace alborx {

struct FormatPreset
{
    std::string name;     // the list item, Windows-1250
    std::string formatcd; // Windows-1250
    std::string formatmc;
    int kolejnosc = 0;
};

const std::array<FormatPreset, 6>& formatPresets();

// The template with the first occurrence of each CD keyword turned into its
// cassette counterpart and back ("%idcd" and "%idmc", "%kopiacds" and
// "%kopiamcs", "%kopiacd" and "%kopiamc"). Positions are found in the
// original text, so a keyword swapped once is not swapped back.
std::string zamianacm(std::string_view szablon);

// The keyword list of the dialog, in its display order: keyword and
// description (Windows-1250).
struct KeywordHelp
{
    std::string slowo;
    std::string opis;
};
const std::array<KeywordHelp, 12>& keywordList();

} // namespace alborx
