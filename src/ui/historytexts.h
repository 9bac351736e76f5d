// The texts that name the steps of the catalogue's history in the menu
// "Edycja": "Usuń album «Stare Dęby – Korzenie»", "Zamień (12 pól)".
#pragma once

#include "albumtable.h"
#include "qtext.h"

#include <QString>

namespace alborx::ui {

// A count with its Polish noun: 1 pole, 2 pola, 5 pól, 22 pola, 112 pól.
inline QString withNoun(int count, const char* one, const char* few, const char* many)
{
    const int lastTwo = count % 100;
    const int last = count % 10;
    const char* noun = count == 1                                                 ? one
                       : last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14) ? few
                                                                                  : many;
    return QString::number(count) + QLatin1Char(' ') + QString::fromUtf8(noun);
}

inline QString fieldCount(int count)
{
    return withNoun(count, "pole", "pola", "pól");
}

inline QString albumCount(int count)
{
    return withNoun(count, "album", "albumy", "albumów");
}

// "«Performer – Title»", or the ID when both are empty.
inline QString albumCaption(const Row& row)
{
    const QString performer = toQt(row[ColumnPerformer]).trimmed();
    const QString title = toQt(row[ColumnTitle]).trimmed();
    QString shown = performer.isEmpty() || title.isEmpty()
                        ? performer + title
                        : performer + QStringLiteral(" – ") + title;
    if (shown.isEmpty())
        shown = toQt(row[ColumnId]);
    return QStringLiteral("«") + shown + QStringLiteral("»");
}

} // namespace alborx::ui
