// Finding a free album, CD or cassette ID.
#pragma once

#include "albumtable.h"

#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

namespace alborx {

constexpr std::int32_t kMaxId = 99999;

enum IdKind
{
    IdKindAlbum = 0, // column 0, counter nastid
    IdKindCd = 1,    // column 6, counter nastidcd
    IdKindMc = 2,    // column 7, counter nastidmc
};

int idColumn(IdKind kind);

// The first number, counting up from counter (at least 1) and wrapping past
// 99999 to 1, that no album row holds in the kind's column; a cell that holds
// no number ("-") never matches. The result is stored into counter. When all
// of 1..99999 are taken there is no free number: the result is empty and the
// counter is left as it was.
std::optional<std::int32_t> nowyid(const AlbumTable& table, IdKind kind, std::int32_t& counter);

// nowyid for many albums added in a row: the numbers in use are read from the
// table once, and each number handed out or taken by an added album is
// marked, so that next() answers as nowyid would on the grown table.
class FreeIdFinder
{
public:
    FreeIdFinder(const AlbumTable& table, IdKind kind);
    std::optional<std::int32_t> next(std::int32_t& counter);
    void take(std::int32_t number);
    bool isFree(std::int32_t number) const;

private:
    std::vector<bool> used_;
    // How many of 1..99999 are in use: once all are, an import of many
    // albums learns at once that there is no free number left.
    std::int32_t usedCount_ = 0;
    std::unordered_set<std::int32_t> outside_; // numbers in use beyond 1..99999
};

} // namespace alborx
