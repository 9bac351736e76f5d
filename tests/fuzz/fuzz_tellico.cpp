// Any bytes as a Tellico collection, zipped or plain: the reading ends, a
// refused file gives no album, and the albums of a read one hold what a
// catalogue may hold.
#include "fuzz_support.h"
#include "tellico.h"
#include "textfunctions.h"

using namespace alborx;
using alborx::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::MemoryBound memory(size);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    AlbumTable table;
    const TellicoImport import = importTellico(table, TUstawienia(), bytes);
    const ImportResult& albums = import.albums;
    if (import.status != TellicoStatus::Read) {
        check(albums.change.empty() && albums.added == 0, "a refused file gives albums");
        return 0;
    }
    check(static_cast<std::size_t>(albums.added) == albums.change.inserted.size(),
          "the count added is not the albums added");
    for (const KeyedRow& album : albums.change.inserted) {
        const Row& row = album.row;
        for (int c = 1; c <= 3; ++c)
            check(row[static_cast<std::size_t>(c)].size() <=
                          static_cast<std::size_t>(columnLimit(c)) &&
                      row[static_cast<std::size_t>(c)].find_first_of("\r\n") == std::string::npos,
                  "a text longer than its column or over more than one line");
        check(!obetnijspacje(row[ColumnPerformer]).empty() ||
                  !obetnijspacje(row[ColumnTitle]).empty(),
              "an album with neither performer nor title");
        check((row[ColumnCdKind] == "O") != (row[ColumnMcKind] == "O"),
              "an album not on exactly one medium");
    }
    return 0;
}
