// Changes of the album table that can be taken back and done again. A change
// holds only what it touched: the rows it added or removed and the cells it
// rewrote, with their texts before and after, and the ID counters around it.
// Rows are found again by their keys, so a change still applies after the
// table was sorted.
#pragma once

#include "albumcards.h"
#include "albumtable.h"
#include "settings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace alborx {

// The counters of the IDs handed out, which Dodaj and Popraw advance.
struct IdCounters
{
    std::int32_t nastid = 0;
    std::int32_t nastidcd = 0;
    std::int32_t nastidmc = 0;
    bool operator==(const IdCounters&) const = default;
};

IdCounters countersOf(const TUstawienia& settings);
void setCounters(TUstawienia& settings, const IdCounters& counters);

struct CellEdit
{
    RowKey key = 0;
    int row = 0; // where the row was; it is found by its key when it moved
    int column = 0;
    std::string before;
    std::string after;
};

// A removed album with the album row it had.
struct PlacedRow
{
    int position = 0;
    KeyedRow album;
};

struct TableChange
{
    // Albums added as one block starting at album row insertedAt.
    int insertedAt = 0;
    std::vector<KeyedRow> inserted;
    // Albums taken out, by ascending position in the table before.
    std::vector<PlacedRow> removed;
    std::vector<CellEdit> cells;
    // The cards that come, go or change with the albums; a card follows its
    // album's key, so only cards that change are here.
    std::vector<CardEdit> cards;
    // Dodaj and Popraw may hand out IDs; the counters are set back and
    // forth only where they moved.
    IdCounters countersBefore;
    IdCounters countersAfter;

    bool empty() const
    {
        return inserted.empty() && removed.empty() && cells.empty() && cards.empty();
    }
};

// The keys of rows added or removed.
std::vector<RowKey> keysOf(const std::vector<KeyedRow>& rows);
std::vector<RowKey> keysOf(const std::vector<PlacedRow>& rows);

// Puts the table and the counters back as they were before the change.
void undoChange(AlbumTable& table, TUstawienia& settings, const TableChange& change);
// Makes the change: the first time on the table it was prepared for, later
// again on the table as undoChange left it.
void redoChange(AlbumTable& table, TUstawienia& settings, const TableChange& change);

// The same for a change a history step keeps: the rows move between the
// change and the table instead of being copied, so that each album is held
// once, in the table while it is there and in the change while it is not.
// A change made so is taken back and made again only so.
void undoChangeMovingRows(AlbumTable& table, TUstawienia& settings, TableChange& change);
void redoChangeMovingRows(AlbumTable& table, TUstawienia& settings, TableChange& change);

// The commands prepare their changes with these; none of them changes the
// table.

// New albums after the last one (Dodaj, a join, an import), with keys of
// their own.
TableChange albumsAppended(const AlbumTable& table, std::vector<KeyedRow> albums,
                           const IdCounters& before = {}, const IdCounters& after = {});

// Taking out an album row (Usuń).
TableChange albumRemoved(const AlbumTable& table, int row);

// The cells of one album row that differ between the row now and after
// (Popraw, Zamień).
TableChange albumRewritten(const AlbumTable& table, int row, const Row& after,
                           const IdCounters& countersBefore = {},
                           const IdCounters& countersAfter = {});

// Every album whose genre is exactly from gets the genre to.
TableChange renameGenreInAlbums(const AlbumTable& table, const std::string& from,
                                const std::string& to);

} // namespace alborx
