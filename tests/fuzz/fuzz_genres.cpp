// Any bytes as a genre file: every genre read is one line with something
// other than spaces, and writing the list reads back the same list.
#include "fuzz_support.h"
#include "genrelist.h"
#include "textfunctions.h"

#include <algorithm>

using namespace alborx;
using alborx::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::MemoryBound memory(size);
    const std::string path = fuzz::writeScratch("alborx-gatunki.cfg", data, size);
    const std::vector<std::string> genres = readGenreFile(path);
    std::size_t bytes = 0;
    for (const std::string& genre : genres) {
        check(!obetnijspacje(genre).empty(), "a blank genre was read");
        check(genre.find_first_of("\r\n") == std::string::npos, "a genre holds a line end");
        bytes += genre.size();
    }
    check(bytes <= size, "more text read than the file holds");

    // An independent count of the lines with something other than spaces:
    // CR LF, LF and CR each end a line.
    std::size_t lines = 0;
    bool filled = false;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == '\n' || data[i] == '\r') {
            lines += filled ? 1 : 0;
            filled = false;
            if (i + 1 < size && data[i] == '\r' && data[i + 1] == '\n')
                ++i;
        } else if (data[i] != ' ') {
            filled = true;
        }
    }
    check(genres.size() == std::min(lines, kGenreMostLines),
          "the genres read are not the filled lines of the file");
    check(writeGenreFile(path, genres), "writing the genres failed");
    check(readGenreFile(path) == genres, "the written genres read back differently");

    GenreList list;
    list.assign(genres);
    for (std::size_t i = 1; i < list.items().size(); ++i)
        check(!genreLess(list.items()[i], list.items()[i - 1]), "the genre list is out of order");
    return 0;
}
