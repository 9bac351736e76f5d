// The colours of the album lists: every column has a background and a text
// colour, and every second row is drawn in a darker stripe colour derived
// from the background.
#pragma once

#include "settings.h"

namespace alborx {

// Recomputes kolorypaskow: every channel of each background lowered by
// wyrazistosc, down to 0 at the least; the highest byte is carried over.
void zrobkolorypaskow(TUstawienia& settings);

struct CellColours
{
    Colour background;
    Colour text;
};

// The colours of a cell in album row (1, 2, ...) and column: odd rows are
// stripes.
CellColours listacdGetCellColor(const TUstawienia& settings, int row, int column);

} // namespace alborx
