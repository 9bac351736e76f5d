#include "albumtable.h"

#include <algorithm>
#include <numeric>

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
}

void AlbumTable::appendRow()
{
    rows_.emplace_back();
}

void AlbumTable::removeRow(int row)
{
    if (row < 1 || row >= rowCount())
        return;
    if (rowCount() <= 2) {
        rows_[1] = Row{};
        return;
    }
    rows_.erase(rows_.begin() + row);
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

    // Sorting row numbers and moving each row once keeps the cost of a sort
    // independent of the length of the texts.
    std::vector<int> order(rows_.size() - 1);
    std::iota(order.begin(), order.end(), 1);
    const auto key = [&](int r) -> const std::string& { return cell(column, r); };
    // std::string compares its bytes as unsigned char.
    if (sortAscending_) {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    } else {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(b) < key(a); });
    }

    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    sorted.push_back(std::move(rows_[0]));
    std::vector<int> newIndex(rows_.size(), 0);
    for (int oldRow : order) {
        newIndex[static_cast<std::size_t>(oldRow)] = static_cast<int>(sorted.size());
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(oldRow)]));
    }
    rows_ = std::move(sorted);
    return newIndex;
}

} // namespace alborx
