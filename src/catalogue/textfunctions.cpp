#include "textfunctions.h"

#include <array>
#include <limits>
#include <utility>

namespace alborx {

std::string l2t(std::int32_t value, int width)
{
    std::string text = std::to_string(value);
    if (width > 0 && static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

std::string obetnijspacje(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    return std::string(text.substr(0, end));
}

std::string duzelitery(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

namespace {

// Small letters of Windows-1250 and their capitals: the pairs outside a-z
// and 0xE0..0xFE (whose capitals stand 0x20 lower, but for the division
// sign 0xF7 against 0xD7, the multiplication sign).
constexpr std::pair<unsigned char, unsigned char> kOtherLetterPairs[] = {
    {0x9A, 0x8A}, // š Š
    {0x9C, 0x8C}, // ś Ś
    {0x9D, 0x8D}, // ť Ť
    {0x9E, 0x8E}, // ž Ž
    {0x9F, 0x8F}, // ź Ź
    {0xB3, 0xA3}, // ł Ł
    {0xB9, 0xA5}, // ą Ą
    {0xBA, 0xAA}, // ş Ş
    {0xBE, 0xBC}, // ľ Ľ
    {0xBF, 0xAF}, // ż Ż
};

constexpr std::array<char, 256> makeUpperTable()
{
    std::array<char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        int upper = b;
        if (b >= 'a' && b <= 'z')
            upper = b - 'a' + 'A';
        else if (b >= 0xE0 && b <= 0xFE && b != 0xF7)
            upper = b - 0x20;
        table[static_cast<std::size_t>(b)] = static_cast<char>(upper);
    }
    for (const auto& [lower, upper] : kOtherLetterPairs)
        table[lower] = static_cast<char>(upper);
    return table;
}

constexpr std::array<char, 256> kUpperLetter = makeUpperTable();

} // namespace

char upperLetter(char c)
{
    return kUpperLetter[static_cast<unsigned char>(c)];
}

std::string upperLetters(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = upperLetter(c);
    return result;
}

std::string iloscznakow(std::string_view text, std::int32_t width, bool left)
{
    const std::size_t target = width > 0 ? static_cast<std::size_t>(width) : 0;
    if (text.size() >= target)
        return std::string(left ? text.substr(0, target) : text.substr(text.size() - target));
    const std::string padding(target - text.size(), ' ');
    return left ? std::string(text) + padding : padding + std::string(text);
}

namespace {

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<std::int32_t> readId(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    std::size_t i = 0;
    while (i < end && text[i] == ' ')
        ++i;

    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    bool hex = false;
    if (i < end && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < end && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == end)
        return std::nullopt;

    if (hex) {
        std::uint64_t value = 0;
        for (; i < end; ++i) {
            const int digit = hexDigitValue(text[i]);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<std::uint64_t>(digit);
            if (value > std::numeric_limits<std::uint32_t>::max())
                return std::nullopt;
        }
        std::uint32_t bits = static_cast<std::uint32_t>(value);
        if (negative)
            bits = ~bits + 1u;
        return static_cast<std::int32_t>(bits);
    }

    // The magnitude may reach 2^31 only for a negative number.
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + (negative ? 1 : 0);
    std::uint64_t value = 0;
    for (; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (value > limit)
            return std::nullopt;
    }
    const std::int64_t signedValue =
        negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
    return static_cast<std::int32_t>(signedValue);
}

std::int32_t cellNumber(std::string_view text)
{
    if (const auto number = readId(text))
        return *number;
    const std::size_t minus = text.find_first_not_of('0');
    if (minus != std::string_view::npos && minus > 0 && text[minus] == '-')
        return readId(text.substr(minus)).value_or(0);
    return 0;
}

} // namespace alborx
