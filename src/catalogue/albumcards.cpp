#include "albumcards.h"

#include <cstdio>
#include <future>
#include <sys/stat.h>
#include <system_error>
#include <unordered_set>

namespace alborx {

namespace {

struct Matching
{
    std::vector<std::pair<int, StoredCard>> matched; // album row and its card
    std::vector<StoredCard> unmatched;
};

// Cards to albums: first where the album at the card's row still has the
// record the card was saved with, then by the record alone, each album
// taking at most one card and the cards taken in their saved order.
// fingerprints are the albums' of rows 1..N, at their row.
Matching matchCards(const std::vector<std::uint64_t>& fingerprints,
                    const std::vector<StoredCard>& cards)
{
    const int albums = static_cast<int>(fingerprints.size()) - 1;
    std::vector<bool> taken(fingerprints.size(), false);
    Matching matching;
    std::vector<const StoredCard*> rest;
    for (const StoredCard& card : cards) {
        const auto row = static_cast<std::size_t>(card.position);
        if (card.position >= 1 && card.position <= albums && !taken[row] &&
            fingerprints[row] == card.fingerprint) {
            taken[row] = true;
            matching.matched.emplace_back(static_cast<int>(row), card);
        } else {
            rest.push_back(&card);
        }
    }
    if (rest.empty())
        return matching;
    std::unordered_map<std::uint64_t, std::vector<int>> rowsOf;
    for (int row = albums; row >= 1; --row) {
        if (!taken[static_cast<std::size_t>(row)])
            rowsOf[fingerprints[static_cast<std::size_t>(row)]].push_back(row);
    }
    for (const StoredCard* card : rest) {
        const auto rows = rowsOf.find(card->fingerprint);
        if (rows == rowsOf.end() || rows->second.empty()) {
            matching.unmatched.push_back(*card);
            continue;
        }
        matching.matched.emplace_back(rows->second.back(), *card);
        rows->second.pop_back();
    }
    return matching;
}

// Fills in the fingerprints of rows first..last.
void fingerprintRows(const AlbumTable& table, int first, int last,
                     std::vector<std::uint64_t>& fingerprints)
{
    for (int row = first; row <= last; ++row)
        fingerprints[static_cast<std::size_t>(row)] = albumFingerprint(table.row(row));
}

} // namespace

CardRef cardInMemory(AlbumCard texts, std::string cover)
{
    cutCard(texts);
    auto card = std::make_shared<CardHandle>();
    card->inMemory.reset(new CardHandle::InMemory{std::move(texts), std::move(cover)});
    return card;
}

CardsOpened AlbumCards::open(const AlbumTable& table, const std::string& cataloguePath)
{
    clear();
    const std::string path = cardFilePath(cataloguePath);
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0)
        return {}; // no companion: a catalogue without cards
    // The albums' fingerprints are worked out on two threads, this one
    // reading the card list first and so taking the smaller share.
    const int albums = table.liczbaalbumow();
    const int split = static_cast<int>(static_cast<std::int64_t>(albums) * 3 / 5);
    std::vector<std::uint64_t> fingerprints(static_cast<std::size_t>(albums) + 1);
    std::future<void> firstRows;
    try {
        firstRows = std::async(std::launch::async, fingerprintRows, std::cref(table), 1, split,
                               std::ref(fingerprints));
    } catch (const std::system_error&) {
        fingerprintRows(table, 1, split, fingerprints); // no thread to be had
    }
    CardFile::Opened opened = CardFile::open(path);
    fingerprintRows(table, split + 1, albums, fingerprints);
    if (firstRows.valid())
        firstRows.wait();
    CardsOpened result;
    result.status = opened.status;
    if (opened.file == nullptr)
        return result;
    file_ = opened.file;
    fileSound_ = opened.status == CardFileStatus::Opened;
    Matching matching = matchCards(fingerprints, opened.cards);
    cards_.reserve(matching.matched.size());
    handles_.reserve(matching.matched.size());
    for (const auto& [row, stored] : matching.matched) {
        auto card = std::make_shared<CardHandle>();
        card->file = file_;
        card->id = stored.id;
        handles_.push_back(card);
        cards_.emplace(table.rowKey(row), std::move(card));
    }
    unmatched_ = std::move(matching.unmatched);
    result.matched = static_cast<int>(matching.matched.size());
    result.unmatched = static_cast<int>(unmatched_.size());
    return result;
}

void AlbumCards::clear()
{
    discardSave();
    cards_.clear();
    unmatched_.clear();
    handles_.clear();
    file_.reset();
    fileSound_ = false;
}

std::vector<CardEdit> AlbumCards::cardsOfJoined(const std::vector<KeyedRow>& albums,
                                                const std::string& cataloguePath) const
{
    const CardFile::Opened opened = CardFile::open(cardFilePath(cataloguePath));
    std::vector<CardEdit> edits;
    if (opened.file == nullptr)
        return edits;
    std::vector<std::uint64_t> fingerprints(albums.size() + 1);
    for (std::size_t i = 0; i < albums.size(); ++i)
        fingerprints[i + 1] = albumFingerprint(viewOf(albums[i].row));
    for (const auto& [row, stored] : matchCards(fingerprints, opened.cards).matched) {
        auto card = std::make_shared<CardHandle>();
        card->file = opened.file;
        card->id = stored.id;
        edits.push_back({albums[static_cast<std::size_t>(row) - 1].key, nullptr, std::move(card)});
    }
    return edits;
}

CardRef AlbumCards::card(RowKey key) const
{
    const auto found = cards_.find(key);
    return found == cards_.end() ? nullptr : found->second;
}

void AlbumCards::apply(const std::vector<CardEdit>& edits, bool redo)
{
    for (const CardEdit& edit : edits) {
        const CardRef& card = redo ? edit.after : edit.before;
        if (card)
            cards_[edit.key] = card;
        else
            cards_.erase(edit.key);
    }
}

std::optional<AlbumCard> AlbumCards::texts(const CardRef& card) const
{
    if (!card)
        return std::nullopt;
    if (card->inMemory)
        return card->inMemory->texts;
    return card->file ? card->file->readCard(card->id) : std::nullopt;
}

std::optional<std::string> AlbumCards::cover(const CardRef& card) const
{
    if (!card)
        return std::string();
    if (card->inMemory)
        return card->inMemory->cover;
    return card->file ? card->file->readCover(card->id) : std::nullopt;
}

bool AlbumCards::anyCard(const AlbumTable& table) const
{
    if (cards_.empty())
        return false;
    for (int row = 1; row <= table.liczbaalbumow(); ++row) {
        if (cards_.count(table.rowKey(row)) > 0)
            return true;
    }
    return false;
}

WriteError AlbumCards::prepareSave(const AlbumTable& table, const std::string& cataloguePath,
                                   Progress* progress)
{
    discardSave();
    const std::string path = cardFilePath(cataloguePath);
    struct stat status
    {
    };
    const bool exists = ::stat(path.c_str(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode))
        return WriteError::NotAFile;
    if (!exists && unmatched_.empty() && !anyCard(table))
        return WriteError::None;

    PreparedSave save;
    save.path = path;
    save.written = temporaryPathBeside(path);
    // The cards that stay in the companion the catalogue came with are kept
    // as they are, not written again.
    const CardFile* copied = fileSound_ ? file_.get() : nullptr;
    CardFileWriter writer(save.written, copied);
    if (!writer.ok()) {
        std::remove(save.written.c_str());
        return WriteError::CannotCreate;
    }
    // The card's number in the new file; 0 when its file cannot give it.
    const auto keep = [&](const CardRef& card, std::int64_t position,
                          std::uint64_t fingerprint) -> std::int64_t {
        if (copied != nullptr && card->file == file_ && !card->inMemory) {
            writer.place(card->id, position, fingerprint);
            return card->id;
        }
        const std::optional<AlbumCard> read = texts(card);
        if (!read)
            return 0;
        return writer.add(*read, cover(card).value_or(std::string()), position, fingerprint);
    };
    if (progress)
        progress->setMaximum(table.liczbaalbumow());
    for (int row = 1; row <= table.liczbaalbumow(); ++row) {
        if (const CardRef card = this->card(table.rowKey(row))) {
            if (const std::int64_t id = keep(card, row, albumFingerprint(table.row(row))))
                save.placed.emplace_back(card, id);
        }
        advanceProgress(progress, row, kAlbumLoopStep);
    }
    for (const StoredCard& stored : unmatched_) {
        auto card = std::make_shared<CardHandle>();
        card->file = file_;
        card->id = stored.id;
        if (const std::int64_t id = keep(card, 0, stored.fingerprint))
            save.unmatched.push_back({id, 0, stored.fingerprint});
    }
    if (!writer.finish()) {
        std::remove(save.written.c_str());
        return WriteError::WriteFailed;
    }
    prepared_ = std::move(save);
    return WriteError::None;
}

WriteError AlbumCards::commitSave()
{
    if (!prepared_)
        return WriteError::None;
    PreparedSave save = std::move(*prepared_);
    prepared_.reset();
    const WriteError placed = putFileInPlace(save.written, save.path, true);
    if (placed != WriteError::None) {
        std::remove(save.written.c_str());
        return placed;
    }
    CardFile::Opened opened = CardFile::open(save.path);
    if (opened.file == nullptr)
        return WriteError::None; // the cards stay where they are read from now
    // Cards that only the history holds are read into memory while their
    // file is still open; the others are read from the new file from now on.
    std::unordered_set<const CardHandle*> kept;
    for (const auto& [card, id] : save.placed)
        kept.insert(card.get());
    for (const std::weak_ptr<CardHandle>& weak : handles_) {
        const CardRef card = weak.lock();
        if (!card || kept.count(card.get()) > 0 || card->file != file_)
            continue;
        card->inMemory.reset(new CardHandle::InMemory{texts(card).value_or(AlbumCard{}),
                                                      cover(card).value_or(std::string())});
        card->file.reset();
    }
    handles_.clear();
    for (const auto& [card, id] : save.placed) {
        card->file = opened.file;
        card->id = id;
        card->inMemory.reset();
        handles_.push_back(card);
    }
    file_ = opened.file;
    fileSound_ = opened.status == CardFileStatus::Opened;
    unmatched_ = std::move(save.unmatched);
    return WriteError::None;
}

void AlbumCards::discardSave()
{
    if (prepared_)
        std::remove(prepared_->written.c_str());
    prepared_.reset();
}

} // namespace alborx
