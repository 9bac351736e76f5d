// Files of other programs for the import benchmarks: a Tellico collection of
// a catalogue's albums, and a CSV file spoilt by quotes that never close.
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

} // namespace alborx::bench
