#include "albumtable.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace alborx {
namespace {

AlbumTable tableWithColumn(int column, const std::vector<std::string>& texts)
{
    AlbumTable table;
    table.setRowCount(static_cast<int>(texts.size()) + 1);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        table.setCell(column, row, texts[i]);
        // Column 7 remembers the original position of every row.
        table.setCell(ColumnMcId, row, std::to_string(row));
    }
    table.setLiczbaalbumow(static_cast<int>(texts.size()));
    return table;
}

std::vector<std::string> column(const AlbumTable& table, int c)
{
    std::vector<std::string> texts;
    for (int r = 1; r < table.rowCount(); ++r)
        texts.emplace_back(table.cell(c, r));
    return texts;
}

TEST(AlbumTable, NewTableIsAnEmptyCatalogue)
{
    AlbumTable table;
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.liczbaalbumow(), 0);
    EXPECT_EQ(table.row(0), headerRow());
    EXPECT_EQ(table.cell(0, 0), "ID");
    EXPECT_EQ(table.cell(7, 0), "ID MC");
    for (int c = 0; c < kColumnCount; ++c)
        EXPECT_EQ(table.cell(c, 1), "");
    EXPECT_EQ(table.sortColumn(), ColumnPerformer);
    EXPECT_TRUE(table.sortAscending());
}

// The texts live in blocks of their column that are written anew once most
// of them are unused: every kind of change, many times over, must leave each cell
// with its own text, in copies of the table too.
TEST(AlbumTable, CellsKeepTheirTextsThroughChurn)
{
    AlbumTable table;
    std::vector<Row> expected;
    for (int i = 0; i < 300; ++i)
        expected.push_back({std::to_string(i), std::string(35, 'a' + i % 26),
                            std::string("t").append(std::to_string(i)), "", "O", "-", "",
                            std::string(2000, 'x')});
    table.assignAlbums(expected);
    const std::string huge(3 << 20, 'h'); // longer than a block
    for (int round = 0; round < 400; ++round) {
        const int row = round % 300 + 1;
        Row changed = expected[static_cast<std::size_t>(row - 1)];
        changed[ColumnTitle] = std::string("round ").append(std::to_string(round));
        changed[ColumnGenre] = round % 97 == 0 ? huge : std::string(round % 50, 'g');
        if (round % 3 == 0) {
            table.setRow(row, viewOf(changed));
        } else {
            table.setCell(ColumnGenre, row, changed[ColumnGenre]);
            table.setCell(ColumnTitle, row, changed[ColumnTitle]);
        }
        expected[static_cast<std::size_t>(row - 1)] = changed;
        if (round % 40 == 0) {
            const std::vector<Row> taken = table.takeAlbumsByKey({table.rowKey(row)});
            EXPECT_EQ(taken.front(), changed);
            std::vector<KeyedRow> back{{table.reserveKeys(1), taken.front()}};
            table.moveAlbumsIn(row, back);
        }
    }
    const AlbumTable copy = table;
    for (const AlbumTable* t : {static_cast<const AlbumTable*>(&table), &copy}) {
        ASSERT_EQ(t->liczbaalbumow(), 300);
        for (int r = 1; r <= 300; ++r)
            ASSERT_EQ(t->row(r), expected[static_cast<std::size_t>(r - 1)]) << r;
        EXPECT_EQ(t->row(0), headerRow());
    }
}

TEST(AlbumTable, AlbumsPutBackTogetherLandWhereOneByOneWouldPutThem)
{
    // Albums already there, and the places of the albums put back: the
    // blank row of an empty catalogue gives way; first, neighbours, past
    // the end.
    const std::vector<std::pair<int, std::vector<int>>> cases = {
        {0, {1, 2}}, {5, {1, 3, 4, 9}}, {5, {6, 7}}, {3, {2}}};
    for (const auto& [count, places] : cases) {
        std::vector<std::string> titles;
        for (int i = 1; i <= count; ++i)
            titles.push_back(std::string("old ").append(std::to_string(i)));
        AlbumTable together = tableWithColumn(ColumnTitle, titles);
        AlbumTable oneByOne = together;
        std::vector<std::pair<int, KeyedRow>> back;
        for (const int place : places) {
            Row row;
            row[ColumnTitle] = std::string("back ").append(std::to_string(place));
            back.push_back({place, {static_cast<RowKey>(1000 + place), row}});
            oneByOne.insertAlbums(place, {back.back().second});
        }
        together.insertAlbumsAt(back);
        ASSERT_EQ(together.liczbaalbumow(), oneByOne.liczbaalbumow());
        ASSERT_EQ(together.rowCount(), oneByOne.rowCount());
        for (int r = 0; r < together.rowCount(); ++r) {
            EXPECT_EQ(together.row(r), oneByOne.row(r)) << count << " " << r;
            EXPECT_EQ(together.rowKey(r), oneByOne.rowKey(r)) << count << " " << r;
        }
    }
}

TEST(AlbumTable, RemovingTheLastAlbumLeavesABlankRow)
{
    AlbumTable table = tableWithColumn(ColumnTitle, {"A", "B"});
    table.removeRow(1);
    EXPECT_EQ(column(table, ColumnTitle), std::vector<std::string>({"B"}));
    table.removeRow(1);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.cell(ColumnTitle, 1), "");
    table.removeRow(0);
    EXPECT_EQ(table.cell(0, 0), "ID");
    table.setRowCount(0);
    EXPECT_EQ(table.rowCount(), 2);
}

TEST(AlbumTable, ClearKeepsSortStateButEmptiesRows)
{
    AlbumTable table = tableWithColumn(ColumnTitle, {"b", "a"});
    table.sortByColumn(ColumnTitle);
    table.clear();
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.liczbaalbumow(), 0);
    EXPECT_EQ(table.sortColumn(), ColumnTitle);
}

TEST(AlbumTableSort, ComparesUnsignedBytesWithPrefixFirst)
{
    // Polish letters (above 127) after every ASCII letter; capitals before
    // small letters; a prefix before the longer text; empty first.
    AlbumTable table = tableWithColumn(ColumnTitle, {"\xB9z", "a", "Z", "", "ab", "Za"});
    table.sortByColumn(ColumnTitle);
    EXPECT_EQ(column(table, ColumnTitle),
              std::vector<std::string>({"", "Z", "Za", "a", "ab", "\xB9z"}));
}

TEST(AlbumTableSort, ZeroPaddedIdsSortNumerically)
{
    AlbumTable table = tableWithColumn(ColumnId, {"00100", "00020", "100000"});
    table.sortByColumn(ColumnId);
    EXPECT_EQ(column(table, ColumnId), std::vector<std::string>({"00020", "00100", "100000"}));
}

TEST(AlbumTableSort, FirstClickOnPerformerSortsDescendingThenToggles)
{
    AlbumTable table = tableWithColumn(ColumnPerformer, {"b", "a", "c"});
    table.sortByColumn(ColumnPerformer);
    EXPECT_FALSE(table.sortAscending());
    EXPECT_EQ(column(table, ColumnPerformer), std::vector<std::string>({"c", "b", "a"}));
    table.sortByColumn(ColumnPerformer);
    EXPECT_EQ(column(table, ColumnPerformer), std::vector<std::string>({"a", "b", "c"}));
    table.sortByColumn(ColumnTitle);
    EXPECT_EQ(table.sortColumn(), ColumnTitle);
    EXPECT_TRUE(table.sortAscending());
}

TEST(AlbumTableSort, EqualCellsKeepTheirOrderInBothDirections)
{
    AlbumTable table = tableWithColumn(ColumnGenre, {"Rock", "Jazz", "Rock", "Jazz", "Rock"});
    table.sortByColumn(ColumnGenre);
    EXPECT_EQ(column(table, ColumnMcId), std::vector<std::string>({"2", "4", "1", "3", "5"}));
    table.sortByColumn(ColumnGenre);
    EXPECT_EQ(column(table, ColumnMcId), std::vector<std::string>({"1", "3", "5", "2", "4"}));
}

// The sort reads the texts through keys of their first bytes and lengths:
// texts that agree in the first 8 or 16 bytes, end there, hold NUL bytes or
// go on past them must come out as a stable sort of the texts would give.
TEST(AlbumTableSort, AgreesWithAStableSortOfTheTexts)
{
    // Prefixes of one text with bytes that sort low and high; and many
    // texts over few letters, which the sort deals out over several bytes.
    std::vector<std::string> prefixes;
    const std::string stem = "Kwartet Slaski ";
    for (int i = 0; i < 600; ++i) {
        std::string text = stem.substr(0, static_cast<std::size_t>(i * 7 % 17));
        if (i % 3 == 0)
            text += std::string(1, '\0');
        if (i % 5 == 0)
            text += static_cast<char>('a' + i % 4);
        if (i % 7 == 0)
            text += "\xB9";
        prefixes.push_back(text);
    }
    std::vector<std::string> fewLetters;
    unsigned state = 12345;
    for (int i = 0; i < 5000; ++i) {
        std::string text;
        for (int length = static_cast<int>(state % 11); length > 0; --length) {
            state = state * 1103515245u + 12345u;
            text += "abc\xB9"[state >> 16 & 3];
        }
        state = state * 1103515245u + 12345u;
        fewLetters.push_back(text);
    }
    for (const std::vector<std::string>* texts : {&prefixes, &fewLetters}) {
        AlbumTable table = tableWithColumn(ColumnTitle, *texts);
        for (const bool ascending : {true, false}) {
            std::vector<std::pair<std::string, int>> expected;
            for (int r = 1; r < table.rowCount(); ++r)
                expected.emplace_back(table.cell(ColumnTitle, r), r);
            std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
                return ascending ? a.first < b.first : b.first < a.first;
            });
            const std::vector<int> moved = table.sortByColumn(ColumnTitle);
            ASSERT_EQ(table.sortAscending(), ascending);
            for (std::size_t i = 0; i < expected.size(); ++i) {
                ASSERT_EQ(table.cell(ColumnTitle, static_cast<int>(i) + 1), expected[i].first) << i;
                ASSERT_EQ(moved[static_cast<std::size_t>(expected[i].second)],
                          static_cast<int>(i) + 1);
            }
        }
    }
}

TEST(AlbumTableSort, ReportsWhereEveryRowMoved)
{
    AlbumTable table = tableWithColumn(ColumnTitle, {"c", "a", "b"});
    const std::vector<int> moved = table.sortByColumn(ColumnTitle);
    ASSERT_EQ(moved.size(), 4u);
    EXPECT_EQ(moved[0], 0);
    EXPECT_EQ(moved[1], 3);
    EXPECT_EQ(moved[2], 1);
    EXPECT_EQ(moved[3], 2);
    for (int old = 1; old <= 3; ++old)
        EXPECT_EQ(table.cell(ColumnMcId, moved[static_cast<std::size_t>(old)]),
                  std::to_string(old));
}

TEST(AlbumTableSort, NothingHappensBelowTwoAlbumRows)
{
    AlbumTable table = tableWithColumn(ColumnTitle, {"x"});
    EXPECT_TRUE(table.sortByColumn(ColumnTitle).empty());
    EXPECT_EQ(table.sortColumn(), ColumnPerformer);
    EXPECT_TRUE(table.sortAscending());
    EXPECT_EQ(table.cell(0, 0), "ID");
}

} // namespace
} // namespace alborx
