#include "albumcard.h"

#include "cataloguefile.h"
#include "cp1250.h"

#include <array>
#include <cstdio>

namespace alborx {

bool AlbumCard::empty() const
{
    return *this == AlbumCard{};
}

std::string cutUtf8(std::string_view text, std::size_t bytes)
{
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t next = i;
        if (!nextUtf8(text, next) || next > bytes)
            break;
        i = end = next;
    }
    return std::string(text.substr(0, end));
}

void cutCard(AlbumCard& card)
{
    for (std::string* text : {&card.rok, &card.wytwornia, &card.numerKatalogowy, &card.kraj,
                              &card.kodKreskowy, &card.uwagi, &card.releaseId})
        *text = cutUtf8(*text);
    if (card.tracks.size() > kMostTracks)
        card.tracks.resize(kMostTracks);
    for (Track& track : card.tracks) {
        for (std::string* text : {&track.number, &track.title, &track.performer, &track.length})
            *text = cutUtf8(*text);
    }
}

std::string trackLength(std::int64_t milliseconds)
{
    if (milliseconds <= 0)
        return {};
    const long long seconds = (milliseconds + 500) / 1000;
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

std::uint64_t albumFingerprint(const RowView& row)
{
    // FNV-1a over the album's record as the catalogue file stores it, so
    // that a record read back gives the number it was saved with.
    std::array<std::uint8_t, kAlbumRecordSize> record{};
    encodeRow(row, record.data());
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : record)
        hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

} // namespace alborx
