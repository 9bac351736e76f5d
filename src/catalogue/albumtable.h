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

    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return sortAscending_; }

    // A header click on column: the same column reverses the direction, another
    // column becomes the sort column in ascending order. The album rows are
    // then sorted by the column's bytes (unsigned order, a prefix first),
    // keeping equal cells in their relative order. With fewer than two album
    // rows nothing happens and an empty result is returned. Otherwise the
    // result maps every old row index to its new one (entry 0 is the header).
    std::vector<int> sortByColumn(int column);

private:
    std::vector<Row> rows_;
    std::int32_t liczbaalbumow_ = 0;
    int sortColumn_ = ColumnPerformer;
    bool sortAscending_ = true;
};

} // namespace alborx
