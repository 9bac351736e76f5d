#include "cardfile.h"

#include "binaryfields.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace alborx {

namespace {

// "ALBX": the file is one of this program's.
constexpr int kApplicationId = 0x414C4258;
// Layout 2 keeps the card list in the place table; layout 1 kept it in the
// card table's position and fingerprint columns only.
constexpr int kLayoutVersion = 2;

// The card list: entries of three little-endian 64-bit numbers (the card's
// id, its album's row or 0, its album's fingerprint), in chunks so that no
// value passes the length limit. One list of entries instead of a column
// of every card makes the list quick to read and to write again.
constexpr const char* kPlaceTable =
    "CREATE TABLE IF NOT EXISTS place (chunk INTEGER PRIMARY KEY, cards BLOB NOT NULL)";
constexpr std::size_t kPlaceEntryBytes = 24;
constexpr std::size_t kPlaceChunkEntries = 65'536;

constexpr const char* kSchema = R"(
CREATE TABLE card (
  id INTEGER PRIMARY KEY,
  position INTEGER NOT NULL,
  fingerprint INTEGER NOT NULL,
  year TEXT NOT NULL DEFAULT '',
  label TEXT NOT NULL DEFAULT '',
  catalogue_number TEXT NOT NULL DEFAULT '',
  country TEXT NOT NULL DEFAULT '',
  barcode TEXT NOT NULL DEFAULT '',
  notes TEXT NOT NULL DEFAULT '',
  release_id TEXT NOT NULL DEFAULT '');
CREATE TABLE track (
  card INTEGER NOT NULL,
  seq INTEGER NOT NULL,
  number TEXT NOT NULL DEFAULT '',
  title TEXT NOT NULL DEFAULT '',
  performer TEXT NOT NULL DEFAULT '',
  length TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (card, seq)) WITHOUT ROWID;
CREATE TABLE cover (
  card INTEGER PRIMARY KEY,
  picture BLOB NOT NULL);
PRAGMA application_id = 1095516760;
)";

// A prepared statement, finalized when it goes.
class Statement
{
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (db == nullptr || sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK)
            statement_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return statement_ != nullptr; }
    sqlite3_stmt* get() const { return statement_; }
    Statement& bind(int index, std::int64_t value)
    {
        sqlite3_bind_int64(statement_, index, value);
        return *this;
    }
    Statement& bind(int index, const std::string& text)
    {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bindBlob(int index, const std::string& bytes)
    {
        sqlite3_bind_blob(statement_, index, bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    // The next row; SQLITE_ROW, SQLITE_DONE or an error.
    int step() const { return statement_ ? sqlite3_step(statement_) : SQLITE_MISUSE; }
    void reset() const
    {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
    std::string_view blob(int column) const
    {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, column));
        const int size = sqlite3_column_bytes(statement_, column);
        return bytes ? std::string_view(bytes, static_cast<std::size_t>(size)) : std::string_view();
    }
    std::string text(int column) const
    {
        const auto* bytes = sqlite3_column_text(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        return bytes ? cutUtf8(std::string_view(reinterpret_cast<const char*>(bytes),
                                                static_cast<std::size_t>(size)))
                     : std::string();
    }

private:
    sqlite3_stmt* statement_ = nullptr;
};

// Settings every connection to a companion gets, reading or writing.
void guard(sqlite3* db)
{
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    // A cover and a few texts are the most a value holds.
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, static_cast<int>(kMostCoverBytes + 1024));
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, 4096);
    sqlite3_limit(db, SQLITE_LIMIT_COLUMN, 32);
    sqlite3_limit(db, SQLITE_LIMIT_EXPR_DEPTH, 16);
    sqlite3_limit(db, SQLITE_LIMIT_COMPOUND_SELECT, 2);
    sqlite3_limit(db, SQLITE_LIMIT_VDBE_OP, 25'000);
    sqlite3_limit(db, SQLITE_LIMIT_FUNCTION_ARG, 4);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(db, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 64);
    sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, 16);
    sqlite3_limit(db, SQLITE_LIMIT_TRIGGER_DEPTH, 1);
    sqlite3_exec(db, "PRAGMA mmap_size = 0", nullptr, nullptr, nullptr);
}

std::optional<std::int64_t> pragmaNumber(sqlite3* db, const char* sql)
{
    Statement pragma(db, sql);
    if (pragma.step() != SQLITE_ROW)
        return std::nullopt;
    return pragma.integer(0);
}

// Whether every table and column the program reads is there.
bool hasLayout(sqlite3* db, std::int64_t version)
{
    for (const char* sql :
         {"SELECT id, position, fingerprint, year, label, catalogue_number, country, barcode, "
          "notes, release_id FROM card LIMIT 0",
          "SELECT card, seq, number, title, performer, length FROM track LIMIT 0",
          "SELECT card, picture FROM cover LIMIT 0"}) {
        if (!Statement(db, sql).ok())
            return false;
    }
    return version < 2 || Statement(db, "SELECT chunk, cards FROM place LIMIT 0").ok();
}

std::uint64_t bigEndian(const unsigned char* bytes, int count)
{
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

struct FileHeader
{
    bool cutShort = false;   // fewer bytes than the pages the header counts
    bool writeAhead = false; // a part of it may be in a "-wal" file beside it
};

// What the database header says of the file; a database whose header is
// damaged is left for SQLite to refuse.
FileHeader readHeader(const std::string& path, std::uint64_t size)
{
    FileHeader header;
    unsigned char bytes[100];
    std::FILE* file = std::fopen(path.c_str(), "rb");
    const bool read = file != nullptr && std::fread(bytes, 1, sizeof bytes, file) == sizeof bytes;
    if (file != nullptr)
        std::fclose(file);
    if (!read)
        return header;
    const std::uint64_t pageSize =
        bigEndian(bytes + 16, 2) == 1 ? 65'536 : bigEndian(bytes + 16, 2);
    // The page count is only valid when written by the same change as the
    // change counter.
    if (bigEndian(bytes + 24, 4) == bigEndian(bytes + 92, 4))
        header.cutShort = bigEndian(bytes + 28, 4) * pageSize > size;
    header.writeAhead = bytes[18] == 2 || bytes[19] == 2;
    return header;
}

// The card list of layout 2; false when it cannot be read whole.
bool readPlaces(sqlite3* db, std::vector<StoredCard>& cards)
{
    Statement chunks(db, "SELECT cards FROM place ORDER BY chunk");
    int result = SQLITE_ROW;
    while (cards.size() < CardFile::kMostCards && (result = chunks.step()) == SQLITE_ROW) {
        const std::string_view entries = chunks.blob(0);
        if (entries.size() % kPlaceEntryBytes != 0)
            return false;
        for (std::size_t at = 0; at < entries.size() && cards.size() < CardFile::kMostCards;
             at += kPlaceEntryBytes) {
            const auto* entry = reinterpret_cast<const std::uint8_t*>(entries.data() + at);
            cards.push_back({static_cast<std::int64_t>(getUint64(entry)),
                             static_cast<std::int64_t>(getUint64(entry + 8)),
                             getUint64(entry + 16)});
        }
    }
    return result == SQLITE_DONE || result == SQLITE_ROW;
}

// The card list of layout 1, from the card table; false when it cannot be
// read whole.
bool readPositions(sqlite3* db, std::vector<StoredCard>& cards)
{
    Statement list(db, "SELECT id, position, fingerprint FROM card");
    int result = SQLITE_ROW;
    while (cards.size() < CardFile::kMostCards && (result = list.step()) == SQLITE_ROW)
        cards.push_back(
            {list.integer(0), list.integer(1), static_cast<std::uint64_t>(list.integer(2))});
    return result == SQLITE_DONE || result == SQLITE_ROW;
}

CardFile::Identity identityOf(const struct stat& status)
{
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::uint64_t>(status.st_size),
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                status.st_mtim.tv_nsec};
}

bool savedOrder(const StoredCard& a, const StoredCard& b)
{
    return a.position != b.position ? a.position < b.position : a.id < b.id;
}

} // namespace

std::string cardFilePath(const std::string& cataloguePath)
{
    return cataloguePath + "-karty";
}

CardFile::Opened CardFile::open(const std::string& path)
{
    Opened opened;
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0)
        return opened; // no companion: a catalogue without cards
    opened.status = CardFileStatus::NotCardFile;
    sqlite3* db = nullptr;
    if (!S_ISREG(status.st_mode) ||
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
            SQLITE_OK) {
        sqlite3_close(db);
        return opened;
    }
    guard(db);
    auto file = std::shared_ptr<CardFile>(new CardFile(db, path));
    const auto application = pragmaNumber(db, "PRAGMA application_id");
    if (!application)
        return opened; // not a database
    const std::int64_t version = pragmaNumber(db, "PRAGMA user_version").value_or(0);
    if (*application != kApplicationId) {
        opened.status = CardFileStatus::NotCardFile;
        return opened;
    }
    if (version > kLayoutVersion) {
        opened.status = CardFileStatus::Newer;
        return opened;
    }
    if (!hasLayout(db, version))
        return opened;
    const FileHeader header = readHeader(path, static_cast<std::uint64_t>(status.st_size));
    file->writeAhead_ = header.writeAhead;
    file->identity_ = identityOf(status);
    const bool whole =
        version >= 2 ? readPlaces(db, opened.cards) : readPositions(db, opened.cards);
    if (!std::is_sorted(opened.cards.begin(), opened.cards.end(), savedOrder))
        std::sort(opened.cards.begin(), opened.cards.end(), savedOrder);
    opened.status = whole && !header.cutShort ? CardFileStatus::Opened : CardFileStatus::Damaged;
    opened.file = std::move(file);
    return opened;
}

bool CardFile::unchangedOnDisk() const
{
    struct stat status
    {
    };
    return ::stat(path_.c_str(), &status) == 0 && identityOf(status) == identity_;
}

CardFile::~CardFile()
{
    sqlite3_close(db_);
}

std::optional<AlbumCard> CardFile::readCard(std::int64_t id) const
{
    Statement card(db_, "SELECT year, label, catalogue_number, country, barcode, notes, "
                        "release_id FROM card WHERE id = ?");
    card.bind(1, id);
    if (card.step() != SQLITE_ROW)
        return std::nullopt;
    AlbumCard read{card.text(0), card.text(1), card.text(2), card.text(3),
                   card.text(4), card.text(5), card.text(6), {}};
    Statement tracks(db_, "SELECT number, title, performer, length FROM track WHERE card = ? "
                          "ORDER BY seq LIMIT 500");
    tracks.bind(1, id);
    int result = SQLITE_ROW;
    while ((result = tracks.step()) == SQLITE_ROW)
        read.tracks.push_back({tracks.text(0), tracks.text(1), tracks.text(2), tracks.text(3)});
    if (result != SQLITE_DONE)
        return std::nullopt;
    return read;
}

std::optional<std::string> CardFile::readCover(std::int64_t id) const
{
    Statement cover(db_, "SELECT picture FROM cover WHERE card = ?");
    cover.bind(1, id);
    const int result = cover.step();
    if (result == SQLITE_DONE)
        return std::string();
    if (result != SQLITE_ROW)
        return std::nullopt;
    const int size = sqlite3_column_bytes(cover.get(), 0);
    if (size <= 0 || static_cast<std::size_t>(size) > kMostCoverBytes)
        return std::nullopt;
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(cover.get(), 0));
    return std::string(bytes, static_cast<std::size_t>(size));
}

struct CardFileWriter::Statements
{
    explicit Statements(sqlite3* db)
        : card(db, "INSERT INTO card (position, fingerprint, year, label, catalogue_number, "
                   "country, barcode, notes, release_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
          track(db, "INSERT INTO track (card, seq, number, title, performer, length) "
                    "VALUES (?, ?, ?, ?, ?, ?)"),
          cover(db, "INSERT INTO cover (card, picture) VALUES (?, ?)"),
          dropCard(db, "DELETE FROM card WHERE id = ?"),
          dropTracks(db, "DELETE FROM track WHERE card = ?"),
          dropCover(db, "DELETE FROM cover WHERE card = ?"),
          place(db, "INSERT INTO place (chunk, cards) VALUES (?, ?)")
    {}
    bool ok() const
    {
        return card.ok() && track.ok() && cover.ok() && dropCard.ok() && dropTracks.ok() &&
               dropCover.ok() && place.ok();
    }
    // Runs a statement of one number.
    bool run(const Statement& statement, std::int64_t value)
    {
        sqlite3_bind_int64(statement.get(), 1, value);
        const bool done = statement.step() == SQLITE_DONE;
        statement.reset();
        return done;
    }

    Statement card, track, cover, dropCard, dropTracks, dropCover, place;
};

CardFileWriter::CardFileWriter(const std::string& path, const CardFile* from)
    : path_(path), copied_(from != nullptr)
{
    std::remove(path.c_str());
    const bool copyFile = from != nullptr && !from->writeAhead_ && from->unchangedOnDisk();
    if (copyFile) {
        // The file the catalogue came with, copied as it is: its cards are
        // not written again.
        std::error_code error;
        std::filesystem::copy_file(from->path(), path, error);
        if (error)
            return;
    }
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    if (from != nullptr && !copyFile) {
        // Part of that file is in its log, or another program has changed
        // it since: a page by page copy through SQLite takes what the
        // catalogue was opened with.
        sqlite3_backup* backup = sqlite3_backup_init(db_, "main", from->db_, "main");
        ok_ = backup != nullptr && sqlite3_backup_step(backup, -1) == SQLITE_DONE;
        ok_ = sqlite3_backup_finish(backup) == SQLITE_OK && ok_;
    }
    guard(db_);
    sqlite3_limit(db_, SQLITE_LIMIT_SQL_LENGTH, 100'000);
    // The file is put in place whole or not at all, so it needs no journal
    // of its own.
    run("PRAGMA journal_mode = OFF");
    run("PRAGMA synchronous = OFF");
    if (from == nullptr)
        run(kSchema);
    else
        copiedVersion_ = pragmaNumber(db_, "PRAGMA user_version").value_or(0);
    run(kPlaceTable);
    run(("PRAGMA user_version = " + std::to_string(kLayoutVersion)).c_str());
    run("BEGIN");
    statements_ = std::make_unique<Statements>(db_);
    ok_ = ok_ && statements_->ok();
}

CardFileWriter::~CardFileWriter()
{
    statements_.reset();
    sqlite3_close(db_);
}

void CardFileWriter::run(const char* sql)
{
    if (ok_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        ok_ = false;
}

void CardFileWriter::place(std::int64_t id, std::int64_t position, std::uint64_t fingerprint)
{
    places_.push_back({id, position, fingerprint});
    kept_.push_back(id);
}

std::int64_t CardFileWriter::add(const AlbumCard& card, const std::string& cover,
                                 std::int64_t position, std::uint64_t fingerprint)
{
    if (!ok())
        return 0;
    Statements& s = *statements_;
    s.card.bind(1, position).bind(2, static_cast<std::int64_t>(fingerprint));
    int column = 3;
    for (const std::string* text : {&card.rok, &card.wytwornia, &card.numerKatalogowy, &card.kraj,
                                    &card.kodKreskowy, &card.uwagi, &card.releaseId})
        s.card.bind(column++, *text);
    ok_ = s.card.step() == SQLITE_DONE;
    s.card.reset();
    const std::int64_t id = sqlite3_last_insert_rowid(db_);
    std::int64_t seq = 0;
    for (const Track& track : card.tracks) {
        s.track.bind(1, id).bind(2, ++seq).bind(3, track.number).bind(4, track.title);
        s.track.bind(5, track.performer).bind(6, track.length);
        ok_ = ok_ && s.track.step() == SQLITE_DONE;
        s.track.reset();
    }
    if (!cover.empty()) {
        s.cover.bind(1, id).bindBlob(2, cover);
        ok_ = ok_ && s.cover.step() == SQLITE_DONE;
        s.cover.reset();
    }
    places_.push_back({id, position, fingerprint});
    return ok_ ? id : 0;
}

void CardFileWriter::dropUnkept()
{
    std::vector<StoredCard> listed;
    if (!(copiedVersion_ >= 2 ? readPlaces(db_, listed) : readPositions(db_, listed)))
        ok_ = false;
    std::vector<std::int64_t> ids(listed.size());
    std::transform(listed.begin(), listed.end(), ids.begin(),
                   [](const StoredCard& card) { return card.id; });
    std::sort(ids.begin(), ids.end());
    std::sort(kept_.begin(), kept_.end());
    Statements& s = *statements_;
    auto kept = kept_.begin();
    for (const std::int64_t id : ids) {
        while (kept != kept_.end() && *kept < id)
            ++kept;
        if (kept != kept_.end() && *kept == id)
            continue;
        ok_ = ok_ && s.run(s.dropCard, id) && s.run(s.dropTracks, id) && s.run(s.dropCover, id);
    }
}

void CardFileWriter::writePlaces()
{
    run("DELETE FROM place");
    std::sort(places_.begin(), places_.end(), savedOrder);
    Statements& s = *statements_;
    std::string entries;
    std::int64_t chunk = 0;
    for (std::size_t first = 0; ok() && first < places_.size(); first += kPlaceChunkEntries) {
        const std::size_t last = std::min(places_.size(), first + kPlaceChunkEntries);
        entries.assign((last - first) * kPlaceEntryBytes, '\0');
        auto* entry = reinterpret_cast<std::uint8_t*>(entries.data());
        for (std::size_t i = first; i < last; ++i, entry += kPlaceEntryBytes) {
            putUint64(entry, static_cast<std::uint64_t>(places_[i].id));
            putUint64(entry + 8, static_cast<std::uint64_t>(places_[i].position));
            putUint64(entry + 16, places_[i].fingerprint);
        }
        s.place.bind(1, ++chunk).bindBlob(2, entries);
        ok_ = s.place.step() == SQLITE_DONE;
        s.place.reset();
    }
}

bool CardFileWriter::finish()
{
    if (ok() && copied_)
        dropUnkept();
    if (ok())
        writePlaces();
    statements_.reset();
    run("COMMIT");
    const bool written = ok();
    ok_ = sqlite3_close(db_) == SQLITE_OK && written;
    db_ = nullptr;
    // SQLite was told not to wait for the disk; the file is put in place
    // only once it is there.
    const int fd = ::open(path_.c_str(), O_RDONLY);
    ok_ = fd >= 0 && ::fsync(fd) == 0 && ok_;
    if (fd >= 0)
        ::close(fd);
    return ok_;
}

} // namespace alborx
