// The card of an album: what a collector keeps of it beyond the catalogue's
// eight columns. Its texts are UTF-8 (the card is no catalogue record, so
// any letter stays whole); its cover is the picture file's bytes.
#pragma once

#include "albumtable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace alborx {

// Every text of a card is cut to this many bytes, at a character boundary.
constexpr std::size_t kMostCardTextBytes = 4096;
// A card lists at most this many tracks.
constexpr std::size_t kMostTracks = 500;
// A cover picture file larger than this is refused.
constexpr std::size_t kMostCoverBytes = 8 * 1024 * 1024;

struct Track
{
    std::string number; // as the release numbers it: "1", "A1"
    std::string title;
    std::string performer; // where it differs from the album's
    std::string length;    // "3:45"
    bool operator==(const Track&) const = default;
};

struct AlbumCard
{
    std::string rok;
    std::string wytwornia;
    std::string numerKatalogowy;
    std::string kraj;
    std::string kodKreskowy;
    std::string uwagi;
    std::string releaseId; // the MusicBrainz release it came from
    std::vector<Track> tracks;

    bool operator==(const AlbumCard&) const = default;
    bool empty() const;
};

// The card's texts cut to their bounds and its track list to kMostTracks.
void cutCard(AlbumCard& card);
// A UTF-8 text cut to at most bytes, never inside a character; a text that
// is not well-formed UTF-8 keeps its well-formed beginning.
std::string cutUtf8(std::string_view text, std::size_t bytes = kMostCardTextBytes);

// A track's length in milliseconds as the card shows it: "3:45", "1:02:03".
std::string trackLength(std::int64_t milliseconds);

// A number for an album's record in the catalogue file that another record
// rarely shares: it finds the album's card again when the file was
// reordered.
std::uint64_t albumFingerprint(const RowView& row);

} // namespace alborx
