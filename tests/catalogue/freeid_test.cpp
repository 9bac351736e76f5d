#include "freeid.h"
#include "textfunctions.h"

#include <gtest/gtest.h>

namespace alborx {
namespace {

AlbumTable tableWithIds(int column, const std::vector<std::string>& ids)
{
    AlbumTable table;
    table.setRowCount(static_cast<int>(ids.size()) + 1);
    for (std::size_t i = 0; i < ids.size(); ++i)
        table.setCell(column, static_cast<int>(i) + 1, ids[i]);
    table.setLiczbaalbumow(static_cast<int>(ids.size()));
    return table;
}

TEST(Nowyid, FirstSearchGivesTheSmallestUnusedNumber)
{
    const AlbumTable table = tableWithIds(ColumnId, {"00001", "00002", "00003"});
    std::int32_t counter = 0;
    EXPECT_EQ(nowyid(table, IdKindAlbum, counter), 4);
    EXPECT_EQ(counter, 4);
}

TEST(Nowyid, StartsAtTheCounterAndSkipsUsedNumbers)
{
    const AlbumTable table = tableWithIds(ColumnId, {"00002", "00003"});
    std::int32_t counter = 2;
    EXPECT_EQ(nowyid(table, IdKindAlbum, counter), 4);
    // A number below the counter is not reused until the counter wraps.
    std::int32_t later = 3;
    EXPECT_EQ(nowyid(tableWithIds(ColumnId, {"00003"}), IdKindAlbum, later), 4);
}

TEST(Nowyid, ACounterThatIsFreeIsReturnedAsItIs)
{
    const AlbumTable table = tableWithIds(ColumnId, {"00001"});
    std::int32_t counter = 50;
    EXPECT_EQ(nowyid(table, IdKindAlbum, counter), 50);
    EXPECT_EQ(counter, 50);
}

TEST(Nowyid, WrapsPast99999ToOne)
{
    const AlbumTable table = tableWithIds(ColumnId, {"99999", "00001", "00003"});
    std::int32_t counter = 99999;
    EXPECT_EQ(nowyid(table, IdKindAlbum, counter), 2);
    EXPECT_EQ(counter, 2);
}

TEST(Nowyid, EmptyCatalogueAndBadCountersStartAtOne)
{
    AlbumTable table;
    std::int32_t counter = -8;
    EXPECT_EQ(nowyid(table, IdKindAlbum, counter), 1);
    EXPECT_EQ(counter, 1);
}

TEST(Nowyid, EachKindReadsItsOwnColumnAndDashNeverMatches)
{
    AlbumTable table = tableWithIds(ColumnCdId, {"-", "00001", "-"});
    table.setCell(ColumnMcId, 1, "00001");
    table.setCell(ColumnMcId, 2, "00002");
    table.setCell(ColumnId, 1, "00001");
    std::int32_t cd = 0;
    std::int32_t mc = 0;
    std::int32_t album = 0;
    EXPECT_EQ(nowyid(table, IdKindCd, cd), 2);
    EXPECT_EQ(nowyid(table, IdKindMc, mc), 3);
    EXPECT_EQ(nowyid(table, IdKindAlbum, album), 2);
}

TEST(Nowyid, ReadsCellsByTheIdRule)
{
    // Cells that a search and replace or a damaged file left behind.
    const AlbumTable table = tableWithIds(ColumnId, {" 1", "$2", "3x", "000004"});
    std::int32_t counter = 0;
    EXPECT_EQ(nowyid(table, IdKindAlbum, counter), 3);
}

TEST(Nowyid, OnlyTheAlbumRowsCount)
{
    AlbumTable table = tableWithIds(ColumnId, {"00001", "00002"});
    table.setLiczbaalbumow(1);
    std::int32_t counter = 0;
    EXPECT_EQ(nowyid(table, IdKindAlbum, counter), 2);
}

// With every number but one in use, the search must still answer at once
// (the test's time limit fails a search that rescans the table per number).
TEST(Nowyid, FindsTheLastFreeNumberOfAFullTable)
{
    std::vector<std::string> ids;
    for (int id = 1; id <= kMaxId; ++id) {
        if (id != 77777)
            ids.push_back(l2t(id, 5));
    }
    const AlbumTable table = tableWithIds(ColumnId, ids);
    std::int32_t counter = 0;
    EXPECT_EQ(nowyid(table, IdKindAlbum, counter), 77777);
    counter = 77778;
    EXPECT_EQ(nowyid(table, IdKindAlbum, counter), 77777);
}

TEST(Nowyid, ReportsWhenEveryNumberIsTaken)
{
    std::vector<std::string> ids;
    for (int id = kMaxId; id >= 1; --id)
        ids.push_back(l2t(id, 5));
    const AlbumTable table = tableWithIds(ColumnCdId, ids);
    std::int32_t counter = 500;
    EXPECT_FALSE(nowyid(table, IdKindCd, counter).has_value());
    EXPECT_EQ(counter, 500);
}

} // namespace
} // namespace alborx
