// The catalogue in memory: a table of eight text columns with the header in
// row 0 and one album per row 1..N. An empty catalogue keeps one blank row 1,
// so the table never has fewer than two rows; the album count tells an empty
// catalogue from a catalogue of one album.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
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

// An album row as the rest of the program hands it around: the texts of its
// eight cells.
using Row = std::array<std::string, kColumnCount>;
// A row as the table holds it, read in place: valid until the table changes.
struct RowView
{
    std::array<std::string_view, kColumnCount> cells;

    std::string_view operator[](std::size_t column) const { return cells[column]; }
    std::string_view& operator[](std::size_t column) { return cells[column]; }
    friend bool operator==(const RowView& a, const RowView& b) { return a.cells == b.cells; }
    friend bool operator==(const RowView& a, const Row& b)
    {
        for (std::size_t c = 0; c < a.cells.size(); ++c) {
            if (a.cells[c] != b[c])
                return false;
        }
        return true;
    }
};

RowView viewOf(const Row& row);
Row rowOf(const RowView& view);

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

    int rowCount() const { return static_cast<int>(columns_[0].cells.size()); }
    // Sets the number of rows, header included; never fewer than two. New rows
    // are blank.
    void setRowCount(int count);
    void appendRow();
    // Removes one album row; the rows below move up. When only the header and
    // one row are left, that row is blanked instead, as in an empty catalogue.
    void removeRow(int row);

    // A cell's text, read in place: valid until the table changes.
    std::string_view cell(int column, int row) const
    {
        const ColumnCells& cells = columns_[static_cast<std::size_t>(column)];
        const CellText& text = cells.cells[static_cast<std::size_t>(row)];
        return cells.texts.view(text.at, text.size);
    }
    void setCell(int column, int row, std::string_view text);
    RowView row(int index) const;
    void setRow(int index, const RowView& row);
    // Appends an album after the albums, where the blank row of an empty
    // catalogue gives way to it; the album count follows.
    void appendAlbum(const RowView& cells);
    // Makes room for this many albums in all.
    void reserveAlbums(std::size_t count);
    // Takes the albums of another table in place of its own, keeping its
    // sort state; keys are handed out anew.
    void takeAlbumsOf(AlbumTable&& other);
    // Replaces every album with copies of album rows of another table, in
    // the order given, each keeping its key there.
    void assignRowsOf(const AlbumTable& source, const std::vector<int>& rows);

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
    void insertAlbums(int position, const std::vector<KeyedRow>& albums);
    // The same, emptying the rows of albums, which keep their keys.
    void moveAlbumsIn(int position, std::vector<KeyedRow>& albums);
    // Puts album rows back with their keys, each at its album row in the
    // table it makes (ascending; past the end means at the end), in one
    // pass, as inserting them one after another would.
    void insertAlbumsAt(const std::vector<std::pair<int, KeyedRow>>& albums);
    // Hands out count keys no row has had, for albums a change will insert;
    // returns the first, the others follow it.
    RowKey reserveKeys(std::size_t count) const;

private:
    // Texts in blocks of up to 1 MiB, so that albums cost no allocation of
    // their own; a text is where it starts (block number and offset in one
    // number) and its length. Blocks grow from small ones, so that a small
    // table stays small.
    class TextBlocks
    {
    public:
        static constexpr unsigned kBlockBits = 20;

        std::uint32_t add(std::string_view text);
        std::string_view view(std::uint32_t at, std::uint32_t size) const
        {
            if (size == 0)
                return {};
            return {blocks_[at >> kBlockBits].data() + (at & ((1u << kBlockBits) - 1)), size};
        }
        std::size_t bytes() const { return bytes_; }

    private:
        std::vector<std::vector<char>> blocks_;
        std::size_t bytes_ = 0;
    };

    struct CellText
    {
        std::uint32_t at = 0;
        std::uint32_t size = 0;
    };

    // Each column is kept apart, its cells one after another and its texts
    // in blocks of its own, so that work on one column (a sort, a genre
    // renamed in every album) reads only that column's memory.
    struct ColumnCells
    {
        std::vector<CellText> cells;
        TextBlocks texts;
    };

    RowKey newKey() { return nextKey_++; }
    void renewKeys();
    void storeRow(std::size_t row, const RowView& cells);
    void appendStoredRow(const RowView& cells);
    // Counts the texts of rows from first to the end as no longer used.
    void forgetRowsFrom(std::size_t first);
    // Drops or adds blank rows at the end.
    void resizeRows(std::size_t count);
    // Writes the texts anew when more than half of them are no longer used.
    void compactIfWasteful();
    // Takes the album rows of these keys out, handing their texts to taken
    // (in the order of keys) when it is given.
    void dropAlbumsByKey(const std::vector<RowKey>& keys, std::vector<Row>* taken);

    std::array<ColumnCells, kColumnCount> columns_;
    // Bytes of texts no cell uses any more.
    std::size_t unused_ = 0;
    std::vector<RowKey> keys_;
    // Handing out keys changes no album, so a change can be prepared on a
    // table it may not touch yet.
    mutable RowKey nextKey_ = 1;
    std::int32_t liczbaalbumow_ = 0;
    int sortColumn_ = ColumnPerformer;
    bool sortAscending_ = true;
};

} // namespace alborx
