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
    const CardsOpened afterRemoval = third.open(reopened, path);
    EXPECT_EQ(std::make_pair(afterRemoval.matched, afterRemoval.unmatched), std::make_pair(1, 0));
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

// FNV-1a of the album's record, the number a companion keeps of it.
std::int64_t recordFingerprint(const RowView& row)
{
    std::uint8_t record[kAlbumRecordSize] = {};
    encodeRow(row, record);
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : record)
        hash = (hash ^ byte) * 1099511628211ull;
    return static_cast<std::int64_t>(hash);
}

TEST(AlbumCards, ACompanionOfTheFirstLayoutOpensAndIsWrittenInTheNew)
{
    TempDir dir;
    const std::string path = dir.file("v1.abx");
    AlbumTable table = tableOf({"Kult", "Armia"});
    table.setCell(ColumnTitle, 2, std::string(60, 'x')); // the whole field, no zeros after it
    const std::string sql =
        "CREATE TABLE card (id INTEGER PRIMARY KEY, position INTEGER NOT NULL, fingerprint "
        "INTEGER NOT NULL, year TEXT NOT NULL DEFAULT '', label TEXT NOT NULL DEFAULT '', "
        "catalogue_number TEXT NOT NULL DEFAULT '', country TEXT NOT NULL DEFAULT '', barcode "
        "TEXT NOT NULL DEFAULT '', notes TEXT NOT NULL DEFAULT '', release_id TEXT NOT NULL "
        "DEFAULT '');"
        "CREATE TABLE track (card INTEGER NOT NULL, seq INTEGER NOT NULL, number TEXT NOT NULL "
        "DEFAULT '', title TEXT NOT NULL DEFAULT '', performer TEXT NOT NULL DEFAULT '', "
        "length TEXT NOT NULL DEFAULT '', PRIMARY KEY (card, seq)) WITHOUT ROWID;"
        "CREATE TABLE cover (card INTEGER PRIMARY KEY, picture BLOB NOT NULL);"
        "PRAGMA application_id = 1095516760; PRAGMA user_version = 1;"
        "INSERT INTO card (id, position, fingerprint, label) VALUES (5, 1, " +
        std::to_string(recordFingerprint(table.row(1))) + ", 'Pomaton'), (7, 1, " +
        std::to_string(recordFingerprint(table.row(2))) +
        ", 'Tonpress'), (9, 2, 12345, 'Obcy');"
        "INSERT INTO track (card, seq, title) VALUES (5, 1, 'Arahja'), (9, 1, 'Nic');";
    runSql(path + "-karty", sql.c_str());

    AlbumCards cards;
    const CardsOpened opened = cards.open(table, path);
    EXPECT_EQ(opened.status, CardFileStatus::Opened);
    EXPECT_EQ(std::make_pair(opened.matched, opened.unmatched), std::make_pair(2, 1));
    EXPECT_EQ(labels(cards, table), (std::vector<std::string>{"Pomaton", "Tonpress"}));
    EXPECT_EQ(cards.texts(cards.card(table.rowKey(1)))->tracks.at(0).title, "Arahja");

    table.sortByColumn(ColumnPerformer);
    table.removeAlbumsByKey({table.rowKey(2)}); // Armia
    ASSERT_EQ(save(cards, table, path), WriteError::None);
    AlbumCards again;
    const CardsOpened reopened = again.open(table, path);
    EXPECT_EQ(reopened.status, CardFileStatus::Opened);
    EXPECT_EQ(std::make_pair(reopened.matched, reopened.unmatched), std::make_pair(1, 1));
    EXPECT_EQ(labels(again, table), (std::vector<std::string>{"Pomaton"}));
    EXPECT_EQ(again.texts(again.card(table.rowKey(1)))->tracks.size(), 1u);
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
    EXPECT_EQ(hostile("UPDATE place SET cards = x'0102'"),
              std::make_tuple(CardFileStatus::Damaged, false, std::size_t(0)));
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
