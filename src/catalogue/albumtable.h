// The catalogue in memory: a table of eight text columns with the header in
// row 0 and one album per row 1..N. An empty catalogue keeps one blank row 1,
// so the table never has fewer than two rows; the album count tells an empty
// catalogue from a catalogue of one album.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace alborx {

constexpr int kColumnCount = 8;

enum Column
{
    ColumnId = 0,
    ColumnPerformer = 1,
    ColumnTitle = 2,
    ColumnGenre = 3,
    ColumnCdKind = 4,
    ColumnMcKind = 5,
    ColumnCdId = 6,
    ColumnMcId = 7,
};

using Row = std::array<std::string, kColumnCount>;

// A number that stays with a row while rows around it come and go and while
// the table is sorted, so that a change recorded earlier finds its rows
// again. Keys are never shown and never stored in a file.
using RowKey = std::uint32_t;

// An album row with its key, as taken out of the table or put back into it.
struct KeyedRow
{
    RowKey key = 0;
    Row row;
};

// Header texts of columns 0..7: "ID", "Wykonawca", "Album", "Gatunek", "CD",
// "MC", "ID CD", "ID MC".
const Row& headerRow();

// Length limits of the text columns 1..3 (performer, title, genre); 0 for the
// other columns, which have no limit of their own.
int columnLimit(int column);

class AlbumTable
{
public:
    AlbumTable();

    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Sets the number of rows, header included; never fewer than two. New rows
    // are blank.
    void setRowCount(int count);
    void appendRow();
    // Removes one album row; the rows below move up. When only the header and
    // one row are left, that row is blanked instead, as in an empty catalogue.
    void removeRow(int row);

    const std::string& cell(int column, int row) const;
    void setCell(int column, int row, std::string text);
    const Row& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    void setRow(int index, Row row);

    std::int32_t liczbaalbumow() const { return liczbaalbumow_; }
    void setLiczbaalbumow(std::int32_t count) { liczbaalbumow_ = count; }

    // The data side of starting a new catalogue: header row, album count 0,
    // two rows with a blank row 1. The sort state is kept.
    void clear();

    // Replaces every album with the given rows, in order.
    void assignAlbums(std::vector<Row> albums);
    // The same with rows that keep the keys they have in another table, as
    // the filtered list keeps the keys of the catalogue's albums.
    void assignAlbums(std::vector<KeyedRow> albums);

    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return sortAscending_; }

    // A header click on column: the same column reverses the direction, another
    // column becomes the sort column in ascending order. The album rows are
    // then sorted by the column's bytes (unsigned order, a prefix first),
    // keeping equal cells in their relative order. With fewer than two album
    // rows nothing happens and an empty result is returned. Otherwise the
    // result maps every old row index to its new one (entry 0 is the header).
    std::vector<int> sortByColumn(int column);

    RowKey rowKey(int row) const { return keys_[static_cast<std::size_t>(row)]; }
    // Where each album row of these keys is now (0 for a key no album row
    // has), in one pass over the table.
    std::vector<int> rowsOfKeys(const std::vector<RowKey>& keys) const;
    // Takes the album rows of these keys out of the table, keeping the others
    // in order; returns how many went. The table keeps its blank row 1 when
    // no album is left, and the album count follows.
    int removeAlbumsByKey(const std::vector<RowKey>& keys);
    // The same, handing the rows taken out back in the order of keys (a
    // blank row for a key no album has).
    std::vector<Row> takeAlbumsByKey(const std::vector<RowKey>& keys);
    // Puts album rows back with their keys, in order, starting at album row
    // position (1 to N + 1; outside that they go to the end). An empty
    // catalogue's blank row gives way to them.
    void insertAlbums(int position, std::vector<KeyedRow> albums);
    // The same, moving the rows out of albums, which keep their keys.
    void moveAlbumsIn(int position, std::vector<KeyedRow>& albums);
    // Hands out count keys no row has had, for albums a change will insert;
    // returns the first, the others follow it.
    RowKey reserveKeys(std::size_t count) const;

private:
    RowKey newKey() { return nextKey_++; }
    void renewKeys();

    std::vector<Row> rows_;
    std::vector<RowKey> keys_;
    // Handing out keys changes no album, so a change can be prepared on a
    // table it may not touch yet.
    mutable RowKey nextKey_ = 1;
    std::int32_t liczbaalbumow_ = 0;
    int sortColumn_ = ColumnPerformer;
    bool sortAscending_ = true;
};

} // namespace alborx
