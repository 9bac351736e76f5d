#include "search.h"

#include <gtest/gtest.h>

namespace alborx {
namespace {

Row album(const std::string& id, const std::string& band, const std::string& title,
          const std::string& cd = "O", const std::string& mc = "-",
          const std::string& idcd = "00001", const std::string& idmc = "-")
{
    return {id, band, title, "Rock", cd, mc, idcd, idmc};
}

AlbumTable tableOf(std::vector<Row> rows)
{
    AlbumTable table;
    table.assignAlbums(std::move(rows));
    return table;
}

SearchColumns only(int column)
{
    SearchColumns columns{};
    columns[static_cast<std::size_t>(column)] = true;
    return columns;
}

SearchColumns all()
{
    SearchColumns columns;
    columns.fill(true);
    return columns;
}

std::vector<std::string> ids(const AlbumTable& table, const std::vector<int>& rows)
{
    std::vector<std::string> out;
    for (const int row : rows)
        out.emplace_back(table.cell(ColumnId, row));
    return out;
}

TEST(Pasujenosnik, MediumAndCopyKindMustBothBeTicked)
{
    MediumFilter f; // CD, all kinds
    EXPECT_TRUE(pasujenosnik(viewOf(album("1", "", "", "O", "-")), f));
    EXPECT_FALSE(pasujenosnik(viewOf(album("1", "", "", "-", "O")), f));
    EXPECT_FALSE(pasujenosnik(viewOf(album("1", "", "", "o", "-")), f)); // exact letters only
    f = {false, true, false, false, true, false};                        // MC and "Kopie"
    EXPECT_TRUE(pasujenosnik(viewOf(album("1", "", "", "O", "K")), f));
    EXPECT_FALSE(pasujenosnik(viewOf(album("1", "", "", "K", "O")), f));
    f = {false, false, true, true, true, true};
    EXPECT_FALSE(pasujenosnik(viewOf(album("1", "", "", "O", "O")), f));
}

TEST(FilterAlbums, BothMediaListAnAlbumOnce)
{
    const AlbumTable table = tableOf({album("00001", "A", "T", "O", "K")});
    const MediumFilter f{true, true, false, false, true, false};
    EXPECT_EQ(filterAlbums(table, f, "").size(), 1u);
}

TEST(FilterAlbums, TheWordIgnoresLetterCaseAndSkipsTheAlbumId)
{
    const AlbumTable table = tableOf({
        album("00001", "ABBA", "Gold"), album("00002", "Abba", "Arrival"),
        album("00012", "X", "Y", "O", "-", "00003"), album("00004", "X", "Y", "O", "-", "00120"),
        album("00005", "Ch\xF3r", "Z"), // "Chór"
        album("00006", "CH\xD3R", "Z"), // "CHÓR"
    });
    const MediumFilter f;
    EXPECT_EQ(ids(table, filterAlbums(table, f, "abba")),
              std::vector<std::string>({"00001", "00002"}));
    EXPECT_EQ(ids(table, filterAlbums(table, f, "12")), std::vector<std::string>({"00004"}));
    EXPECT_EQ(ids(table, filterAlbums(table, f, "ch\xF3r")),
              std::vector<std::string>({"00005", "00006"}));
    EXPECT_EQ(filterAlbums(table, f, "abba ").size(), 0u); // the space takes part
    // Columns 4 and 5 are searched too: every CD original holds "O".
    EXPECT_EQ(filterAlbums(table, f, "o").size(), 6u);
}

TEST(FindNext, WrapsWithTheBoundAlbumTestedLast)
{
    std::vector<Row> rows;
    for (int i = 1; i <= 10; ++i)
        rows.push_back(
            album("0000" + std::to_string(i % 10), "Band", i == 3 || i == 8 ? "Hit" : "x"));
    const AlbumTable table = tableOf(rows);
    EXPECT_EQ(findNext(table, "hit", all(), 5), 8);
    EXPECT_EQ(findNext(table, "hit", all(), 8), 3);
    EXPECT_EQ(findNext(table, "hit", all(), 3), 8);
    EXPECT_EQ(findNext(table, "hit", all(), 0), 3);
    EXPECT_EQ(findNext(table, "hit", all(), 42), 3);
    // Only the bound album matches: it is found again.
    const AlbumTable one = tableOf({album("00001", "a", "x"), album("00002", "b", "Hit")});
    EXPECT_EQ(findNext(one, "HIT", all(), 2), 2);
}

TEST(FindNext, ColumnChoiceAndCaseRules)
{
    const AlbumTable table =
        tableOf({album("00001", "The Beatles", "Help"), album("00002", "Jackson", "Beat It"),
                 album("00003", "\xA3za", "x")}); // Łza
    EXPECT_EQ(findNext(table, "beat", only(ColumnTitle), 0), 2);
    EXPECT_EQ(findNext(table, "beat", only(ColumnPerformer), 0), 1);
    EXPECT_EQ(findNext(table, "\xB3za", all(), 0), 3); // ł matches Ł
    const AlbumTable numbers = tableOf({album("00012", "a", "b"), album("00120", "a", "b"),
                                        album("01200", "a", "b"), album("00021", "a", "b")});
    EXPECT_EQ(findNext(numbers, "12", only(ColumnId), 0), 1);
    EXPECT_EQ(findNext(numbers, "12", only(ColumnId), 2), 3);
    EXPECT_EQ(findNext(numbers, "12", only(ColumnId), 3), 1);
}

TEST(FindNext, EmptyAndSpacePhrasesFindNothingButSpacesCountInFindAll)
{
    const AlbumTable table = tableOf({album("00001", "Big Band", "x")});
    EXPECT_EQ(findNext(table, "", all(), 0), 0);
    EXPECT_EQ(findNext(table, "   ", all(), 0), 0);
    EXPECT_EQ(findNext(table, "band ", all(), 0), 0); // the match keeps the space
    EXPECT_EQ(findNext(table, "big ", all(), 0), 1);
    EXPECT_EQ(findAll(table, MediumFilter{}, " ", all()).size(), 1u);
    EXPECT_EQ(findAll(table, MediumFilter{}, "", all()).size(), 0u);
    EXPECT_EQ(findNext(AlbumTable{}, "x", all(), 0), 0);
}

TEST(FindAll, HonoursTheFilterPanel)
{
    const AlbumTable table = tableOf({album("00001", "Rock band", "x", "O", "-"),
                                      album("00002", "Rock duo", "x", "-", "O", "-", "00002")});
    EXPECT_EQ(ids(table, findAll(table, MediumFilter{}, "rock", all())),
              std::vector<std::string>({"00001"}));
    const MediumFilter both{true, true, true, true, true, true};
    EXPECT_EQ(findAll(table, both, "rock", all()).size(), 2u);
}

TEST(Replace, ReplacesTheFirstOccurrenceAsStored)
{
    EXPECT_EQ(replaceFirst("The The", "the", "Die"), "Die The");
    EXPECT_EQ(replaceFirst("Abc abc", "ABC", ""), " abc");
    EXPECT_EQ(replaceFirst("Rock", "x", "y"), "Rock");
    EXPECT_EQ(replaceFirst("Rock", "", "y"), "Rock");
    EXPECT_EQ(replaceFirst("a", "a", std::string(300, 'z')), std::string(255, 'z'));
    EXPECT_EQ(replaceFirst(std::string(250, 'q') + "end", "END", "ending!!").size(), 255u);
}

TEST(Replace, InTheFirstChosenColumnThatMatches)
{
    Row row = album("00001", "The The", "The End");
    SearchColumns titleOnly = only(ColumnTitle);
    EXPECT_EQ(replaceInRow(row, "the", "Die", all()), ColumnPerformer);
    EXPECT_EQ(row[ColumnPerformer], "Die The");
    EXPECT_EQ(replaceInRow(row, "the", "A", titleOnly), ColumnTitle);
    EXPECT_EQ(row[ColumnTitle], "A End");
    EXPECT_EQ(replaceInRow(row, "zzz", "A", all()), -1);
}

} // namespace
} // namespace alborx
