// What a printed catalogue holds: the sections the text export writes (the
// CD and MC lists or one mixed list, in its order, with the copy kinds it
// selects), each a table of albums in the list's order, split into pages.
// The painting is the window's; this decides what goes on which page.
#pragma once

#include "albumtable.h"
#include "progress.h"
#include "settings.h"
#include "summary.h"

#include <string>
#include <utility>
#include <vector>

namespace alborx {

enum class PrintedMedium
{
    Cd,
    Mc,
    Mixed
};

// How the list is laid out, chosen in the print preview.
struct PrintChoices
{
    bool compact = false; // two columns of albums a page, in smaller type
    bool covers = false;  // a cover thumbnail before each album with one
};

struct PrintedSection
{
    PrintedMedium medium = PrintedMedium::Mixed;
    std::vector<int> rows; // the albums' rows, in the list's order
};

// The sections in the text export's order, with the albums each lists.
std::vector<PrintedSection> printedSections(const AlbumTable& table, const TUstawienia& settings,
                                            Progress* progress = nullptr);

// A section's heading, UTF-8 ("" for the mixed list).
std::string printedHeading(PrintedMedium medium);

// The captions of a section's columns, UTF-8, "Lp." first.
std::vector<std::string> printedColumns(PrintedMedium medium);

// One album's cells in a section's table, as the catalogue holds them
// (Windows-1250): its number in the section, ID, performer, title, genre,
// then each listed medium's copy kind (the word, or the letter when short)
// and its ID. A medium whose kind is not selected shows "-" and no ID.
std::vector<std::string> printedCells(const RowView& row, int number, PrintedMedium medium,
                                      const TUstawienia& settings, bool shortKinds);

struct PrintedPage
{
    int section = -1;     // -1: the summary
    int first = 0;        // index of its first album in the section's rows
    int count = 0;        // albums on the page
    bool heading = false; // the section's first page, with its heading
};

// The pages: each section from a new page, its first page holding
// firstPageAlbums albums and the others pageAlbums, then the summary on a
// page of its own when it is printed. A section without albums still has
// its page, with its heading and the table's header.
std::vector<PrintedPage> paginate(const std::vector<PrintedSection>& sections, int firstPageAlbums,
                                  int pageAlbums, bool summary);

// The figures of the summary as the "Podsumowanie" tab shows them: the
// caption and its value, UTF-8, for a catalogue of entries rows.
std::vector<std::pair<std::string, std::string>> summaryFigures(const TPodsumowanie& sums,
                                                                int entries);

} // namespace alborx
