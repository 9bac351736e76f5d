// The line template language: keywords that begin with "%" stand for the
// fields of one album, an optional ":" or ";" width suffix puts the value in
// a cell of that width, and "\n" breaks the line. Text is Windows-1250.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace alborx {

constexpr int kKeywordCount = 11;

using TemplateValues = std::array<std::string, kKeywordCount>;

enum class TemplateMode
{
    File,    // any width; "\n" becomes CR LF
    Preview, // widths 1..99 only; "\n" becomes CR
};

// The keywords in the order they are replaced: "%nr", "%tytul", "%zespol",
// "%gatunek", "%idcd", "%idmc", "%id", "%kopiacds", "%kopiamcs", "%kopiacd",
// "%kopiamc".
const std::array<std::string_view, kKeywordCount>& slowakluczowe();

// The sample values of the preview, one per keyword.
const TemplateValues& przykladowedane();

// Widths above this are taken as it, so that a huge width cannot exhaust
// memory.
constexpr std::int64_t kWidestCell = 65535;

// A line never grows past this: values that hold keywords themselves could
// otherwise multiply it without end. Keywords that would make it longer stay
// as typed.
constexpr std::size_t kLongestLine = 1 << 20;

std::string wypelnijformat(std::string_view szablon, const TemplateValues& values,
                           TemplateMode mode);

std::string podgladformatu(std::string_view szablon);

} // namespace alborx
