#include "copykinds.h"
#include "textfunctions.h"

#include <gtest/gtest.h>

namespace alborx {
namespace {

TEST(TextFunctions, L2tPadsWithZerosBehindTheSign)
{
    EXPECT_EQ(l2t(7, 5), "00007");
    EXPECT_EQ(l2t(123456, 5), "123456");
    EXPECT_EQ(l2t(0, 0), "0");
    EXPECT_EQ(l2t(-5, 5), "000-5");
    EXPECT_EQ(l2t(-2147483647 - 1, 0), "-2147483648");
}

TEST(TextFunctions, ObetnijspacjeRemovesOnlyTrailingSpaces)
{
    EXPECT_EQ(obetnijspacje("  Rock  "), "  Rock");
    EXPECT_EQ(obetnijspacje("    "), "");
    EXPECT_EQ(obetnijspacje("Rock\t "), "Rock\t");
    EXPECT_EQ(obetnijspacje(""), "");
}

TEST(TextFunctions, DuzeliteryUpperCasesOnlyAsciiLetters)
{
    // "Łódź rock" in Windows-1250: Ł A3, ó F3, ź 9F.
    EXPECT_EQ(duzelitery("\xA3\xF3"
                         "d\x9F rock"),
              "\xA3\xF3"
              "D\x9F ROCK");
    EXPECT_EQ(duzelitery("a-z{}@`"), "A-Z{}@`");
}

TEST(TextFunctions, UpperLettersFoldEveryLetterOfTheCodePage)
{
    // Windows-1250: "łódź żółć świat ąęń" and "ťľšžŕ", then bytes that are
    // no small letters: ß, ÷, the capitals themselves, digits.
    EXPECT_EQ(upperLetters("\xB3\xF3"
                           "d\x9F \xBF\xF3\xB3\xE6 \x9Cwiat \xB9\xEA\xF1"),
              "\xA3\xD3"
              "D\x8F \xAF\xD3\xA3\xC6 \x8CWIAT \xA5\xCA\xD1");
    EXPECT_EQ(upperLetters("\x9D\xBE\x9A\x9E\xE0\xBA\xFE"), "\x8D\xBC\x8A\x8E\xC0\xAA\xDE");
    EXPECT_EQ(upperLetters("\xDF\xF7\xD7\xA3\xFF 09"), "\xDF\xF7\xD7\xA3\xFF 09");
}

TEST(TextFunctions, IloscznakowPadsAndCutsOnTheChosenSide)
{
    EXPECT_EQ(iloscznakow("Abc", 5, true), "Abc  ");
    EXPECT_EQ(iloscznakow("Abc", 5, false), "  Abc");
    EXPECT_EQ(iloscznakow("Abcdef", 4, true), "Abcd");
    EXPECT_EQ(iloscznakow("Abcdef", 4, false), "cdef");
    EXPECT_EQ(iloscznakow("Abc", 0, true), "");
    EXPECT_EQ(iloscznakow("Abc", -3, false), "");
}

TEST(IdReading, AcceptsDecimalWithBlanksAndSign)
{
    EXPECT_EQ(readId("00042"), 42);
    EXPECT_EQ(readId("  42  "), 42);
    EXPECT_EQ(readId("+7"), 7);
    EXPECT_EQ(readId("-7"), -7);
    EXPECT_EQ(readId("2147483647"), 2147483647);
    EXPECT_EQ(readId("-2147483648"), -2147483647 - 1);
}

TEST(IdReading, AcceptsEveryHexadecimalPrefix)
{
    EXPECT_EQ(readId("$1F"), 31);
    EXPECT_EQ(readId("x1f"), 31);
    EXPECT_EQ(readId("X1F"), 31);
    EXPECT_EQ(readId("0x1F"), 31);
    EXPECT_EQ(readId("0X1f"), 31);
    EXPECT_EQ(readId("-$10"), -16);
    // Eight hexadecimal digits fill 32 bits and are taken as signed.
    EXPECT_EQ(readId("$FFFFFFFF"), -1);
    EXPECT_EQ(readId("$80000000"), -2147483647 - 1);
}

TEST(IdReading, RejectsAnythingElse)
{
    for (const char* text :
         {"", "   ", "-", "+", "$", "0x", "12a", "1 2", "4-", "--4", "\t4", "2147483648",
          "-2147483649", "$100000000", "0x1G", "00x1", "1.0", "\xB9"}) {
        EXPECT_FALSE(readId(text).has_value()) << '"' << text << '"';
    }
    EXPECT_EQ(cellNumber("-"), 0);
    EXPECT_EQ(cellNumber("00013"), 13);
    EXPECT_EQ(cellNumber(l2t(-5, 5)), -5);
    EXPECT_EQ(cellNumber("0-"), 0);
    EXPECT_EQ(cellNumber("00-00-1"), 0);
}

TEST(CopyKinds, LetterToCodeIsExactAndCaseSensitive)
{
    EXPECT_EQ(copyKindCode("-"), 0);
    EXPECT_EQ(copyKindCode("O"), 1);
    EXPECT_EQ(copyKindCode("P"), 2);
    EXPECT_EQ(copyKindCode("K"), 3);
    EXPECT_EQ(copyKindCode("M"), 4);
    EXPECT_EQ(copyKindCode("o"), 4);
    EXPECT_EQ(copyKindCode(""), 4);
    EXPECT_EQ(copyKindCode("OO"), 4);
    for (int code = 0; code < kCopyKindCount; ++code)
        EXPECT_EQ(copyKindCode(copyKindLetter(code)), code);
}

TEST(CopyKinds, ItemsAndWordsAreTheEditorsAndTemplatesTexts)
{
    EXPECT_EQ(copyKindItem(1), "Orygina\xB3 (O)");
    EXPECT_EQ(copyKindItem(4), "Z MP3 (M)");
    EXPECT_EQ(copyKindWord(0), "-");
    EXPECT_EQ(copyKindWord(1), "Orygina\xB3");
    EXPECT_EQ(copyKindWord(3), "Kopia");
    EXPECT_EQ(copyKindLetter(200), "M");
}

} // namespace
} // namespace alborx
