#include "cp1250.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace alborx {
namespace {

// The C library's own converter is an independent reference for the table.
std::optional<std::string> iconvToUtf8(unsigned char byte)
{
    iconv_t converter = iconv_open("UTF-8", "CP1250");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    const std::size_t done = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    if (done == static_cast<std::size_t>(-1))
        return std::nullopt;
    return std::string(out, sizeof out - outLeft);
}

TEST(Cp1250, EveryDefinedByteMatchesTheSystemConverter)
{
    int compared = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const auto expected = iconvToUtf8(static_cast<unsigned char>(byte));
        if (!expected)
            continue;
        ++compared;
        EXPECT_EQ(cp1250ToUtf8(std::string(1, static_cast<char>(byte))), *expected) << byte;
    }
    EXPECT_GE(compared, 251);
}

TEST(Cp1250, EveryByteTextComesBackUnchanged)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    EXPECT_EQ(utf8ToCp1250(cp1250ToUtf8(all)), all);
}

TEST(Cp1250, PolishTextConverts)
{
    EXPECT_EQ(utf8ToCp1250("Zażółć gęślą jaźń ŁÓDŹ"),
              "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 \xA3\xD3"
              "D\x8F");
    EXPECT_EQ(cp1250ToUtf8("\x80 \x84\x94"), "€ „”");
}

TEST(Cp1250, CharactersOutsideTheCodePageAreRefused)
{
    EXPECT_FALSE(utf8ToCp1250("Ærø").has_value()); // Æ, ø are not in Windows-1250
    EXPECT_FALSE(utf8ToCp1250("日本").has_value());
    EXPECT_FALSE(utf8ToCp1250("🎵").has_value());
    EXPECT_FALSE(unicodeToCp1250(U'ñ').has_value());
    EXPECT_EQ(unicodeToCp1250(U'ą'), 0xB9);
}

TEST(Cp1250, MalformedUtf8IsRefused)
{
    for (const char* bad : {"\xC3", "\xC3\x28", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xFF"})
        EXPECT_FALSE(utf8ToCp1250(bad).has_value()) << bad;
}

} // namespace
} // namespace alborx
