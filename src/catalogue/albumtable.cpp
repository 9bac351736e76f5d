#include "albumtable.h"

#include "keyindex.h"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <span>
#include <utility>

namespace alborx {

const Row& headerRow()
{
    static const Row header = {"ID", "Wykonawca", "Album", "Gatunek", "CD", "MC", "ID CD", "ID MC"};
    return header;
}

int columnLimit(int column)
{
    switch (column) {
    case ColumnPerformer:
        return 35;
    case ColumnTitle:
        return 60;
    case ColumnGenre:
        return 30;
    default:
        return 0;
    }
}

namespace {

// A row as the sort sees it: the first sixteen bytes of its cell,
// big-endian so that integer order is byte order, the cell's length and the
// row number.
struct Key
{
    std::uint64_t prefix;
    std::uint64_t next;
    std::uint32_t length;
    int row;
};

constexpr std::size_t kKeyBytes = 16;

std::uint64_t bigEndian(std::string_view text, std::size_t from)
{
    std::uint64_t value = 0;
    for (std::size_t i = from; i < from + 8; ++i)
        value = (value << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    return value;
}

// Where each bucket starts when keys are dealt out by a byte, from how many
// keys each value of the byte has.
std::array<std::size_t, 256> bucketStarts(const std::array<std::size_t, 256>& count)
{
    std::array<std::size_t, 256> start;
    std::size_t next = 0;
    for (std::size_t b = 0; b < 256; ++b)
        start[b] = std::exchange(next, next + count[b]);
    return start;
}

// A stable sort of the keys by their prefixes, the most significant byte
// first: the keys are dealt into a bucket per value of the first byte in
// which they differ, and each bucket is then sorted alone by the bytes after
// it. After a pass or two a bucket fits the processor's caches, so a large
// table is not walked over again for every byte. A few keys are put in order
// by insertion; keys already in order are left as they are.
//
// The keys are in from; other is as long, and the sorted keys end up in
// other when intoOther is set, else in from. Each level deals the keys from
// one to the other, so that none is copied back.
void sortByPrefix(std::span<Key> from, std::span<Key> other, bool intoOther)
{
    constexpr std::size_t kFewKeys = 32;
    const auto done = [&] {
        if (intoOther)
            std::copy(from.begin(), from.end(), other.begin());
    };
    if (from.size() <= kFewKeys) {
        for (std::size_t i = 1; i < from.size(); ++i) {
            const Key key = from[i];
            std::size_t j = i;
            for (; j > 0 && from[j - 1].prefix > key.prefix; --j)
                from[j] = from[j - 1];
            from[j] = key;
        }
        return done();
    }
    std::uint64_t differing = 0;
    bool inOrder = true;
    for (std::size_t i = 1; i < from.size(); ++i) {
        differing |= from[i].prefix ^ from[0].prefix;
        inOrder &= from[i - 1].prefix <= from[i].prefix;
    }
    if (inOrder)
        return done();
    const int shift = (63 - std::countl_zero(differing)) / 8 * 8;
    std::array<std::size_t, 256> count{};
    for (const Key& key : from)
        ++count[(key.prefix >> shift) & 0xFF];
    const std::array<std::size_t, 256> start = bucketStarts(count);
    std::array<std::size_t, 256> place = start;
    for (const Key& key : from)
        other[place[(key.prefix >> shift) & 0xFF]++] = key;
    for (std::size_t b = 0; b < 256; ++b) {
        if (count[b] > 0)
            sortByPrefix(other.subspan(start[b], count[b]), from.subspan(start[b], count[b]),
                         !intoOther);
    }
}

} // namespace

RowView viewOf(const Row& row)
{
    RowView view;
    for (std::size_t c = 0; c < row.size(); ++c)
        view[c] = row[c];
    return view;
}

Row rowOf(const RowView& view)
{
    Row row;
    for (std::size_t c = 0; c < row.size(); ++c)
        row[c] = std::string(view[c]);
    return row;
}

std::uint32_t AlbumTable::TextBlocks::add(std::string_view text)
{
    constexpr std::size_t kBlockBytes = std::size_t{1} << kBlockBits;
    constexpr std::size_t kFirstBlockBytes = 4096;
    if (text.empty())
        return 0;
    // A block is filled up to what it was given, each new one twice the last
    // up to the largest; a text longer than that gets a block of its own.
    if (blocks_.empty() ||
        blocks_.back().size() + text.size() > std::min(blocks_.back().capacity(), kBlockBytes)) {
        const std::size_t last = blocks_.empty() ? 0 : blocks_.back().capacity();
        blocks_.emplace_back();
        blocks_.back().reserve(
            std::max(text.size(), std::clamp(2 * last, kFirstBlockBytes, kBlockBytes)));
    }
    std::vector<char>& block = blocks_.back();
    const std::size_t offset = block.size();
    block.insert(block.end(), text.begin(), text.end());
    bytes_ += text.size();
    return static_cast<std::uint32_t>(((blocks_.size() - 1) << kBlockBits) | offset);
}

AlbumTable::AlbumTable()
{
    clear();
}

void AlbumTable::storeRow(std::size_t row, const RowView& cells)
{
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        CellText& text = columns_[c].cells[row];
        unused_ += text.size;
        text = {columns_[c].texts.add(cells[c]), static_cast<std::uint32_t>(cells[c].size())};
    }
}

void AlbumTable::appendStoredRow(const RowView& cells)
{
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        columns_[c].cells.push_back(
            {columns_[c].texts.add(cells[c]), static_cast<std::uint32_t>(cells[c].size())});
    }
}

void AlbumTable::forgetRowsFrom(std::size_t first)
{
    for (ColumnCells& column : columns_) {
        for (std::size_t r = first; r < column.cells.size(); ++r)
            unused_ += column.cells[r].size;
    }
}

void AlbumTable::resizeRows(std::size_t count)
{
    forgetRowsFrom(count);
    for (ColumnCells& column : columns_)
        column.cells.resize(count);
}

void AlbumTable::compactIfWasteful()
{
    std::size_t bytes = 0;
    for (const ColumnCells& column : columns_)
        bytes += column.texts.bytes();
    if (unused_ <= std::max<std::size_t>(bytes / 2, 1u << 16))
        return;
    for (ColumnCells& column : columns_) {
        TextBlocks texts;
        for (CellText& text : column.cells)
            text.at = texts.add(column.texts.view(text.at, text.size));
        column.texts = std::move(texts);
    }
    unused_ = 0;
}

RowView AlbumTable::row(int index) const
{
    RowView view;
    for (int c = 0; c < kColumnCount; ++c)
        view[static_cast<std::size_t>(c)] = cell(c, index);
    return view;
}

void AlbumTable::setRowCount(int count)
{
    resizeRows(static_cast<std::size_t>(std::max(count, 2)));
    const std::size_t kept = std::min(keys_.size(), static_cast<std::size_t>(rowCount()));
    keys_.resize(static_cast<std::size_t>(rowCount()));
    for (std::size_t r = kept; r < keys_.size(); ++r)
        keys_[r] = newKey();
    compactIfWasteful();
}

void AlbumTable::appendRow()
{
    resizeRows(static_cast<std::size_t>(rowCount()) + 1);
    keys_.push_back(newKey());
}

void AlbumTable::appendAlbum(const RowView& cells)
{
    const auto albums =
        static_cast<std::size_t>(std::clamp<int>(liczbaalbumow_, 0, rowCount() - 1));
    if (static_cast<std::size_t>(rowCount()) > albums + 1) {
        resizeRows(albums + 1);
        keys_.resize(albums + 1);
    }
    appendStoredRow(cells);
    keys_.push_back(newKey());
    liczbaalbumow_ = static_cast<std::int32_t>(albums + 1);
}

void AlbumTable::reserveAlbums(std::size_t count)
{
    for (ColumnCells& column : columns_)
        column.cells.reserve(count + 1);
    keys_.reserve(count + 1);
}

void AlbumTable::takeAlbumsOf(AlbumTable&& other)
{
    const int column = sortColumn_;
    const bool ascending = sortAscending_;
    const RowKey next = std::max(nextKey_, other.nextKey_);
    *this = std::move(other);
    sortColumn_ = column;
    sortAscending_ = ascending;
    nextKey_ = next;
    renewKeys();
}

void AlbumTable::removeRow(int row)
{
    if (row < 1 || row >= rowCount())
        return;
    const auto r = static_cast<std::size_t>(row);
    if (rowCount() <= 2) {
        storeRow(r, RowView{});
        keys_[r] = newKey();
    } else {
        for (ColumnCells& column : columns_) {
            unused_ += column.cells[r].size;
            column.cells.erase(column.cells.begin() + row);
        }
        keys_.erase(keys_.begin() + row);
    }
    compactIfWasteful();
}

void AlbumTable::setCell(int column, int row, std::string_view text)
{
    ColumnCells& cells = columns_[static_cast<std::size_t>(column)];
    CellText& stored = cells.cells[static_cast<std::size_t>(row)];
    unused_ += stored.size;
    stored = {cells.texts.add(text), static_cast<std::uint32_t>(text.size())};
    compactIfWasteful();
}

void AlbumTable::setRow(int index, const RowView& row)
{
    storeRow(static_cast<std::size_t>(index), row);
    compactIfWasteful();
}

void AlbumTable::clear()
{
    columns_ = {};
    unused_ = 0;
    appendStoredRow(viewOf(headerRow()));
    appendStoredRow(RowView{});
    liczbaalbumow_ = 0;
    renewKeys();
}

void AlbumTable::renewKeys()
{
    keys_.resize(static_cast<std::size_t>(rowCount()));
    for (RowKey& key : keys_)
        key = newKey();
}

void AlbumTable::assignAlbums(std::vector<Row> albums)
{
    const Row header = rowOf(row(0));
    columns_ = {};
    unused_ = 0;
    reserveAlbums(albums.size());
    appendStoredRow(viewOf(header));
    for (const Row& album : albums)
        appendStoredRow(viewOf(album));
    if (albums.empty())
        appendStoredRow(RowView{});
    liczbaalbumow_ = static_cast<std::int32_t>(albums.size());
    renewKeys();
}

void AlbumTable::assignRowsOf(const AlbumTable& source, const std::vector<int>& rows)
{
    const Row header = rowOf(row(0));
    columns_ = {};
    unused_ = 0;
    keys_.clear();
    reserveAlbums(rows.size());
    appendStoredRow(viewOf(header));
    keys_.push_back(newKey());
    for (const int r : rows) {
        appendStoredRow(source.row(r));
        keys_.push_back(source.rowKey(r));
    }
    if (rows.empty()) {
        appendStoredRow(RowView{});
        keys_.push_back(newKey());
    }
    liczbaalbumow_ = static_cast<std::int32_t>(rows.size());
    // Keys of this table's own rows never meet the ones taken over.
    nextKey_ = std::max(nextKey_, source.nextKey_);
}

std::vector<int> AlbumTable::rowsOfKeys(const std::vector<RowKey>& keys) const
{
    const KeyIndex wanted(keys);
    std::vector<int> rowOfFirst(keys.size(), 0);
    for (int r = 1; r <= liczbaalbumow_ && r < rowCount(); ++r) {
        if (const auto at = wanted.find(keys_[static_cast<std::size_t>(r)]))
            rowOfFirst[*at] = r;
    }
    // A key asked for twice has the row of its first asking.
    std::vector<int> rows;
    rows.reserve(keys.size());
    for (const RowKey key : keys)
        rows.push_back(rowOfFirst[*wanted.find(key)]);
    return rows;
}

int AlbumTable::removeAlbumsByKey(const std::vector<RowKey>& keys)
{
    const int before = std::clamp<int>(liczbaalbumow_, 0, rowCount() - 1);
    dropAlbumsByKey(keys, nullptr);
    return before - liczbaalbumow_;
}

std::vector<Row> AlbumTable::takeAlbumsByKey(const std::vector<RowKey>& keys)
{
    std::vector<Row> taken(keys.size());
    dropAlbumsByKey(keys, &taken);
    return taken;
}

void AlbumTable::dropAlbumsByKey(const std::vector<RowKey>& keys, std::vector<Row>* taken)
{
    const KeyIndex gone(keys);
    const auto albums =
        static_cast<std::size_t>(std::clamp<int>(liczbaalbumow_, 0, rowCount() - 1));
    // Which rows stay, and where the rows taken out go.
    std::vector<bool> stays(albums + 1, true);
    for (std::size_t r = 1; r <= albums; ++r) {
        if (const auto found = gone.find(keys_[r])) {
            if (taken != nullptr)
                (*taken)[*found] = rowOf(row(static_cast<int>(r)));
            stays[r] = false;
        }
    }
    std::size_t kept = 1;
    for (std::size_t r = 1; r <= albums; ++r) {
        if (stays[r])
            keys_[kept++] = keys_[r];
    }
    keys_.resize(kept);
    forgetRowsFrom(albums + 1);
    for (ColumnCells& column : columns_) {
        std::size_t to = 1;
        for (std::size_t r = 1; r <= albums; ++r) {
            if (stays[r])
                column.cells[to++] = column.cells[r];
            else
                unused_ += column.cells[r].size;
        }
        column.cells.resize(kept);
    }
    liczbaalbumow_ = static_cast<std::int32_t>(kept - 1);
    if (rowCount() < 2) {
        appendStoredRow(RowView{});
        keys_.push_back(newKey());
    }
    compactIfWasteful();
}

void AlbumTable::insertAlbums(int position, const std::vector<KeyedRow>& albums)
{
    if (albums.empty())
        return;
    const int count = std::clamp<int>(liczbaalbumow_, 0, rowCount() - 1);
    // The blank row of an empty catalogue is no album.
    resizeRows(static_cast<std::size_t>(count) + 1);
    keys_.resize(static_cast<std::size_t>(count) + 1);
    if (position < 1 || position > count + 1)
        position = count + 1;
    const auto at = static_cast<std::size_t>(position);
    for (ColumnCells& column : columns_)
        column.cells.insert(column.cells.begin() + position, albums.size(), CellText{});
    keys_.insert(keys_.begin() + position, albums.size(), RowKey{});
    for (std::size_t i = 0; i < albums.size(); ++i) {
        storeRow(at + i, viewOf(albums[i].row));
        keys_[at + i] = albums[i].key;
    }
    liczbaalbumow_ = static_cast<std::int32_t>(rowCount() - 1);
    compactIfWasteful();
}

void AlbumTable::insertAlbumsAt(const std::vector<std::pair<int, KeyedRow>>& albums)
{
    if (albums.empty())
        return;
    const auto count = static_cast<std::size_t>(std::clamp<int>(liczbaalbumow_, 0, rowCount() - 1));
    // The blank row of an empty catalogue is no album.
    resizeRows(count + 1);
    keys_.resize(count + 1);
    // Where each row of the new table comes from: a row of this one, or
    // (counted back from -1) one of albums.
    const std::size_t total = count + albums.size();
    std::vector<std::int64_t> source;
    source.reserve(total);
    std::size_t kept = 1;
    std::size_t next = 0;
    for (std::size_t row = 1; row <= total; ++row) {
        const bool placeHere =
            next < albums.size() &&
            (kept > count || albums[next].first <= static_cast<std::int64_t>(row));
        source.push_back(placeHere ? -static_cast<std::int64_t>(++next)
                                   : static_cast<std::int64_t>(kept++));
    }
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        ColumnCells& column = columns_[c];
        std::vector<CellText> cells;
        cells.reserve(total + 1);
        cells.push_back(column.cells[0]);
        for (const std::int64_t from : source) {
            if (from > 0) {
                cells.push_back(column.cells[static_cast<std::size_t>(from)]);
            } else {
                const std::string& text = albums[static_cast<std::size_t>(-from - 1)].second.row[c];
                cells.push_back({column.texts.add(text), static_cast<std::uint32_t>(text.size())});
            }
        }
        column.cells = std::move(cells);
    }
    std::vector<RowKey> keys;
    keys.reserve(total + 1);
    keys.push_back(keys_[0]);
    for (const std::int64_t from : source) {
        keys.push_back(from > 0 ? keys_[static_cast<std::size_t>(from)]
                                : albums[static_cast<std::size_t>(-from - 1)].second.key);
    }
    keys_ = std::move(keys);
    liczbaalbumow_ = static_cast<std::int32_t>(total);
}

void AlbumTable::moveAlbumsIn(int position, std::vector<KeyedRow>& albums)
{
    insertAlbums(position, albums);
    // The table holds the texts now; the rows give their memory back.
    for (KeyedRow& album : albums)
        album.row = Row{};
}

std::vector<int> AlbumTable::sortByColumn(int column)
{
    if (column < 0 || column >= kColumnCount || rowCount() - 1 < 2)
        return {};
    if (column == sortColumn_) {
        sortAscending_ = !sortAscending_;
    } else {
        sortColumn_ = column;
        sortAscending_ = true;
    }

    // The rows are sorted as small keys: the first sixteen bytes of the
    // cell, its length and its row. The keys are made straight into buckets
    // by their first byte (counted beforehand), so that all of them are
    // walked over once; each bucket is sorted by the first eight bytes with
    // a stable radix sort (linear in the rows), and every run of equal first
    // eight bytes is then put in order by the rest, unless its texts are all
    // the same (a performer with many albums), which keeps them as they
    // are. Only keys with equal first sixteen bytes of texts longer than
    // that compare the whole texts, so that the texts are seldom read in the
    // new order. A descending sort orders the complemented bytes, which
    // keeps equal cells in their order too.
    const std::uint64_t flip = sortAscending_ ? 0 : ~std::uint64_t{0};
    const auto firstByte = [&](std::string_view text) {
        const unsigned byte = text.empty() ? 0u : static_cast<unsigned char>(text[0]);
        return sortAscending_ ? byte : 255u - byte;
    };
    std::array<std::size_t, 256> count{};
    for (int r = 1; r < rowCount(); ++r)
        ++count[firstByte(cell(column, r))];
    const std::array<std::size_t, 256> start = bucketStarts(count);
    std::array<std::size_t, 256> place = start;
    const std::size_t albums = keys_.size() - 1;
    const auto keyStore = std::make_unique_for_overwrite<Key[]>(albums);
    const auto bufferStore = std::make_unique_for_overwrite<Key[]>(albums);
    const std::span<Key> keys(keyStore.get(), albums);
    const std::span<Key> buffer(bufferStore.get(), albums);
    for (int r = 1; r < rowCount(); ++r) {
        const std::string_view text = cell(column, r);
        keys[place[firstByte(text)]++] = {bigEndian(text, 0) ^ flip, bigEndian(text, 8),
                                          static_cast<std::uint32_t>(text.size()), r};
    }
    for (std::size_t b = 0; b < 256; ++b) {
        if (count[b] > 1)
            sortByPrefix(keys.subspan(start[b], count[b]), buffer.subspan(start[b], count[b]),
                         false);
    }
    if (!sortAscending_) {
        for (Key& key : keys)
            key.prefix = ~key.prefix;
    }
    // Texts that fit the key and agree in it differ only by their length,
    // the shorter being the start of the longer. string_view compares its
    // bytes as unsigned char.
    const auto ascending = [&](const Key& a, const Key& b) {
        if (a.next != b.next)
            return a.next < b.next;
        if (a.length <= kKeyBytes && b.length <= kKeyBytes)
            return a.length < b.length;
        return cell(column, a.row) < cell(column, b.row);
    };
    const auto byText = [&](const Key& a, const Key& b) {
        return sortAscending_ ? ascending(a, b) : ascending(b, a);
    };
    const auto same = [&](const Key& a, const Key& b) {
        return a.next == b.next && a.length == b.length &&
               (a.length <= kKeyBytes || cell(column, a.row) == cell(column, b.row));
    };
    for (auto run = keys.begin(); run != keys.end();) {
        auto end =
            std::find_if(run, keys.end(), [&](const Key& k) { return k.prefix != run->prefix; });
        const bool allSame = std::all_of(run + 1, end, [&](const Key& k) { return same(*run, k); });
        if (!allSame)
            std::stable_sort(run, end, byText);
        run = end;
    }
    std::vector<int> newIndex(keys_.size(), 0);
    for (std::size_t i = 0; i < keys.size(); ++i)
        newIndex[static_cast<std::size_t>(keys[i].row)] = static_cast<int>(i) + 1;
    // Each cell is moved once, a column at a time, so that the cells written
    // at random lie close.
    for (ColumnCells& cells : columns_) {
        std::vector<CellText> sorted(cells.cells.size());
        for (std::size_t r = 0; r < sorted.size(); ++r)
            sorted[static_cast<std::size_t>(newIndex[r])] = cells.cells[r];
        cells.cells = std::move(sorted);
    }
    std::vector<RowKey> movedKeys(keys_.size());
    for (std::size_t r = 0; r < keys_.size(); ++r)
        movedKeys[static_cast<std::size_t>(newIndex[r])] = keys_[r];
    keys_ = std::move(movedKeys);
    return newIndex;
}

RowKey AlbumTable::reserveKeys(std::size_t count) const
{
    const RowKey first = nextKey_;
    nextKey_ += static_cast<RowKey>(count);
    return first;
}

} // namespace alborx
