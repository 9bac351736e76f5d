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
    constexpr std::uint64_t kPrime = 1099511628211ull;
    // Most of a record is the zeros after its texts, and a zero byte only
    // multiplies by the prime: a run of them is one multiplication by the
    // prime's power, which gives the same number several times faster.
    static const auto primePowers = [] {
        std::array<std::uint64_t, kAlbumRecordSize + 1> powers{};
        powers[0] = 1;
        for (std::size_t k = 1; k < powers.size(); ++k)
            powers[k] = powers[k - 1] * kPrime;
        return powers;
    }();
    std::array<std::uint8_t, kAlbumRecordSize> record{};
    encodeRow(row, record.data());
    std::uint64_t hash = 14695981039346656037ull;
    std::size_t zeros = 0; // the run of zeros not yet multiplied in
    for (std::size_t at = 0; at < record.size(); ++at) {
        if (record[at] == 0) {
            ++zeros;
            continue;
        }
        hash = (hash * primePowers[zeros] ^ record[at]) * kPrime;
        zeros = 0;
    }
    return hash * primePowers[zeros];
}

} // namespace alborx
