#include "albumeditor.h"

#include "copykinds.h"
#include "freeid.h"
#include "textfunctions.h"

namespace alborx {

namespace {

int itemOfKind(std::string_view letter)
{
    const int code = copyKindCode(letter);
    return (code == 0 ? 1 : code) - 1;
}

bool ownsMedium(std::string_view kind)
{
    return !kind.empty() && kind != "-";
}

// The ID an ID field stands for: a number of at least 1 as typed, otherwise
// the next free one of its kind.
std::optional<std::int32_t> readIdField(const AlbumTable& table, const std::string& field,
                                        IdKind kind, std::int32_t& counter)
{
    const auto typed = readId(field);
    if (typed && *typed >= 1)
        return typed;
    return nowyid(table, kind, counter);
}

} // namespace

EditorForm formFromRow(const RowView& row)
{
    EditorForm form;
    form.aid = row[ColumnId];
    form.azespol = row[ColumnPerformer];
    form.aalbum = row[ColumnTitle];
    form.agatunek = row[ColumnGenre];
    form.nosnikcd = ownsMedium(row[ColumnCdKind]);
    if (form.nosnikcd) {
        form.kopiacd = itemOfKind(row[ColumnCdKind]);
        form.idcd = row[ColumnCdId];
    }
    form.nosnikmc = ownsMedium(row[ColumnMcKind]);
    if (form.nosnikmc) {
        form.kopiamc = itemOfKind(row[ColumnMcKind]);
        form.idmc = row[ColumnMcId];
    }
    return form;
}

bool qualifies(const EditorForm& form)
{
    return (form.nosnikcd || form.nosnikmc) && (!form.azespol.empty() || !form.aalbum.empty());
}

bool assignIds(const AlbumTable& table, EditorForm& form, IdCounters& counters)
{
    IdCounters next = counters;
    const auto id = readIdField(table, form.aid, IdKindAlbum, next.nastid);
    std::optional<std::int32_t> cd;
    std::optional<std::int32_t> mc;
    if (form.nosnikcd)
        cd = readIdField(table, form.idcd, IdKindCd, next.nastidcd);
    if (form.nosnikmc)
        mc = readIdField(table, form.idmc, IdKindMc, next.nastidmc);
    if (!id || (form.nosnikcd && !cd) || (form.nosnikmc && !mc))
        return false;

    counters = next;
    form.aid = l2t(*id, 5);
    form.idcd = cd ? l2t(*cd, 5) : std::string();
    form.idmc = mc ? l2t(*mc, 5) : std::string();
    return true;
}

Row rowOfForm(const EditorForm& form)
{
    Row cells;
    cells[ColumnId] = form.aid;
    cells[ColumnPerformer] = obetnijspacje(form.azespol);
    cells[ColumnTitle] = obetnijspacje(form.aalbum);
    cells[ColumnGenre] = obetnijspacje(form.agatunek);
    cells[ColumnCdKind] = form.nosnikcd ? std::string(copyKindLetter(form.kopiacd + 1)) : "-";
    cells[ColumnCdId] = form.nosnikcd ? form.idcd : "-";
    cells[ColumnMcKind] = form.nosnikmc ? std::string(copyKindLetter(form.kopiamc + 1)) : "-";
    cells[ColumnMcId] = form.nosnikmc ? form.idmc : "-";
    return cells;
}

namespace {

// Hands out the form's IDs and, when there are free ones, prepares the
// change the command makes of the form's row.
template <typename Prepare>
EditOutcome withIds(const AlbumTable& table, EditorForm& form, const TUstawienia& settings,
                    Prepare prepare)
{
    const IdCounters before = countersOf(settings);
    IdCounters after = before;
    if (!assignIds(table, form, after))
        return {EditResult::NoFreeId, {}};
    return {EditResult::Written, prepare(rowOfForm(form), before, after)};
}

} // namespace

EditOutcome dodajalbum(const AlbumTable& table, EditorForm& form, const TUstawienia& settings)
{
    if (!qualifies(form))
        return {};
    return withIds(table, form, settings,
                   [&](Row row, const IdCounters& before, const IdCounters& after) {
                       return albumsAppended(table, {{0, std::move(row)}}, before, after);
                   });
}

int boundRow(const AlbumTable& table, const EditorBinding& binding)
{
    if (binding.boundKey == 0 || table.liczbaalbumow() < 1)
        return 0;
    const int row = binding.wybranywiersz;
    if (row >= 1 && row <= table.liczbaalbumow() && table.rowKey(row) == binding.boundKey)
        return row;
    return table.rowsOfKeys({binding.boundKey}).front();
}

EditOutcome poprawalbum(const AlbumTable& table, const EditorBinding& binding, EditorForm& form,
                        const TUstawienia& settings)
{
    const int bound = boundRow(table, binding);
    if (bound == 0 || !qualifies(form))
        return {};
    return withIds(table, form, settings,
                   [&](const Row& row, const IdCounters& before, const IdCounters& after) {
                       return albumRewritten(table, bound, row, before, after);
                   });
}

TableChange usunalbum(const AlbumTable& table, const EditorBinding& binding)
{
    const int bound = boundRow(table, binding);
    if (bound == 0)
        return {};
    return albumRemoved(table, bound);
}

} // namespace alborx
