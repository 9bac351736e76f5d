// Any bytes as a CSV file: the import ends, every record is either an album
// or a skipped line, the albums hold what a catalogue may hold, and the
// albums exported and imported again are the same albums.
#include "csvexchange.h"
#include "fuzz_support.h"
#include "textfunctions.h"

using namespace alborx;
using alborx::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::MemoryBound memory(size);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CsvImportOptions options = detectImportOptions(bytes);
    const std::size_t records = parseCsv(withoutByteOrderMark(bytes), options.separator).size();
    AlbumTable table;
    TUstawienia counters;
    const ImportResult result = importCsv(table, counters, bytes, options);
    redoChange(table, counters, result.change);
    check(result.added == table.liczbaalbumow(), "the album count is the number added");
    check(static_cast<std::size_t>(result.added) + static_cast<std::size_t>(result.skippedCount()) +
                  (options.header && records > 0 ? 1 : 0) ==
              records,
          "a record is neither an album nor a skipped line");
    for (int r = 1; r <= table.liczbaalbumow(); ++r) {
        for (int c = 1; c <= 3; ++c)
            check(table.cell(c, r).size() <= static_cast<std::size_t>(columnLimit(c)) &&
                      table.cell(c, r).find_first_of("\r\n") == std::string::npos,
                  "a text longer than its column or over more than one line");
        check(!obetnijspacje(table.cell(ColumnPerformer, r)).empty() ||
                  !obetnijspacje(table.cell(ColumnTitle, r)).empty(),
              "an album with neither performer nor title");
        for (int c : {ColumnCdKind, ColumnMcKind}) {
            const std::string_view kind = table.cell(c, r);
            check(kind == "-" || kind == "O" || kind == "P" || kind == "K" || kind == "M",
                  "a copy kind that is no letter of the vocabulary");
        }
        check(table.cell(ColumnCdKind, r) != "-" || table.cell(ColumnMcKind, r) != "-",
              "an album on no medium");
    }

    std::string again;
    writeCsv(table, [&](std::string_view piece) { again += piece; });
    AlbumTable back;
    TUstawienia moreCounters;
    const ImportResult reread = importCsv(back, moreCounters, again, detectImportOptions(again));
    redoChange(back, moreCounters, reread.change);
    check(reread.skippedCount() == 0 && back.liczbaalbumow() == table.liczbaalbumow(),
          "the exported albums do not all come back");
    for (int r = 1; r <= table.liczbaalbumow(); ++r)
        check(back.row(r) == table.row(r), "an exported and imported album differs");
    return 0;
}
