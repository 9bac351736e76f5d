#include "freeid.h"

#include "textfunctions.h"

#include <algorithm>
#include <vector>

namespace alborx {

namespace {

// Reads a cell as the ID rule does, with a quick way through the usual
// five-digit IDs and dashes.
std::optional<std::int32_t> readIdCell(std::string_view cell)
{
    if (cell.size() == 5) {
        std::int32_t value = 0;
        bool digits = true;
        for (char c : cell) {
            digits = digits && c >= '0' && c <= '9';
            value = value * 10 + (c - '0');
        }
        if (digits)
            return value;
    } else if (cell == "-") {
        return std::nullopt;
    }
    return readId(cell);
}

} // namespace

int idColumn(IdKind kind)
{
    switch (kind) {
    case IdKindCd:
        return ColumnCdId;
    case IdKindMc:
        return ColumnMcId;
    default:
        return ColumnId;
    }
}

std::optional<std::int32_t> nowyid(const AlbumTable& table, IdKind kind, std::int32_t& counter)
{
    // One pass marks the numbers in use; walking the marks from the counter
    // gives the same answer as rescanning the table after every collision.
    return FreeIdFinder(table, kind).next(counter);
}

FreeIdFinder::FreeIdFinder(const AlbumTable& table, IdKind kind) : used_(kMaxId + 1, false)
{
    const int column = idColumn(kind);
    const int albums = std::min<int>(table.liczbaalbumow(), table.rowCount() - 1);
    for (int row = 1; row <= albums; ++row) {
        if (const auto number = readIdCell(table.cell(column, row)))
            take(*number);
    }
}

void FreeIdFinder::take(std::int32_t number)
{
    if (number >= 1 && number <= kMaxId) {
        if (!used_[static_cast<std::size_t>(number)]) {
            used_[static_cast<std::size_t>(number)] = true;
            ++usedCount_;
        }
    } else {
        outside_.insert(number);
    }
}

bool FreeIdFinder::isFree(std::int32_t number) const
{
    if (number >= 1 && number <= kMaxId)
        return !used_[static_cast<std::size_t>(number)];
    return outside_.count(number) == 0;
}

std::optional<std::int32_t> FreeIdFinder::next(std::int32_t& counter)
{
    std::int32_t v = counter < 1 ? 1 : counter;
    // A counter above 99999 can only be left by hand in a settings file. Such
    // a counter is handed out as it is while no album has that ID; once one
    // has, the search goes on at 1.
    const bool startTaken =
        v <= kMaxId ? used_[static_cast<std::size_t>(v)] : outside_.count(v) > 0;
    if (!startTaken) {
        counter = v;
        return v;
    }
    if (usedCount_ == kMaxId)
        return std::nullopt;
    v = v >= kMaxId ? 1 : v + 1;
    for (std::int32_t tried = 0; tried < kMaxId; ++tried) {
        if (!used_[static_cast<std::size_t>(v)]) {
            counter = v;
            return v;
        }
        v = v == kMaxId ? 1 : v + 1;
    }
    return std::nullopt;
}

} // namespace alborx
