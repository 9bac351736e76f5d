// The program's colours (0x00BBGGRR, red in the lowest byte) as Qt's.
#pragma once

#include "settings.h"

#include <QColor>

namespace alborx::ui {

inline QColor toQColor(Colour colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

inline Colour fromQColor(const QColor& colour)
{
    return static_cast<Colour>(colour.red()) | (static_cast<Colour>(colour.green()) << 8) |
           (static_cast<Colour>(colour.blue()) << 16);
}

} // namespace alborx::ui
