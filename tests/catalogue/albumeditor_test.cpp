#include "albumeditor.h"
#include "tablechange.h"
#include "textfunctions.h"

#include <gtest/gtest.h>

namespace alborx {
namespace {

EditorForm cdAlbum(const std::string& aid, const std::string& performer = "Kult")
{
    EditorForm form;
    form.aid = aid;
    form.azespol = performer;
    form.aalbum = "Spokojnie";
    form.nosnikcd = true;
    return form;
}

// The commands as the window makes them: the change prepared, then made.
EditOutcome dodaj(AlbumTable& table, EditorForm& form, TUstawienia& settings)
{
    EditOutcome outcome = dodajalbum(table, form, settings);
    redoChange(table, settings, outcome.change);
    return outcome;
}

EditResult popraw(AlbumTable& table, const EditorBinding& binding, EditorForm& form,
                  TUstawienia& settings)
{
    const EditOutcome outcome = poprawalbum(table, binding, form, settings);
    redoChange(table, settings, outcome.change);
    return outcome.result;
}

bool usun(AlbumTable& table, const EditorBinding& binding)
{
    const TableChange change = usunalbum(table, binding);
    TUstawienia settings;
    redoChange(table, settings, change);
    return !change.empty();
}

AlbumTable withIds(const std::vector<std::string>& ids)
{
    AlbumTable table;
    std::vector<Row> rows;
    for (const std::string& id : ids)
        rows.push_back({id, "P", "T", "", "O", "-", id, "-"});
    table.assignAlbums(rows);
    return table;
}

TEST(EditorForm, LoadsARowWithTheMediumRule)
{
    const EditorForm form =
        formFromRow({"00004", "Kult", "Ostateczny", "Rock", "x", "-", "00012", "-"});
    EXPECT_EQ(form.aid, "00004");
    EXPECT_TRUE(form.nosnikcd);
    EXPECT_EQ(form.kopiacd, 3); // any other text shows as "Z MP3 (M)"
    EXPECT_EQ(form.idcd, "00012");
    EXPECT_FALSE(form.nosnikmc);
    EXPECT_EQ(form.idmc, "");
    EXPECT_EQ(form.kopiamc, 0);
    EXPECT_FALSE(formFromRow({"1", "", "", "", "", "", "5", ""}).nosnikcd);
    EXPECT_EQ(formFromRow({"1", "", "", "", "-", "P", "-", "00002"}).kopiamc, 1);
}

TEST(EditorForm, QualifiesWithAMediumAndAPerformerOrTitle)
{
    EditorForm form = cdAlbum("", "   ");
    form.aalbum.clear();
    EXPECT_TRUE(qualifies(form)); // spaces count as typed
    form.azespol.clear();
    form.agatunek = "Rock";
    EXPECT_FALSE(qualifies(form));
    form.aalbum = "T";
    form.nosnikcd = false;
    EXPECT_FALSE(qualifies(form));
    form.nosnikmc = true;
    EXPECT_TRUE(qualifies(form));
}

TEST(Dodaj, FillsTheBlankRowOfANewCatalogue)
{
    AlbumTable table;
    TUstawienia counters;
    EditorForm form = cdAlbum("");
    form.azespol = "Kult  ";
    const EditOutcome added = dodaj(table, form, counters);
    EXPECT_EQ(added.result, EditResult::Written);
    EXPECT_EQ(added.change.insertedAt, 1);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.liczbaalbumow(), 1);
    EXPECT_EQ(table.row(1), Row({"00001", "Kult", "Spokojnie", "", "O", "-", "00001", "-"}));
    EXPECT_EQ(form.aid, "00001");
    EXPECT_EQ(form.idcd, "00001");
}

TEST(Dodaj, ReadsIdFieldsByTheIdRule)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"7", "00007"},   {"0", "00001"},       {"-3", "00001"},  {"abc", "00001"},
        {"$1F", "00031"}, {"123456", "123456"}, {" 12 ", "00012"}};
    for (const auto& [typed, stored] : cases) {
        AlbumTable table;
        TUstawienia counters;
        EditorForm form = cdAlbum(typed);
        form.idcd = typed;
        dodaj(table, form, counters);
        EXPECT_EQ(table.cell(ColumnId, 1), stored) << typed;
        EXPECT_EQ(table.cell(ColumnCdId, 1), stored) << typed;
    }
}

TEST(Dodaj, AutomaticIdsFollowTheCounter)
{
    AlbumTable table = withIds({"00001", "00002", "00004"});
    TUstawienia counters;
    counters.nastid = 1;
    counters.nastidcd = 0;
    EditorForm form = cdAlbum("");
    const EditOutcome added = dodaj(table, form, counters);
    EXPECT_EQ(added.change.insertedAt, 4);
    EXPECT_EQ(table.cell(ColumnId, 4), "00003");
    EXPECT_EQ(form.aid, "00003");
    EXPECT_EQ(counters.nastid, 3);
    EXPECT_EQ(table.cell(ColumnCdId, 4), "00003");
}

TEST(Dodaj, TwiceWithoutChangesAddsTwoAlbumsWithTheSameIds)
{
    AlbumTable table;
    TUstawienia counters;
    EditorForm form = cdAlbum("");
    dodaj(table, form, counters);
    dodaj(table, form, counters);
    EXPECT_EQ(table.liczbaalbumow(), 2);
    EXPECT_EQ(table.row(1), table.row(2));
}

TEST(Dodaj, AMediumNotOwnedStoresDashesAndEmptiesItsField)
{
    AlbumTable table;
    TUstawienia counters;
    EditorForm form = cdAlbum("5");
    form.nosnikcd = false;
    form.idcd = "9";
    form.nosnikmc = true;
    form.kopiamc = 2;
    dodaj(table, form, counters);
    EXPECT_EQ(table.row(1), Row({"00005", "Kult", "Spokojnie", "", "-", "K", "-", "00001"}));
    EXPECT_EQ(form.idcd, "");
    EXPECT_EQ(form.idmc, "00001");
}

TEST(Dodaj, NotQualifiedOrNoFreeIdWritesNothing)
{
    AlbumTable table;
    TUstawienia counters;
    EditorForm empty;
    EXPECT_EQ(dodaj(table, empty, counters).result, EditResult::NotQualified);

    std::vector<std::string> ids;
    for (int id = 1; id <= 99999; ++id)
        ids.push_back(l2t(id, 5));
    AlbumTable full = withIds(ids);
    EditorForm form = cdAlbum("17"); // the album ID is typed, the CD ID is not
    EXPECT_EQ(dodaj(full, form, counters).result, EditResult::NoFreeId);
    EXPECT_EQ(full.liczbaalbumow(), 99999);
    EXPECT_EQ(form.aid, "17");
    EXPECT_EQ(counters.nastid, 0);
}

TEST(Popraw, OldIdsStillCountAsTaken)
{
    AlbumTable table = withIds({"00001", "00002"});
    TUstawienia counters;
    EditorBinding binding{1, 0, false, table.rowKey(1)};
    EditorForm form = formFromRow(table.row(1));
    form.aid.clear();
    form.idcd.clear();
    EXPECT_EQ(popraw(table, binding, form, counters), EditResult::Written);
    EXPECT_EQ(table.cell(ColumnId, 1), "00003");
    EXPECT_EQ(table.cell(ColumnCdId, 1), "00003");
    EXPECT_EQ(table.liczbaalbumow(), 2);
}

TEST(Popraw, UntickingCdStoresDashes)
{
    AlbumTable table = withIds({"00001"});
    TUstawienia counters;
    EditorBinding binding{1, 0, false, table.rowKey(1)};
    EditorForm form = formFromRow(table.row(1));
    form.nosnikcd = false;
    form.nosnikmc = true;
    popraw(table, binding, form, counters);
    EXPECT_EQ(table.cell(ColumnCdKind, 1), "-");
    EXPECT_EQ(table.cell(ColumnCdId, 1), "-");
    EXPECT_EQ(form.idcd, "");
}

TEST(EditorGuards, PoprawAndUsunTouchOnlyTheBoundAlbum)
{
    AlbumTable table = withIds({"00001", "00002"});
    TUstawienia counters;
    EditorForm form = cdAlbum("9");
    for (const EditorBinding& stale :
         {EditorBinding{0, 0, false, table.rowKey(0)}, EditorBinding{3, 0, false, 0},
          EditorBinding{2, 0, false, 0}, EditorBinding{-1, 0, false, 0}}) {
        EXPECT_EQ(popraw(table, stale, form, counters), EditResult::NotQualified);
        EXPECT_FALSE(usun(table, stale));
    }
    EXPECT_EQ(table.liczbaalbumow(), 2);
    EXPECT_EQ(table.cell(ColumnId, 0), "ID");
    EXPECT_EQ(table.cell(ColumnId, 2), "00002");

    AlbumTable empty;
    EXPECT_FALSE(usun(empty, EditorBinding{1, 0, false, empty.rowKey(1)}));
    EXPECT_EQ(empty.rowCount(), 2);
}

TEST(EditorGuards, UsunRemovesTheRowAndLeavesABlankRowAtTheEnd)
{
    AlbumTable table = withIds({"00001", "00002"});
    EXPECT_TRUE(usun(table, EditorBinding{1, 0, false, table.rowKey(1)}));
    EXPECT_EQ(table.liczbaalbumow(), 1);
    EXPECT_EQ(table.cell(ColumnId, 1), "00002");
    EXPECT_TRUE(usun(table, EditorBinding{1, 0, false, table.rowKey(1)}));
    EXPECT_EQ(table.liczbaalbumow(), 0);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.row(1), Row{});
}

TEST(EditorGuards, TheBindingNamesTheAlbumNotItsIdOrRow)
{
    // Two albums share an ID, as after joining a catalogue numbered from 1;
    // the editor is bound to the second, which a sort has since moved.
    AlbumTable table = withIds({"00007", "00007", "00003"});
    table.setCell(ColumnTitle, 2, "Beta");
    const RowKey beta = table.rowKey(2);
    table.sortByColumn(ColumnId);
    TUstawienia counters;
    EditorForm form = cdAlbum("00007");
    form.aalbum = "Beta (reedycja)";
    EXPECT_EQ(popraw(table, EditorBinding{1, 0, false, beta}, form, counters), EditResult::Written);
    EXPECT_EQ(table.cell(ColumnTitle, 2), "T");
    EXPECT_EQ(table.cell(ColumnTitle, 3), "Beta (reedycja)");
    EXPECT_TRUE(usun(table, EditorBinding{3, 0, false, beta}));
    EXPECT_EQ(table.liczbaalbumow(), 2);
    EXPECT_EQ(table.cell(ColumnId, 2), "00007");
    EXPECT_EQ(table.cell(ColumnTitle, 2), "T");
}

} // namespace
} // namespace alborx
