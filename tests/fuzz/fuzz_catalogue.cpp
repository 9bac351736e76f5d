// Any bytes as a catalogue file: opening never fails badly, a catalogue that
// opens is saved and opens again to the same table, and joining it into
// itself doubles it.
#include "cataloguefile.h"
#include "copykinds.h"
#include "fuzz_support.h"

#include <cstring>

using namespace alborx;
using alborx::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::MemoryBound memory(size);
    const std::string path = fuzz::writeScratch("input.abx", data, size);
    TUstawienia settings;
    AlbumTable table;
    const OpenResult opened = otworzbaze(table, settings, path);
    if (opened.status != OpenStatus::Opened) {
        check(table.liczbaalbumow() == 0 && table.rowCount() == 2,
              "a failed open changed the table");
        return 0;
    }
    check(table.liczbaalbumow() == opened.loaded, "the album count is the number loaded");

    // An independent reading of the input: what must have been loaded, and
    // whether the input is whole.
    bool whole = size >= kCatalogueHeaderSize;
    std::int64_t expected = 0;
    if (whole) {
        std::int32_t stored = 0;
        std::memcpy(&stored, data + kCatalogueMagicSize, 4);
        const auto present =
            static_cast<std::int64_t>((size - kCatalogueHeaderSize) / kAlbumRecordSize);
        whole = stored >= 0 && stored <= present;
        expected = whole ? stored : present;
    }
    for (std::int64_t i = 0; i < expected; ++i) {
        const std::uint8_t* record =
            data + kCatalogueHeaderSize + static_cast<std::size_t>(i) * kAlbumRecordSize;
        if (record[12] > 35 || record[48] > 60 || record[109] > 30 || record[140] > 4 ||
            record[141] > 4)
            whole = false;
    }
    check(opened.loaded == expected, "the albums loaded are not the whole records of the input");
    check(opened.damaged == !whole, "the damaged flag does not say whether the input is whole");
    check(table.rowCount() == std::max(2, opened.loaded + 1), "the table's shape");
    check(size >= kCatalogueHeaderSize +
                      kAlbumRecordSize * static_cast<std::size_t>(opened.loaded) ||
              opened.loaded == 0,
          "more albums than whole records");
    for (int r = 1; r <= table.liczbaalbumow(); ++r) {
        check(table.cell(ColumnPerformer, r).size() <= 35 &&
                  table.cell(ColumnTitle, r).size() <= 60 &&
                  table.cell(ColumnGenre, r).size() <= 30,
              "a text longer than its field");
        for (int c : {ColumnCdKind, ColumnMcKind}) {
            const std::string_view kind = table.cell(c, r);
            check(kind == "-" || kind == "O" || kind == "P" || kind == "K" || kind == "M",
                  "a copy kind that is no letter of the vocabulary");
        }
        check((table.cell(ColumnCdKind, r) == "-") == (table.cell(ColumnCdId, r) == "-"),
              "CD kind and CD ID disagree");
    }

    const std::string copy = fuzz::scratchFolder() + "/copy.abx";
    check(zapiszbaze(table, settings, copy) == WriteError::None,
          "saving a loaded catalogue failed");
    AlbumTable again;
    const OpenResult reopened = otworzbaze(again, settings, copy);
    check(reopened.status == OpenStatus::Opened && !reopened.damaged,
          "the saved copy does not open");
    check(again.liczbaalbumow() == table.liczbaalbumow(), "the saved copy has another count");
    for (int r = 1; r <= table.liczbaalbumow(); ++r)
        check(again.row(r) == table.row(r), "a saved and reopened album differs");

    const JoinResult joined = dolaczbaze(again, settings, copy);
    redoChange(again, settings, joined.change);
    check(joined.joined && again.liczbaalbumow() == 2 * table.liczbaalbumow(),
          "joining a catalogue into itself does not double it");
    return 0;
}
