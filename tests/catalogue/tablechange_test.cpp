#include "albumeditor.h"
#include "cataloguefile.h"
#include "search.h"
#include "tablechange.h"
#include "tempdir.h"
#include "textfunctions.h"

#include <functional>
#include <gtest/gtest.h>

namespace alborx {
namespace {

// Everything undo must put back: every row with the header and the blank row
// of an empty catalogue, the album count and the ID counters.
struct Snapshot
{
    std::vector<Row> rows;
    std::int32_t albums = 0;
    IdCounters counters;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const AlbumTable& table, const TUstawienia& settings)
{
    Snapshot s;
    for (int r = 0; r < table.rowCount(); ++r)
        s.rows.push_back(rowOf(table.row(r)));
    s.albums = table.liczbaalbumow();
    s.counters = countersOf(settings);
    return s;
}

Row album(const std::string& id, const std::string& performer, const std::string& genre = "Rock")
{
    return {id, performer, "Tytuł " + id, genre, "O", "-", id, "-"};
}

EditorForm form(const std::string& performer, const std::string& aid = "")
{
    EditorForm f;
    f.aid = aid;
    f.azespol = performer;
    f.aalbum = "Nowy";
    f.nosnikcd = true;
    return f;
}

struct Case
{
    const char* name;
    std::vector<Row> albums;
    // Runs the command and returns the change it made.
    std::function<TableChange(AlbumTable&, TUstawienia&)> command;
};

std::vector<Case> cases()
{
    const std::vector<Row> three = {album("00001", "A"), album("00002", "B", "Jazz"),
                                    album("00003", "C")};
    const auto dodaj = [](AlbumTable& t, TUstawienia& s) {
        EditorForm f = form("Nowy");
        return dodajalbum(t, f, s).change;
    };
    return {
        {"DodajIntoAnEmptyCatalogue", {}, dodaj},
        {"DodajAtTheEnd", three, dodaj},
        {"PoprawWithANewId", three,
         [](AlbumTable& t, TUstawienia& s) {
             EditorForm f = form("Poprawiony");
             return poprawalbum(t, EditorBinding{2, 0, false, t.rowKey(2)}, f, s).change;
         }},
        {"UsunInTheMiddle", three,
         [](AlbumTable& t, TUstawienia&) {
             return usunalbum(t, EditorBinding{2, 0, false, t.rowKey(2)});
         }},
        {"UsunTheOnlyAlbum",
         {album("00007", "Sam")},
         [](AlbumTable& t, TUstawienia&) {
             return usunalbum(t, EditorBinding{1, 0, false, t.rowKey(1)});
         }},
        {"ZamienNastepny", three,
         [](AlbumTable& t, TUstawienia& s) {
             Row after = rowOf(t.row(3));
             SearchColumns columns{};
             columns.fill(true);
             replaceInRow(after, "Tytuł", "Utwór", columns);
             return albumRewritten(t, 3, after, countersOf(s), countersOf(s));
         }},
        {"GenreRenamedInEveryAlbum", three,
         [](AlbumTable& t, TUstawienia&) {
             return renameGenreInAlbums(t, "Rock", "Rock i blues");
         }},
        {"JoinIntoItself", three,
         [](AlbumTable& t, TUstawienia&) {
             test::TempDir dir;
             const std::string name = dir.file("k.abx");
             TUstawienia scratch;
             EXPECT_EQ(zapiszbaze(t, scratch, name), WriteError::None);
             return dolaczbaze(t, scratch, name).change;
         }},
        {"JoinIntoAnEmptyCatalogue",
         {},
         [three](AlbumTable& t, TUstawienia&) {
             test::TempDir dir;
             AlbumTable other;
             other.assignAlbums(three);
             TUstawienia scratch;
             EXPECT_EQ(zapiszbaze(other, scratch, dir.file("o.abx")), WriteError::None);
             return dolaczbaze(t, scratch, dir.file("o.abx")).change;
         }},
    };
}

TEST(UndoRedo, EveryCommandIsUndoneAndRedoneExactly)
{
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        AlbumTable table;
        table.assignAlbums(c.albums);
        TUstawienia settings;
        settings.nastid = 3;
        settings.nastidcd = 3;
        const Snapshot before = snapshot(table, settings);
        // Preparing a change leaves the table alone; making it is the first redo.
        const TableChange change = c.command(table, settings);
        ASSERT_FALSE(change.empty());
        EXPECT_EQ(snapshot(table, settings), before);
        redoChange(table, settings, change);
        const Snapshot after = snapshot(table, settings);
        ASSERT_NE(before, after);
        // Twice each way: a change can be taken back and done again freely.
        for (int round = 0; round < 2; ++round) {
            undoChange(table, settings, change);
            EXPECT_EQ(snapshot(table, settings), before);
            redoChange(table, settings, change);
            EXPECT_EQ(snapshot(table, settings), after);
        }
    }
}

TEST(UndoRedo, StepsAreUndoneInTurnBackToTheStart)
{
    AlbumTable table;
    table.assignAlbums({album("00001", "A"), album("00002", "B")});
    TUstawienia settings;
    std::vector<Snapshot> states{snapshot(table, settings)};
    std::vector<TableChange> steps;
    const auto make = [&](TableChange change) {
        redoChange(table, settings, change);
        steps.push_back(std::move(change));
        states.push_back(snapshot(table, settings));
    };
    make(usunalbum(table, EditorBinding{1, 0, false, table.rowKey(1)}));
    EditorForm f = form("C");
    make(dodajalbum(table, f, settings).change);
    make(renameGenreInAlbums(table, "Rock", "Pop"));

    for (std::size_t i = steps.size(); i-- > 0;) {
        undoChange(table, settings, steps[i]);
        EXPECT_EQ(snapshot(table, settings), states[i]) << i;
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        redoChange(table, settings, steps[i]);
        EXPECT_EQ(snapshot(table, settings), states[i + 1]) << i;
    }
}

TEST(UndoRedo, ChangesFindTheirRowsAfterASort)
{
    AlbumTable table;
    table.assignAlbums({album("00001", "C"), album("00002", "A"), album("00003", "B")});
    TUstawienia settings;
    Row changed = rowOf(table.row(1));
    changed[ColumnTitle] = "Zmieniony";
    const TableChange edit = albumRewritten(table, 1, changed, {}, {});
    redoChange(table, settings, edit);
    const TableChange removal = albumRemoved(table, 3);
    redoChange(table, settings, removal);

    table.sortByColumn(ColumnTitle); // A, C: the edited album moved to row 2
    undoChange(table, settings, removal);
    undoChange(table, settings, edit);
    EXPECT_EQ(table.liczbaalbumow(), 3);
    EXPECT_EQ(table.cell(ColumnTitle, 2), "Tytuł 00001");
    EXPECT_EQ(table.cell(ColumnPerformer, 2), "C");
    redoChange(table, settings, edit);
    EXPECT_EQ(table.cell(ColumnTitle, 2), "Zmieniony");
    redoChange(table, settings, removal);
    EXPECT_EQ(table.liczbaalbumow(), 2);
    EXPECT_EQ(table.cell(ColumnPerformer, 1), "A");
    EXPECT_EQ(table.cell(ColumnPerformer, 2), "C");
}

TEST(UndoRedo, AChangeStoresOnlyWhatItTouched)
{
    AlbumTable table;
    std::vector<Row> many;
    for (int i = 1; i <= 1000; ++i)
        many.push_back(album(l2t(i, 5), "P", i % 10 == 0 ? "Jazz" : "Rock"));
    table.assignAlbums(many);
    const TableChange rename = renameGenreInAlbums(table, "Jazz", "Blues");
    EXPECT_EQ(rename.cells.size(), 100u);
    EXPECT_TRUE(rename.inserted.empty());
    EXPECT_TRUE(rename.removed.empty());
    const TableChange removal = albumRemoved(table, 500);
    EXPECT_EQ(removal.removed.size(), 1u);
    EXPECT_TRUE(renameGenreInAlbums(table, "Polka", "Folk").empty());
}

} // namespace
} // namespace alborx
