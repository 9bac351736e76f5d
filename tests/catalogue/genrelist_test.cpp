#include "genrelist.h"
#include "tempdir.h"

#include <gtest/gtest.h>

namespace alborx {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

std::vector<std::uint8_t> bytesOf(const std::string& text)
{
    return {text.begin(), text.end()};
}

TEST(GenreFile, SkipsBlankLinesAndKeepsTrailingSpaces)
{
    TempDir dir;
    writeBytes(dir.file("g.cfg"), bytesOf("Rock\r\n   \r\n\r\nJazz  \r\n"));
    EXPECT_EQ(readGenreFile(dir.file("g.cfg")), std::vector<std::string>({"Rock", "Jazz  "}));
}

TEST(GenreFile, AcceptsLfEndingsAndALastLineWithoutEnding)
{
    TempDir dir;
    writeBytes(dir.file("g.cfg"), bytesOf("Pop\nBlues\r\n Folk"));
    EXPECT_EQ(readGenreFile(dir.file("g.cfg")),
              std::vector<std::string>({"Pop", "Blues", " Folk"}));
}

TEST(GenreFile, MissingFileGivesNoGenres)
{
    TempDir dir;
    EXPECT_TRUE(readGenreFile(dir.file("none.cfg")).empty());
}

TEST(GenreFile, WritesOneGenrePerCrLfLine)
{
    TempDir dir;
    ASSERT_TRUE(writeGenreFile(dir.file("g.cfg"), {"Jazz  ", "Rock"}));
    EXPECT_EQ(readBytes(dir.file("g.cfg")), bytesOf("Jazz  \r\nRock\r\n"));
    ASSERT_TRUE(writeGenreFile(dir.file("e.cfg"), {}));
    EXPECT_TRUE(readBytes(dir.file("e.cfg")).empty());
    EXPECT_TRUE(test::fileExists(dir.file("e.cfg")));
}

TEST(GenreList, KeepsAlphabeticalOrderIgnoringCase)
{
    GenreList list;
    list.assign({"rock", "Jazz", "blues", "Alternative"});
    EXPECT_EQ(list.items(), std::vector<std::string>({"Alternative", "blues", "Jazz", "rock"}));
}

TEST(GenreList, PolishLettersFollowTheirBaseLetter)
{
    // Ścieżka, Salsa, Tango, Żywa, Zouk, Łomot, Lounge, Muzyka, ąb in Windows-1250.
    GenreList list;
    list.assign({"\x8C"
                 "cie\xBFka",
                 "Tango", "Salsa", "\xAFywa", "Zouk", "\xA3omot", "Lounge", "Muzyka",
                 "\xB9"
                 "b",
                 "Ab"});
    EXPECT_EQ(list.items(), std::vector<std::string>({"Ab",
                                                      "\xB9"
                                                      "b",
                                                      "Lounge", "\xA3omot", "Muzyka", "Salsa",
                                                      "\x8C"
                                                      "cie\xBFka",
                                                      "Tango", "Zouk", "\xAFywa"}));
}

TEST(GenreList, ForeignLettersSortWithTheirBaseLetterAndCaseComesLast)
{
    // Éire (É C9), Ešte (š 9A), Eat, Ezop; Ł sorts behind Lz, ą behind az.
    GenreList list;
    list.assign({"Ezop", "\xC9ire", "E\x9Ate", "Eat",
                 "\xA3"
                 "a",
                 "Lz", "\xB9", "az", "Rock", "rock"});
    EXPECT_EQ(list.items(),
              std::vector<std::string>({"az", "\xB9", "Eat", "\xC9ire", "E\x9Ate", "Ezop", "Lz",
                                        "\xA3"
                                        "a",
                                        "rock", "Rock"}));
}

TEST(GenreList, DodajgatunekComparesAfterUpperCasingAToZ)
{
    GenreList list;
    list.assign({"Rock"});
    EXPECT_FALSE(list.dodajgatunek("rock  "));
    EXPECT_FALSE(list.dodajgatunek("   "));
    EXPECT_TRUE(list.dodajgatunek("Jazz "));
    EXPECT_EQ(list.items(), std::vector<std::string>({"Jazz", "Rock"}));
    // Polish letters are not folded: śpiew and Śpiew are two genres.
    EXPECT_TRUE(list.dodajgatunek("\x9Cpiew"));
    EXPECT_TRUE(list.dodajgatunek("\x8Cpiew"));
    EXPECT_EQ(list.count(), 4);
}

TEST(GenreList, AnEntryWithATrailingSpaceDiffersFromTheTypedName)
{
    GenreList list;
    list.assign({"Rock "});
    EXPECT_TRUE(list.dodajgatunek("Rock"));
    EXPECT_EQ(list.count(), 2);
}

} // namespace
} // namespace alborx
