#include "tablechange.h"

#include <algorithm>

namespace alborx {

namespace {

// The rows of the edits' keys now: a row still at its recorded place is
// taken at once; only the others are looked up, in one pass.
std::vector<int> rowsOfEdits(const AlbumTable& table, const std::vector<CellEdit>& edits)
{
    std::vector<int> rows(edits.size(), 0);
    std::vector<RowKey> missing;
    std::vector<std::size_t> missingAt;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        const CellEdit& edit = edits[i];
        if (edit.row >= 1 && edit.row <= table.liczbaalbumow() && edit.row < table.rowCount() &&
            table.rowKey(edit.row) == edit.key) {
            rows[i] = edit.row;
        } else {
            missing.push_back(edit.key);
            missingAt.push_back(i);
        }
    }
    if (!missing.empty()) {
        const std::vector<int> found = table.rowsOfKeys(missing);
        for (std::size_t j = 0; j < missing.size(); ++j)
            rows[missingAt[j]] = found[j];
    }
    return rows;
}

void writeCells(AlbumTable& table, const std::vector<CellEdit>& edits, bool after)
{
    const std::vector<int> rows = rowsOfEdits(table, edits);
    for (std::size_t i = 0; i < edits.size(); ++i) {
        if (rows[i] > 0)
            table.setCell(edits[i].column, rows[i], after ? edits[i].after : edits[i].before);
    }
}

std::vector<RowKey> keysOf(const std::vector<KeyedRow>& rows)
{
    std::vector<RowKey> keys;
    keys.reserve(rows.size());
    for (const KeyedRow& row : rows)
        keys.push_back(row.key);
    return keys;
}

std::vector<RowKey> keysOf(const std::vector<PlacedRow>& rows)
{
    std::vector<RowKey> keys;
    keys.reserve(rows.size());
    for (const PlacedRow& row : rows)
        keys.push_back(row.album.key);
    return keys;
}

} // namespace

IdCounters countersOf(const TUstawienia& settings)
{
    return {settings.nastid, settings.nastidcd, settings.nastidmc};
}

void setCounters(TUstawienia& settings, const IdCounters& counters)
{
    settings.nastid = counters.nastid;
    settings.nastidcd = counters.nastidcd;
    settings.nastidmc = counters.nastidmc;
}

void undoChange(AlbumTable& table, TUstawienia& settings, const TableChange& change)
{
    if (!change.inserted.empty())
        table.removeAlbumsByKey(keysOf(change.inserted));
    for (const PlacedRow& removed : change.removed)
        table.insertAlbums(removed.position, {removed.album});
    writeCells(table, change.cells, false);
    if (change.countersBefore != change.countersAfter)
        setCounters(settings, change.countersBefore);
}

void redoChange(AlbumTable& table, TUstawienia& settings, const TableChange& change)
{
    writeCells(table, change.cells, true);
    if (!change.removed.empty())
        table.removeAlbumsByKey(keysOf(change.removed));
    if (!change.inserted.empty())
        table.insertAlbums(change.insertedAt, change.inserted);
    if (change.countersBefore != change.countersAfter)
        setCounters(settings, change.countersAfter);
}

TableChange albumsAdded(const AlbumTable& table, int first, int last, const IdCounters& before,
                        const IdCounters& after)
{
    TableChange change;
    change.insertedAt = first;
    change.countersBefore = before;
    change.countersAfter = after;
    if (first < 1)
        return change;
    last = std::min({last, table.liczbaalbumow(), table.rowCount() - 1});
    change.inserted.reserve(static_cast<std::size_t>(std::max(0, last - first + 1)));
    for (int row = first; row <= last; ++row)
        change.inserted.push_back({table.rowKey(row), table.row(row)});
    return change;
}

TableChange albumRemoved(const AlbumTable& table, int row)
{
    TableChange change;
    if (row >= 1 && row <= table.liczbaalbumow() && row < table.rowCount())
        change.removed.push_back({row, {table.rowKey(row), table.row(row)}});
    return change;
}

TableChange albumRewritten(const AlbumTable& table, int row, const Row& before,
                           const IdCounters& countersBefore, const IdCounters& countersAfter)
{
    TableChange change;
    change.countersBefore = countersBefore;
    change.countersAfter = countersAfter;
    if (row < 1 || row >= table.rowCount())
        return change;
    for (int column = 0; column < kColumnCount; ++column) {
        const std::string& now = table.cell(column, row);
        if (now != before[static_cast<std::size_t>(column)])
            change.cells.push_back(
                {table.rowKey(row), row, column, before[static_cast<std::size_t>(column)], now});
    }
    return change;
}

void setCellRecorded(AlbumTable& table, TableChange& change, int column, int row, std::string text)
{
    if (table.cell(column, row) == text)
        return;
    change.cells.push_back({table.rowKey(row), row, column, table.cell(column, row), text});
    table.setCell(column, row, std::move(text));
}

TableChange renameGenreInAlbums(AlbumTable& table, const std::string& from, const std::string& to)
{
    TableChange change;
    for (int row = 1; row <= table.liczbaalbumow() && row < table.rowCount(); ++row) {
        if (table.cell(ColumnGenre, row) == from)
            setCellRecorded(table, change, ColumnGenre, row, to);
    }
    return change;
}

} // namespace alborx
