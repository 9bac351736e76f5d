#include "cp1250.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

namespace alborx {

namespace {

// Unicode characters of the bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// The high half sorted by character, for the way back.
std::array<std::pair<char16_t, unsigned char>, 128> makeReverse()
{
    std::array<std::pair<char16_t, unsigned char>, 128> reverse{};
    for (std::size_t i = 0; i < kHighHalf.size(); ++i)
        reverse[i] = {kHighHalf[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(reverse.begin(), reverse.end());
    return reverse;
}

// Nearest plain letters of U+00C0..U+024F and U+1E00..U+1EFF, from their
// Unicode decompositions (a few, like "ø" and "ħ", by their look); "?"
// where there is none.
constexpr std::string_view kLatinFrom00C0 =
    "AAAAAAACEEEEIIII?NOOOOO?OUUUUY??aaaaaaaceeeeiiii?nooooo?ouuuuy?y"
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKkkLlLlLlL"
    "l??NnNnNn?NnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZz?"
    "bB?????Cc?D??????FfG???IKkl??Nn?Oo??Pp?????tTtTUu?VYyZz?????????"
    "?????????????AaIiOoUuUuUuUuUu?AaAa??GgGgKkOoOo??j???Gg??NnAa????"
    "AaAaEeEeIiIiOoOoRrRrUuUuSsTt??Hh????ZzAaEeOoOoOoOoYylntj??ACcL??"
    "???B??EeJj??RrYy";
constexpr std::string_view kLatinFrom1E00 =
    "AaBbBbBbCcDdDdDdDdDdEeEeEeEeEeFfGgHhHhHhHhHhIiIiKkKkKkLlLlLlLlMm"
    "MmMmNnNnNnNnOoOoOoOoPpPpRrRrRrRrSsSsSsSsSsTtTtTtTtUuUuUuUuUuVvVv"
    "WwWwWwWwWwXxXxYyZzZzZzhtwy??????AaAaAaAaAaAaAaAaAaAaAaAaEeEeEeEe"
    "EeEeEeEeIiIiOoOoOoOoOoOoOoOoOoOoOoOoUuUuUuUuUuUuUuYyYyYyYy??????";

// Punctuation the code page lacks, as the nearest it holds: hyphens and
// dashes as "-", the reversed quotes as their plain ones, primes as
// apostrophe and quote, spaces of other widths as a space.
constexpr std::pair<char32_t, char> kNearPunctuation[] = {
    {0x2002, ' '},  {0x2003, ' '}, {0x2004, ' '},    {0x2005, ' '},    {0x2006, ' '},
    {0x2007, ' '},  {0x2008, ' '}, {0x2009, ' '},    {0x200A, ' '},    {0x2010, '-'},
    {0x2011, '-'},  {0x2012, '-'}, {0x2015, '\x97'}, {0x201B, '\x91'}, {0x201F, '\x93'},
    {0x2032, '\''}, {0x2033, '"'}, {0x202F, ' '},    {0x205F, ' '},    {0x2212, '-'},
    {0x3000, ' '},
};

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int length = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (i + static_cast<std::size_t>(length) > text.size())
        return std::nullopt;
    for (int k = 1; k < length; ++k) {
        const auto follow = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((follow & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (follow & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    i += static_cast<std::size_t>(length);
    return c;
}

char32_t cp1250ToUnicode(unsigned char byte)
{
    return byte < 0x80 ? byte : kHighHalf[byte - 0x80];
}

std::optional<unsigned char> unicodeToCp1250(char32_t character)
{
    if (character < 0x80)
        return static_cast<unsigned char>(character);
    static const auto reverse = makeReverse();
    if (character > 0xFFFF)
        return std::nullopt;
    const auto wanted = static_cast<char16_t>(character);
    const auto found = std::lower_bound(reverse.begin(), reverse.end(), wanted,
                                        [](const std::pair<char16_t, unsigned char>& entry,
                                           char16_t c) { return entry.first < c; });
    if (found == reverse.end() || found->first != wanted)
        return std::nullopt;
    return found->second;
}

std::string cp1250ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char b : bytes)
        appendUtf8(out, cp1250ToUnicode(static_cast<unsigned char>(b)));
    return out;
}

std::optional<std::string> utf8ToCp1250(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto c = nextUtf8(utf8, i);
        if (!c)
            return std::nullopt;
        const auto byte = unicodeToCp1250(*c);
        if (!byte)
            return std::nullopt;
        out.push_back(static_cast<char>(*byte));
    }
    return out;
}

char nearestCp1250(char32_t character)
{
    if (const auto byte = unicodeToCp1250(character))
        return static_cast<char>(*byte);
    if (character >= 0xC0 && character < 0xC0 + kLatinFrom00C0.size())
        return kLatinFrom00C0[character - 0xC0];
    if (character >= 0x1E00 && character < 0x1E00 + kLatinFrom1E00.size())
        return kLatinFrom1E00[character - 0x1E00];
    for (const auto& [near, byte] : kNearPunctuation) {
        if (near == character)
            return byte;
    }
    return '?';
}

} // namespace alborx
