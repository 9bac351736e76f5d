// Files of other programs for the import benchmarks: a Tellico collection of
// a catalogue's albums, a CSV file spoilt by quotes that never close, and a
// MusicBrainz search answer.
#pragma once

#include "albumtable.h"

#include <cstddef>
#include <string>

namespace alborx::bench {

// Writes the albums as a zipped Tellico music collection (*.tc); false when
// it cannot be written.
bool writeTellicoCollection(const std::string& path, const AlbumTable& table);

// About size bytes of CSV lines that open quotes: some close on the next
// line, and the last never does.
std::string unclosedQuoteLines(std::size_t size);

// A MusicBrainz release search answer of at most size bytes and at most
// releases releases, shaped as the service writes them.
std::string musicBrainzAnswer(std::size_t size, int releases = 1'000'000);

} // namespace alborx::bench
