// The cards' companion file beside a catalogue ("kolekcja.abx" keeps its
// cards in "kolekcja.abx-karty"): an SQLite database of the program's own
// layout. It comes from outside like any file, so it is opened as SQLite's
// advice for databases of unknown origin says (defensive mode, no trusted
// schema, no triggers or views, low limits, no memory mapping, a check of
// its length against its header) and read only through the program's own
// statements.
#pragma once

#include "albumcard.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace alborx {

// The companion file of a catalogue file.
std::string cardFilePath(const std::string& cataloguePath);

// A card as the file lists it: the album's row when the catalogue was saved
// (0 for a card that matched no album) and the fingerprint of its record.
struct StoredCard
{
    std::int64_t id = 0;
    std::int64_t position = 0;
    std::uint64_t fingerprint = 0;
};

enum class CardFileStatus
{
    Missing, // no companion: no error
    Opened,
    NotCardFile, // not a database, or not one of this program's
    Newer,       // written by a later version of the program
    Damaged,     // cut short, or its card list cannot be read whole
};

class CardFile
{
public:
    // The most cards a companion may list; a file listing more is read up
    // to this many.
    static constexpr std::size_t kMostCards = 2'000'000;

    struct Opened
    {
        CardFileStatus status = CardFileStatus::Missing;
        std::shared_ptr<CardFile> file; // when Opened
        std::vector<StoredCard> cards;  // by position
    };
    static Opened open(const std::string& path);

    ~CardFile();
    CardFile(const CardFile&) = delete;
    CardFile& operator=(const CardFile&) = delete;

    // The card's texts and tracks, cut to their bounds; empty when the
    // file cannot give them (damaged, or a text past SQLite's limit).
    std::optional<AlbumCard> readCard(std::int64_t id) const;
    // The cover's picture bytes ("" for a card without one); empty when the
    // file cannot give them or the picture is larger than kMostCoverBytes.
    std::optional<std::string> readCover(std::int64_t id) const;

    const std::string& path() const { return path_; }
    // Whether the file at path() is still the one that was opened, as it
    // was then.
    bool unchangedOnDisk() const;

    // What tells one version of a file from another.
    struct Identity
    {
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t modifiedNs = 0;
        bool operator==(const Identity&) const = default;
    };

private:
    friend class CardFileWriter;
    CardFile(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

    sqlite3* db_;
    std::string path_;
    bool writeAhead_ = false; // part of it is in a log beside it
    Identity identity_;
};

// A new companion written into a file of its own, which the caller puts in
// place once the catalogue is saved. It starts as a copy of the companion
// the catalogue was opened with (so that cards which stay are not written
// again), or empty; every card it is to keep is placed or added, and
// finish() drops the others, writes the card list and commits, all in one
// transaction, then waits until the file is on the disk.
class CardFileWriter
{
public:
    // Fails (ok() false) when the file cannot be made.
    CardFileWriter(const std::string& path, const CardFile* from);
    ~CardFileWriter();
    CardFileWriter(const CardFileWriter&) = delete;
    CardFileWriter& operator=(const CardFileWriter&) = delete;

    bool ok() const { return db_ != nullptr && ok_; }
    // Keeps a card of the companion it was copied from, at the album's row.
    void place(std::int64_t id, std::int64_t position, std::uint64_t fingerprint);
    // Writes a card; returns its number in the new file.
    std::int64_t add(const AlbumCard& card, const std::string& cover, std::int64_t position,
                     std::uint64_t fingerprint);
    bool finish();

private:
    void run(const char* sql);
    // Deletes the cards of the copied companion that were not placed.
    void dropUnkept();
    void writePlaces();

    std::string path_;
    bool copied_; // from the companion the catalogue came with
    sqlite3* db_ = nullptr;
    bool ok_ = true;
    std::vector<StoredCard> places_;
    std::vector<std::int64_t> kept_;
    std::int64_t copiedVersion_ = 0; // the layout of the companion copied
    struct Statements;
    std::unique_ptr<Statements> statements_;
};

} // namespace alborx
