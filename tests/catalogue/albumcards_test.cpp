#include "albumcards.h"
#include "cataloguefile.h"
#include "tempdir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace alborx;
using test::TempDir;

namespace {

AlbumTable tableOf(const std::vector<std::string>& performers)
{
    AlbumTable table;
    std::vector<Row> rows;
    for (std::size_t i = 0; i < performers.size(); ++i)
        // The ID goes with the performer, as a record another program moved.
        rows.push_back({std::to_string(10 + performers[i][0]), performers[i], "Album", "Rock", "O",
                        "-", "", ""});
    table.assignAlbums(std::move(rows));
    return table;
}

AlbumCard cardOf(const std::string& label, std::size_t tracks = 2)
{
    AlbumCard card;
    card.rok = "1994";
    card.wytwornia = label;
    card.uwagi = "Zażółć gęślą jaźń\nø Ω 日本";
    for (std::size_t i = 1; i <= tracks; ++i)
        card.tracks.push_back(
            {std::to_string(i), "Utwór " + std::to_string(i), "", "3:0" + std::to_string(i % 10)});
    return card;
}

// The label on the card of each album, by row ("" for none).
std::vector<std::string> labels(const AlbumCards& cards, const AlbumTable& table)
{
    std::vector<std::string> shown;
    for (int row = 1; row <= table.liczbaalbumow(); ++row) {
        const auto texts = cards.texts(cards.card(table.rowKey(row)));
        shown.push_back(texts ? texts->wytwornia : "");
    }
    return shown;
}

// Changes a companion file behind the program's back.
void runSql(const std::string& file, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

WriteError save(AlbumCards& cards, const AlbumTable& table, const std::string& path)
{
    TUstawienia settings;
    WriteError error = cards.prepareSave(table, path);
    if (error == WriteError::None)
        error = zapiszbaze(table, settings, path);
    return error == WriteError::None ? cards.commitSave() : error;
}

TEST(AlbumCards, FollowTheirAlbumsThroughSortSaveAndReopen)
{
    TempDir dir;
    const std::string path = dir.file("kolekcja.abx");
    AlbumTable table = tableOf({"Kult", "Armia", "Dezerter"});
    AlbumCards cards;
    cards.apply({{table.rowKey(1), nullptr, cardInMemory(cardOf("Pomaton"), "JPEG")},
                 {table.rowKey(3), nullptr, cardInMemory(cardOf("Tonpress", 500 + 3), "")}},
                true);
    table.sortByColumn(ColumnPerformer); // again: descending
    ASSERT_EQ(save(cards, table, path), WriteError::None);
    EXPECT_TRUE(test::fileExists(path + "-karty"));

    AlbumTable reopened;
    TUstawienia settings;
    ASSERT_EQ(otworzbaze(reopened, settings, path).status, OpenStatus::Opened);
    AlbumCards again;
    const CardsOpened opened = again.open(reopened, path);
    EXPECT_EQ(opened.status, CardFileStatus::Opened);
    EXPECT_EQ(opened.matched, 2);
    EXPECT_EQ(labels(again, reopened), (std::vector<std::string>{"Pomaton", "Tonpress", ""}));
    const CardRef kult = again.card(reopened.rowKey(1));
    EXPECT_EQ(*again.texts(kult), cardOf("Pomaton"));
    EXPECT_EQ(again.cover(kult), "JPEG");
    EXPECT_EQ(again.texts(again.card(reopened.rowKey(2)))->tracks.size(), kMostTracks);

    // A second save keeps the cards it copies and drops a removed album's.
    reopened.removeAlbumsByKey({reopened.rowKey(2)});
    ASSERT_EQ(save(again, reopened, path), WriteError::None);
    EXPECT_TRUE(test::fileExists(path + "-karty.bak"));
    AlbumCards third;
    EXPECT_EQ(third.open(reopened, path).matched, 1);
    EXPECT_EQ(labels(third, reopened), (std::vector<std::string>{"Pomaton", ""}));
    // The card the history could still bring back reads as before.
    EXPECT_EQ(again.texts(kult)->wytwornia, "Pomaton");
}

TEST(AlbumCards, AnotherProgramsReorderingIsFollowedAndStrayCardsKept)
{
    TempDir dir;
    const std::string path = dir.file("k.abx");
    AlbumTable table = tableOf({"A", "B", "C"});
    AlbumCards cards;
    for (int row = 1; row <= 3; ++row)
        cards.apply({{table.rowKey(row), nullptr,
                      cardInMemory(cardOf(std::string(1, char('a' + row - 1))), "")}},
                    true);
    ASSERT_EQ(save(cards, table, path), WriteError::None);

    // Another program wrote the albums in another order and changed one.
    AlbumTable edited = tableOf({"C", "X", "A"});
    AlbumCards matched;
    const CardsOpened opened = matched.open(edited, path);
    EXPECT_EQ(opened.matched, 2);
    EXPECT_EQ(opened.unmatched, 1);
    EXPECT_EQ(labels(matched, edited), (std::vector<std::string>{"c", "", "a"}));
    // The stray card is kept by the next save and still told of.
    ASSERT_EQ(save(matched, edited, path), WriteError::None);
    EXPECT_EQ(AlbumCards().open(edited, path).unmatched, 1);
    EXPECT_EQ(AlbumCards().open(tableOf({"B"}), path).matched, 1);
}

TEST(AlbumCards, ADamagedOrHostileCompanionNeverStopsTheCatalogue)
{
    TempDir dir;
    const std::string path = dir.file("h.abx");
    const AlbumTable table = tableOf({"A"});
    const auto openedAs = [&](const std::vector<std::uint8_t>& bytes) {
        test::writeBytes(path + "-karty", bytes);
        AlbumCards cards;
        return cards.open(table, path).status;
    };
    EXPECT_EQ(AlbumCards().open(table, path).status, CardFileStatus::Missing);
    EXPECT_EQ(openedAs({'n', 'o', 't'}), CardFileStatus::NotCardFile);
    EXPECT_EQ(openedAs({}), CardFileStatus::NotCardFile);

    // A database of another layout, one of a later version, and one whose
    // texts and tracks pass every bound.
    std::remove((path + "-karty").c_str());
    runSql(path + "-karty", "CREATE TABLE t (x); PRAGMA application_id = 1095516760;");
    EXPECT_EQ(AlbumCards().open(table, path).status, CardFileStatus::NotCardFile);
    AlbumCards fresh;
    fresh.apply({{table.rowKey(1), nullptr, cardInMemory(cardOf("L"), "")}}, true);
    ASSERT_EQ(save(fresh, table, path), WriteError::None);
    std::vector<std::uint8_t> good = test::readBytes(path + "-karty");
    const auto hostile = [&](const char* sql) {
        test::writeBytes(path + "-karty", good);
        runSql(path + "-karty", sql);
        AlbumCards cards;
        const CardsOpened opened = cards.open(table, path);
        const auto texts = cards.texts(cards.card(table.rowKey(1)));
        return std::make_tuple(opened.status, texts.has_value(),
                               texts ? texts->uwagi.size() + texts->tracks.size() : 0);
    };
    EXPECT_EQ(std::get<0>(hostile("PRAGMA user_version = 7")), CardFileStatus::Newer);
    EXPECT_EQ(hostile("UPDATE card SET notes = zeroblob(20000000)"),
              std::make_tuple(CardFileStatus::Opened, false, std::size_t(0)));
    EXPECT_EQ(
        hostile("WITH RECURSIVE n(i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n "
                "WHERE i < 1000) INSERT INTO track (card, seq, title) SELECT 1, i, "
                "printf('%0*d', 5000, i) FROM n"),
        std::make_tuple(CardFileStatus::Opened, true, cardOf("L").uwagi.size() + kMostTracks));
    // A file cut short is told as damaged or no card file; either way the
    // catalogue opens.
    good.resize(good.size() / 2);
    EXPECT_NE(openedAs(good), CardFileStatus::Opened);
}

} // namespace
