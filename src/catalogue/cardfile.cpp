#include "cardfile.h"

#include <cstdio>
#include <sqlite3.h>
#include <sys/stat.h>

namespace alborx {

namespace {

// "ALBX": the file is one of this program's.
constexpr int kApplicationId = 0x414C4258;
constexpr int kLayoutVersion = 1;

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
PRAGMA user_version = 1;
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
bool hasLayout(sqlite3* db)
{
    for (const char* sql :
         {"SELECT id, position, fingerprint, year, label, catalogue_number, country, barcode, "
          "notes, release_id FROM card LIMIT 0",
          "SELECT card, seq, number, title, performer, length FROM track LIMIT 0",
          "SELECT card, picture FROM cover LIMIT 0"}) {
        if (!Statement(db, sql).ok())
            return false;
    }
    return true;
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
    if (*application != kApplicationId || !hasLayout(db)) {
        opened.status = pragmaNumber(db, "PRAGMA user_version").value_or(0) > kLayoutVersion &&
                                *application == kApplicationId
                            ? CardFileStatus::Newer
                            : CardFileStatus::NotCardFile;
        return opened;
    }
    if (pragmaNumber(db, "PRAGMA user_version").value_or(0) > kLayoutVersion) {
        opened.status = CardFileStatus::Newer;
        return opened;
    }
    Statement check(db, "PRAGMA quick_check(card)");
    const bool sound = check.step() == SQLITE_ROW && check.text(0) == "ok";
    Statement list(db, "SELECT id, position, fingerprint FROM card ORDER BY position, id");
    int result = SQLITE_ROW;
    while (opened.cards.size() < kMostCards && (result = list.step()) == SQLITE_ROW)
        opened.cards.push_back(
            {list.integer(0), list.integer(1), static_cast<std::uint64_t>(list.integer(2))});
    const bool whole = result == SQLITE_DONE || result == SQLITE_ROW;
    opened.status = sound && whole ? CardFileStatus::Opened : CardFileStatus::Damaged;
    opened.file = std::move(file);
    return opened;
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
        : place(db, "UPDATE card SET position = ?, fingerprint = ? WHERE id = ?"),
          keep(db, "INSERT OR IGNORE INTO temp.keep (id) VALUES (?)"),
          card(db, "INSERT INTO card (position, fingerprint, year, label, catalogue_number, "
                   "country, barcode, notes, release_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
          track(db, "INSERT INTO track (card, seq, number, title, performer, length) "
                    "VALUES (?, ?, ?, ?, ?, ?)"),
          cover(db, "INSERT INTO cover (card, picture) VALUES (?, ?)")
    {}
    bool ok() const { return place.ok() && keep.ok() && card.ok() && track.ok() && cover.ok(); }

    Statement place, keep, card, track, cover;
};

CardFileWriter::CardFileWriter(const std::string& path, const CardFile* from)
{
    std::remove(path.c_str());
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    if (from != nullptr) {
        // A page by page copy of the file the catalogue came with.
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
    run("CREATE TEMP TABLE keep (id INTEGER PRIMARY KEY)");
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
    if (!ok())
        return;
    Statements& s = *statements_;
    s.place.bind(1, position).bind(2, static_cast<std::int64_t>(fingerprint)).bind(3, id);
    s.keep.bind(1, id);
    ok_ = s.place.step() == SQLITE_DONE && s.keep.step() == SQLITE_DONE;
    s.place.reset();
    s.keep.reset();
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
    s.keep.bind(1, id);
    ok_ = ok_ && s.keep.step() == SQLITE_DONE;
    s.keep.reset();
    return ok_ ? id : 0;
}

bool CardFileWriter::finish()
{
    statements_.reset();
    run("DELETE FROM track WHERE card NOT IN (SELECT id FROM temp.keep)");
    run("DELETE FROM cover WHERE card NOT IN (SELECT id FROM temp.keep)");
    run("DELETE FROM card WHERE id NOT IN (SELECT id FROM temp.keep)");
    run("COMMIT");
    const bool written = ok_;
    ok_ = sqlite3_close(db_) == SQLITE_OK && written;
    db_ = nullptr;
    return ok_;
}

} // namespace alborx
