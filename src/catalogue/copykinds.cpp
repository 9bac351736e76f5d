#include "copykinds.h"

#include <array>

namespace alborx {

namespace {

// Windows-1250 bytes: \xB3 is "ł".
constexpr std::array<std::string_view, kCopyKindCount> kLetters = {"-", "O", "P", "K", "M"};
constexpr std::array<std::string_view, kCopyKindCount> kItems = {"", "Orygina\xB3 (O)", "Pirat (P)",
                                                                 "Kopia (K)", "Z MP3 (M)"};
constexpr std::array<std::string_view, kCopyKindCount> kWords = {"-", "Orygina\xB3", "Pirat",
                                                                 "Kopia", "Z MP3"};

int clampCode(int code)
{
    return code < 0 || code >= kCopyKindCount ? kCopyKindCount - 1 : code;
}

} // namespace

std::string_view copyKindLetter(int code)
{
    return kLetters[static_cast<std::size_t>(clampCode(code))];
}

std::string_view copyKindItem(int code)
{
    return kItems[static_cast<std::size_t>(clampCode(code))];
}

std::string_view copyKindWord(int code)
{
    return kWords[static_cast<std::size_t>(clampCode(code))];
}

int copyKindCode(std::string_view letter)
{
    for (int code = 0; code < kCopyKindCount - 1; ++code) {
        if (letter == kLetters[static_cast<std::size_t>(code)])
            return code;
    }
    return kCopyKindCount - 1;
}

} // namespace alborx
