#include "summary.h"

#include "copykinds.h"
#include "textfunctions.h"

#include <unordered_set>

namespace alborx {

namespace {

// ID cells are read as they stand: a trailing space makes a cell no number.
std::optional<std::int32_t> readIdCell(std::string_view cell)
{
    if (!cell.empty() && cell.back() == ' ')
        return std::nullopt;
    return readId(cell);
}

} // namespace

int selectedCopyKind(std::string_view kindCell, const std::array<bool, 4>& selected)
{
    const int code = copyKindCode(kindCell);
    return code >= 1 && !selected[static_cast<std::size_t>(code - 1)] ? 0 : code;
}

TPodsumowanie obliczpodsumowanie(const AlbumTable& table, const std::array<bool, 4>& wypiszcd,
                                 const std::array<bool, 4>& wypiszmc, Progress* progress)
{
    TPodsumowanie sums;
    const int albums = std::max(0, std::min<int>(table.liczbaalbumow(), table.rowCount() - 1));
    std::unordered_set<std::int32_t> albumIds;
    std::unordered_set<std::int32_t> cdIds;
    std::unordered_set<std::int32_t> mcIds;
    albumIds.reserve(static_cast<std::size_t>(albums));
    for (int r = 1; r <= albums; ++r) {
        const RowView row = table.row(r);
        const int c = selectedCopyKind(row[ColumnCdKind], wypiszcd);
        const int m = selectedCopyKind(row[ColumnMcKind], wypiszmc);
        if (c != 0 || m != 0) {
            if (const auto id = readIdCell(row[ColumnId])) {
                if (albumIds.insert(*id).second && c >= 1 && m >= 1)
                    ++sums.tesame;
            }
            if (c >= 1) {
                if (const auto id = readIdCell(row[ColumnCdId]))
                    cdIds.insert(*id);
                ++sums.rodzajecd[static_cast<std::size_t>(c)];
            }
            if (m >= 1) {
                if (const auto id = readIdCell(row[ColumnMcId]))
                    mcIds.insert(*id);
                ++sums.rodzajemc[static_cast<std::size_t>(m)];
            }
        }
        advanceProgress(progress, r, kAlbumLoopStep);
    }
    sums.albumy = static_cast<std::int32_t>(albumIds.size());
    sums.plyty = static_cast<std::int32_t>(cdIds.size());
    sums.kasety = static_cast<std::int32_t>(mcIds.size());
    return sums;
}

} // namespace alborx
