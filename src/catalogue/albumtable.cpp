#include "albumtable.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

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

AlbumTable::AlbumTable()
{
    clear();
}

void AlbumTable::setRowCount(int count)
{
    rows_.resize(static_cast<std::size_t>(std::max(count, 2)));
    const std::size_t kept = std::min(keys_.size(), rows_.size());
    keys_.resize(rows_.size());
    for (std::size_t r = kept; r < keys_.size(); ++r)
        keys_[r] = newKey();
}

void AlbumTable::appendRow()
{
    rows_.emplace_back();
    keys_.push_back(newKey());
}

void AlbumTable::removeRow(int row)
{
    if (row < 1 || row >= rowCount())
        return;
    if (rowCount() <= 2) {
        rows_[1] = Row{};
        keys_[1] = newKey();
        return;
    }
    rows_.erase(rows_.begin() + row);
    keys_.erase(keys_.begin() + row);
}

const std::string& AlbumTable::cell(int column, int row) const
{
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void AlbumTable::setCell(int column, int row, std::string text)
{
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
}

void AlbumTable::setRow(int index, Row row)
{
    rows_[static_cast<std::size_t>(index)] = std::move(row);
}

void AlbumTable::clear()
{
    rows_.assign(2, Row{});
    rows_[0] = headerRow();
    liczbaalbumow_ = 0;
    renewKeys();
}

void AlbumTable::renewKeys()
{
    keys_.resize(rows_.size());
    for (RowKey& key : keys_)
        key = newKey();
}

void AlbumTable::assignAlbums(std::vector<Row> albums)
{
    const auto count = static_cast<std::int32_t>(albums.size());
    Row header = std::move(rows_[0]);
    rows_ = std::move(albums);
    rows_.insert(rows_.begin(), std::move(header));
    if (rows_.size() < 2)
        rows_.emplace_back();
    liczbaalbumow_ = count;
    renewKeys();
}

void AlbumTable::assignAlbums(std::vector<KeyedRow> albums)
{
    std::vector<Row> rows;
    rows.reserve(albums.size());
    RowKey highest = 0;
    for (KeyedRow& album : albums) {
        rows.push_back(std::move(album.row));
        highest = std::max(highest, album.key);
    }
    // Keys of this table's own rows never meet the ones taken over.
    nextKey_ = std::max(nextKey_, highest + 1);
    assignAlbums(std::move(rows));
    for (std::size_t i = 0; i < albums.size(); ++i)
        keys_[i + 1] = albums[i].key;
}

std::vector<int> AlbumTable::rowsOfKeys(const std::vector<RowKey>& keys) const
{
    std::unordered_map<RowKey, int> where;
    where.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        where.emplace(keys[i], 0);
    for (int r = 1; r <= liczbaalbumow_ && r < rowCount(); ++r) {
        const auto found = where.find(keys_[static_cast<std::size_t>(r)]);
        if (found != where.end())
            found->second = r;
    }
    std::vector<int> rows;
    rows.reserve(keys.size());
    for (RowKey key : keys)
        rows.push_back(where[key]);
    return rows;
}

int AlbumTable::removeAlbumsByKey(const std::vector<RowKey>& keys)
{
    const int before = std::clamp<int>(liczbaalbumow_, 0, rowCount() - 1);
    takeAlbumsByKey(keys);
    return before - liczbaalbumow_;
}

std::vector<Row> AlbumTable::takeAlbumsByKey(const std::vector<RowKey>& keys)
{
    std::unordered_map<RowKey, std::size_t> gone;
    gone.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        gone.emplace(keys[i], i);
    std::vector<Row> taken(keys.size());
    const int albums = std::clamp<int>(liczbaalbumow_, 0, rowCount() - 1);
    std::size_t kept = 1;
    for (std::size_t r = 1; r <= static_cast<std::size_t>(albums); ++r) {
        if (const auto found = gone.find(keys_[r]); found != gone.end()) {
            taken[found->second] = std::move(rows_[r]);
            continue;
        }
        if (kept != r) {
            rows_[kept] = std::move(rows_[r]);
            keys_[kept] = keys_[r];
        }
        ++kept;
    }
    rows_.resize(kept);
    keys_.resize(kept);
    liczbaalbumow_ = static_cast<std::int32_t>(kept - 1);
    if (rows_.size() < 2) {
        rows_.emplace_back();
        keys_.push_back(newKey());
    }
    return taken;
}

void AlbumTable::insertAlbums(int position, std::vector<KeyedRow> albums)
{
    moveAlbumsIn(position, albums);
}

void AlbumTable::moveAlbumsIn(int position, std::vector<KeyedRow>& albums)
{
    if (albums.empty())
        return;
    const int count = std::clamp<int>(liczbaalbumow_, 0, rowCount() - 1);
    // The blank row of an empty catalogue is no album.
    rows_.resize(static_cast<std::size_t>(count) + 1);
    keys_.resize(rows_.size());
    if (position < 1 || position > count + 1)
        position = count + 1;
    const auto at = static_cast<std::size_t>(position);
    rows_.insert(rows_.begin() + position, albums.size(), Row{});
    keys_.insert(keys_.begin() + position, albums.size(), RowKey{});
    for (std::size_t i = 0; i < albums.size(); ++i) {
        rows_[at + i] = std::move(albums[i].row);
        keys_[at + i] = albums[i].key;
    }
    liczbaalbumow_ = static_cast<std::int32_t>(rows_.size() - 1);
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

    // The rows are sorted as small keys: the first eight bytes of the cell,
    // big-endian so that integer order is byte order, and the row number. Only
    // keys with equal first bytes compare the whole texts. Each row is then
    // moved once, so a sort costs little beyond its comparisons.
    struct Key
    {
        std::uint64_t prefix;
        int row;
    };
    std::vector<Key> keys;
    keys.reserve(rows_.size() - 1);
    for (int r = 1; r < rowCount(); ++r) {
        const std::string& text = cell(column, r);
        std::uint64_t prefix = 0;
        for (std::size_t i = 0; i < 8; ++i)
            prefix = (prefix << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
        keys.push_back({prefix, r});
    }
    // First by the eight bytes alone; then every run of equal first bytes is
    // put in order by the whole texts, unless its texts are all the same (a
    // performer with many albums), which keeps them as they are.
    const auto byPrefix = [&](const Key& a, const Key& b) {
        return sortAscending_ ? a.prefix < b.prefix : b.prefix < a.prefix;
    };
    std::stable_sort(keys.begin(), keys.end(), byPrefix);
    // std::string compares its bytes as unsigned char.
    const auto byText = [&](const Key& a, const Key& b) {
        const std::string& x = cell(column, a.row);
        const std::string& y = cell(column, b.row);
        return sortAscending_ ? x < y : y < x;
    };
    for (auto run = keys.begin(); run != keys.end();) {
        auto end =
            std::find_if(run, keys.end(), [&](const Key& k) { return k.prefix != run->prefix; });
        const std::string& first = cell(column, run->row);
        const bool allSame =
            std::all_of(run + 1, end, [&](const Key& k) { return cell(column, k.row) == first; });
        if (!allSame)
            std::stable_sort(run, end, byText);
        run = end;
    }
    std::vector<int> order;
    order.reserve(keys.size());
    for (const Key& key : keys)
        order.push_back(key.row);

    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    sorted.push_back(std::move(rows_[0]));
    std::vector<int> newIndex(rows_.size(), 0);
    for (int oldRow : order) {
        newIndex[static_cast<std::size_t>(oldRow)] = static_cast<int>(sorted.size());
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(oldRow)]));
    }
    rows_ = std::move(sorted);
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
