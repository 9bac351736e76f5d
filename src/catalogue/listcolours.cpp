#include "listcolours.h"

#include <algorithm>

namespace alborx {

void zrobkolorypaskow(TUstawienia& settings)
{
    const std::int32_t d = settings.wyrazistosc;
    for (std::size_t c = 0; c < settings.kolorytla.size(); ++c) {
        const Colour background = settings.kolorytla[c];
        Colour stripe = background & 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            const auto channel = static_cast<std::int32_t>((background >> shift) & 0xFF);
            const std::int32_t darker = channel >= d ? channel - d : 0;
            stripe |= static_cast<Colour>(std::min(darker, 255)) << shift;
        }
        settings.kolorypaskow[c] = stripe;
    }
}

CellColours listacdGetCellColor(const TUstawienia& settings, int row, int column)
{
    const auto c = static_cast<std::size_t>(column);
    return {row % 2 == 1 ? settings.kolorypaskow[c] : settings.kolorytla[c],
            settings.kolorytekstu[c]};
}

} // namespace alborx
