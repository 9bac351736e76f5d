#include "albumeditor.h"

#include "copykinds.h"
#include "freeid.h"
#include "textfunctions.h"

namespace alborx {

namespace {

int itemOfKind(const std::string& letter)
{
    const int code = copyKindCode(letter);
    return (code == 0 ? 1 : code) - 1;
}

bool ownsMedium(const std::string& kind)
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

void writeRow(AlbumTable& table, int row, const EditorForm& form)
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
    table.setRow(row, std::move(cells));
}

} // namespace

EditorForm formFromRow(const Row& row)
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

bool assignIds(const AlbumTable& table, EditorForm& form, TUstawienia& counters)
{
    std::int32_t nastid = counters.nastid;
    std::int32_t nastidcd = counters.nastidcd;
    std::int32_t nastidmc = counters.nastidmc;
    const auto id = readIdField(table, form.aid, IdKindAlbum, nastid);
    std::optional<std::int32_t> cd;
    std::optional<std::int32_t> mc;
    if (form.nosnikcd)
        cd = readIdField(table, form.idcd, IdKindCd, nastidcd);
    if (form.nosnikmc)
        mc = readIdField(table, form.idmc, IdKindMc, nastidmc);
    if (!id || (form.nosnikcd && !cd) || (form.nosnikmc && !mc))
        return false;

    counters.nastid = nastid;
    counters.nastidcd = nastidcd;
    counters.nastidmc = nastidmc;
    form.aid = l2t(*id, 5);
    form.idcd = cd ? l2t(*cd, 5) : std::string();
    form.idmc = mc ? l2t(*mc, 5) : std::string();
    return true;
}

AddResult dodajalbum(AlbumTable& table, EditorForm& form, TUstawienia& counters)
{
    AddResult added;
    if (!qualifies(form))
        return added;
    if (!assignIds(table, form, counters)) {
        added.result = EditResult::NoFreeId;
        return added;
    }
    added.result = EditResult::Written;
    added.row = appendAlbum(table, form);
    return added;
}

int appendAlbum(AlbumTable& table, const EditorForm& form)
{
    const int row = table.liczbaalbumow() + 1;
    if (row >= table.rowCount())
        table.setRowCount(row + 1);
    writeRow(table, row, form);
    table.setLiczbaalbumow(row);
    return row;
}

bool boundRowIsValid(const AlbumTable& table, const EditorBinding& binding)
{
    const int row = binding.wybranywiersz;
    return row >= 1 && row <= table.liczbaalbumow() && row < table.rowCount() &&
           table.cell(ColumnId, row) == binding.boundId;
}

bool boundFilterRowIsValid(const AlbumTable& filtered, const EditorBinding& binding)
{
    const int row = binding.wierszfiltru;
    return row >= 1 && row < filtered.rowCount() && filtered.cell(ColumnId, row) == binding.boundId;
}

EditResult poprawalbum(AlbumTable& table, const EditorBinding& binding, EditorForm& form,
                       TUstawienia& counters)
{
    if (!boundRowIsValid(table, binding) || !qualifies(form))
        return EditResult::NotQualified;
    if (!assignIds(table, form, counters))
        return EditResult::NoFreeId;
    writeRow(table, binding.wybranywiersz, form);
    return EditResult::Written;
}

bool usunalbum(AlbumTable& table, const EditorBinding& binding)
{
    if (table.liczbaalbumow() == 0 || !boundRowIsValid(table, binding))
        return false;
    table.removeRow(binding.wybranywiersz);
    table.setLiczbaalbumow(table.liczbaalbumow() - 1);
    return true;
}

} // namespace alborx
