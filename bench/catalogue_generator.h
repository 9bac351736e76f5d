// Catalogues of any size with realistic content for the benchmarks: Polish
// letters, multi-disc albums sharing an album ID, albums sharing a CD,
// every copy kind and albums on both media.
#pragma once

#include "albumtable.h"

#include <vector>

namespace alborx::bench {

std::vector<Row> generateAlbums(int count, unsigned seed = 1250);

} // namespace alborx::bench
