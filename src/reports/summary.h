// The catalogue's summary: albums, discs and cassettes counted by their
// distinct IDs, albums held on both media, and the copy kinds of each medium,
// for the media whose kinds are selected for export.
#pragma once

#include "albumtable.h"
#include "progress.h"

#include <array>
#include <cstdint>

namespace alborx {

struct TPodsumowanie
{
    // Indexed by copy-kind code 1..4 (O, P, K, M); entry 0 is unused.
    std::array<std::int32_t, 5> rodzajecd{};
    std::array<std::int32_t, 5> rodzajemc{};
    std::int32_t plyty = 0;
    std::int32_t kasety = 0;
    std::int32_t albumy = 0;
    std::int32_t tesame = 0;
};

// One pass over the album rows. wypiszcd and wypiszmc select the copy kinds
// O, P, K, M that count; a medium of another kind counts nowhere. The
// progress moves after every 16 rows.
TPodsumowanie obliczpodsumowanie(const AlbumTable& table, const std::array<bool, 4>& wypiszcd,
                                 const std::array<bool, 4>& wypiszmc, Progress* progress = nullptr);

// The copy-kind code of a kind cell after the export selection: 0 when the
// medium is not owned or its kind is not selected.
int selectedCopyKind(std::string_view kindCell, const std::array<bool, 4>& selected);

} // namespace alborx
