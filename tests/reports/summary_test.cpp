#include "summary.h"

#include <gtest/gtest.h>

namespace alborx {
namespace {

constexpr std::array<bool, 4> kAll = {true, true, true, true};

Row entry(const std::string& id, const std::string& cd, const std::string& idcd,
          const std::string& mc, const std::string& idmc)
{
    return {id, "P", "T", "G", cd, mc, idcd, idmc};
}

TPodsumowanie sums(std::vector<Row> rows, std::array<bool, 4> cd = kAll,
                   std::array<bool, 4> mc = kAll)
{
    AlbumTable table;
    table.assignAlbums(std::move(rows));
    return obliczpodsumowanie(table, cd, mc);
}

TEST(Summary, OneAlbumOnBothMedia)
{
    const TPodsumowanie s = sums({entry("00001", "O", "00001", "K", "00001")});
    EXPECT_EQ(s.albumy, 1);
    EXPECT_EQ(s.plyty, 1);
    EXPECT_EQ(s.kasety, 1);
    EXPECT_EQ(s.tesame, 1);
    EXPECT_EQ(s.rodzajecd[1], 1);
    EXPECT_EQ(s.rodzajemc[3], 1);
    EXPECT_EQ(s.rodzajecd[2] + s.rodzajemc[2] + s.rodzajecd[4] + s.rodzajemc[4], 0);
}

TEST(Summary, MultiDiscAlbumsAndSharedDiscs)
{
    const TPodsumowanie discs =
        sums({entry("00005", "O", "00007", "-", "-"), entry("00005", "O", "00008", "-", "-")});
    EXPECT_EQ(discs.albumy, 1);
    EXPECT_EQ(discs.plyty, 2);
    EXPECT_EQ(discs.rodzajecd[1], 2);
    const TPodsumowanie shared =
        sums({entry("00001", "O", "00003", "-", "-"), entry("00002", "P", "00003", "-", "-")});
    EXPECT_EQ(shared.albumy, 2);
    EXPECT_EQ(shared.plyty, 1);
}

TEST(Summary, TesameCountsTheFirstCountedRowOfEachAlbum)
{
    EXPECT_EQ(sums({entry("00001", "O", "00001", "-", "-"), entry("00001", "-", "-", "O", "00001")})
                  .tesame,
              0);
    EXPECT_EQ(sums({entry("00001", "O", "00001", "O", "00001"),
                    entry("00001", "O", "00002", "O", "00002")})
                  .tesame,
              1);
}

TEST(Summary, OddCellsAndSelections)
{
    // A lower-case o is a copy from MP3; an ID with a trailing space or a
    // dash reads as no number but its medium still counts.
    const TPodsumowanie odd = sums({entry("00001 ", "o", "-", "", "00009 ")});
    EXPECT_EQ(odd.rodzajecd[4], 1);
    EXPECT_EQ(odd.rodzajemc[4], 1); // an empty kind cell counts as "M" too
    EXPECT_EQ(odd.albumy, 0);
    EXPECT_EQ(odd.plyty, 0);
    EXPECT_EQ(odd.kasety, 0);

    const std::array<bool, 4> noPirates = {true, false, true, true};
    const TPodsumowanie pirates =
        sums({entry("00001", "P", "00001", "-", "-"), entry("00002", "P", "00002", "O", "00002")},
             noPirates);
    EXPECT_EQ(pirates.albumy, 1);
    EXPECT_EQ(pirates.plyty, 0);
    EXPECT_EQ(pirates.kasety, 1);
    EXPECT_EQ(pirates.tesame, 0);

    const TPodsumowanie none = sums({entry("00001", "O", "00001", "O", "00001")},
                                    {false, false, false, false}, {false, false, false, false});
    EXPECT_EQ(none.albumy + none.plyty + none.kasety + none.tesame + none.rodzajecd[1], 0);
}

TEST(Summary, NegativeAndZeroIdsAreOrdinaryMembers)
{
    const TPodsumowanie s =
        sums({entry("0", "O", "-5", "-", "-"), entry("-0", "O", "$FFFFFFFB", "-", "-")});
    EXPECT_EQ(s.albumy, 1);
    EXPECT_EQ(s.plyty, 1);
}

TEST(Summary, EmptyCatalogueGivesZeros)
{
    const TPodsumowanie s = sums({});
    EXPECT_EQ(s.albumy + s.plyty + s.kasety + s.tesame, 0);
}

} // namespace
} // namespace alborx
