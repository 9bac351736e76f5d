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

} // namespace

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

void undoChangeMovingRows(AlbumTable& table, TUstawienia& settings, TableChange& change)
{
    if (!change.inserted.empty()) {
        std::vector<Row> rows = table.takeAlbumsByKey(keysOf(change.inserted));
        for (std::size_t i = 0; i < rows.size(); ++i)
            change.inserted[i].row = std::move(rows[i]);
    }
    for (PlacedRow& removed : change.removed)
        table.insertAlbums(removed.position, {{removed.album.key, std::move(removed.album.row)}});
    writeCells(table, change.cells, false);
    if (change.countersBefore != change.countersAfter)
        setCounters(settings, change.countersBefore);
}

void redoChangeMovingRows(AlbumTable& table, TUstawienia& settings, TableChange& change)
{
    writeCells(table, change.cells, true);
    if (!change.removed.empty()) {
        std::vector<Row> rows = table.takeAlbumsByKey(keysOf(change.removed));
        for (std::size_t i = 0; i < rows.size(); ++i)
            change.removed[i].album.row = std::move(rows[i]);
    }
    if (!change.inserted.empty())
        table.moveAlbumsIn(change.insertedAt, change.inserted);
    if (change.countersBefore != change.countersAfter)
        setCounters(settings, change.countersAfter);
}

TableChange albumsAppended(const AlbumTable& table, std::vector<KeyedRow> albums,
                           const IdCounters& before, const IdCounters& after)
{
    TableChange change;
    change.insertedAt = table.liczbaalbumow() + 1;
    change.countersBefore = before;
    change.countersAfter = after;
    RowKey key = table.reserveKeys(albums.size());
    for (KeyedRow& album : albums)
        album.key = key++;
    change.inserted = std::move(albums);
    return change;
}

TableChange albumRemoved(const AlbumTable& table, int row)
{
    TableChange change;
    if (row >= 1 && row <= table.liczbaalbumow() && row < table.rowCount())
        change.removed.push_back({row, {table.rowKey(row), rowOf(table.row(row))}});
    return change;
}

TableChange albumRewritten(const AlbumTable& table, int row, const Row& after,
                           const IdCounters& countersBefore, const IdCounters& countersAfter)
{
    TableChange change;
    change.countersBefore = countersBefore;
    change.countersAfter = countersAfter;
    if (row < 1 || row >= table.rowCount())
        return change;
    for (int column = 0; column < kColumnCount; ++column) {
        const std::string_view now = table.cell(column, row);
        const std::string& wanted = after[static_cast<std::size_t>(column)];
        if (now != wanted)
            change.cells.push_back({table.rowKey(row), row, column, std::string(now), wanted});
    }
    return change;
}

TableChange renameGenreInAlbums(const AlbumTable& table, const std::string& from,
                                const std::string& to)
{
    TableChange change;
    if (from == to)
        return change;
    for (int row = 1; row <= table.liczbaalbumow() && row < table.rowCount(); ++row) {
        if (table.cell(ColumnGenre, row) == from)
            change.cells.push_back({table.rowKey(row), row, ColumnGenre, from, to});
    }
    return change;
}

} // namespace alborx
