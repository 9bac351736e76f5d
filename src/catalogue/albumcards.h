// The cards of a catalogue's albums, found by the albums' row keys, so that
// a card stays with its album through sorting, the filtered list, edits and
// every step of the history. A card is held in memory once it is made or
// edited, and otherwise read from its companion file when it is shown:
// opening a catalogue reads only which card belongs to which album.
#pragma once

#include "albumcard.h"
#include "albumtable.h"
#include "cardfile.h"
#include "progress.h"
#include "safefile.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace alborx {

// Where a card is: in a companion file, or in memory. A history step holds
// the cards before and after it; a card is never changed, only replaced by
// another (apart from moving it into memory or into a new file when the
// catalogue is saved, which changes nothing it shows).
struct CardHandle
{
    struct InMemory
    {
        AlbumCard texts;
        std::string cover; // the picture's bytes, "" for none
    };
    std::shared_ptr<CardFile> file;
    std::int64_t id = 0;
    // Apart, so that the handle of a card in a file stays small: a catalogue
    // opens with one for every album.
    std::unique_ptr<InMemory> inMemory;
};
using CardRef = std::shared_ptr<CardHandle>;

CardRef cardInMemory(AlbumCard texts, std::string cover);

// One album's card before and after a change of the catalogue.
struct CardEdit
{
    RowKey key = 0;
    CardRef before;
    CardRef after;
};

struct CardsOpened
{
    CardFileStatus status = CardFileStatus::Missing;
    int matched = 0;
    // Cards that match no album: kept in the companion when it is saved.
    int unmatched = 0;
};

class AlbumCards
{
public:
    // The cards of a catalogue just opened, matched to its albums: by the
    // album's row together with its fingerprint, else by the fingerprint
    // alone (another program reordered or edited the catalogue).
    CardsOpened open(const AlbumTable& table, const std::string& cataloguePath);
    // A new catalogue has no cards.
    void clear();

    // The cards of another catalogue's albums, which a join appends (in the
    // order of its file, with their new keys): the edits that bring them.
    std::vector<CardEdit> cardsOfJoined(const std::vector<KeyedRow>& albums,
                                        const std::string& cataloguePath) const;

    CardRef card(RowKey key) const;
    void apply(const std::vector<CardEdit>& edits, bool redo);

    // The card's texts; empty when its file cannot give them.
    std::optional<AlbumCard> texts(const CardRef& card) const;
    // The cover's bytes ("" for none); empty when its file cannot give them.
    std::optional<std::string> cover(const CardRef& card) const;

    // Whether any album of the table has a card.
    bool anyCard(const AlbumTable& table) const;

    // Writes the companion of a catalogue about to be saved under
    // cataloguePath into a file of its own; commitSave puts it in place once
    // the catalogue is saved, or discardSave removes it. Nothing is written
    // when no album has a card and no card is kept unmatched.
    // The progress, when given, counts the albums.
    WriteError prepareSave(const AlbumTable& table, const std::string& cataloguePath,
                           Progress* progress = nullptr);
    WriteError commitSave();
    void discardSave();

private:
    struct PreparedSave
    {
        std::string written;
        std::string path;
        std::vector<std::pair<CardRef, std::int64_t>> placed; // the new file's numbers
        std::vector<StoredCard> unmatched;
    };

    // Cards of the file that no album took, with where they were.
    std::vector<StoredCard> unmatched_;
    std::unordered_map<RowKey, CardRef> cards_;
    // The companion the catalogue came with or was last saved with.
    std::shared_ptr<CardFile> file_;
    // Whether file_ passed its check, so that a save may start from a copy.
    bool fileSound_ = false;
    // Every card of file_ that may still be shown, the history's included.
    std::vector<std::weak_ptr<CardHandle>> handles_;
    std::optional<PreparedSave> prepared_;
};

} // namespace alborx
