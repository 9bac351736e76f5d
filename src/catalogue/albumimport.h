// Albums coming in from the files of other programs (CSV, Tellico): the
// rules every import shares, from the media an album is on to the IDs it
// gets, and what an import reports.
#pragma once

#include "albumtable.h"
#include "freeid.h"
#include "settings.h"
#include "tablechange.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace alborx {

enum class SkipReason
{
    UnclosedQuote,
    NoPerformerOrTitle,
    NoFreeId,
    TooManyAlbums,
    OtherMedium
};
constexpr std::size_t kSkipReasonCount = 5;

// Skipped lines kept by name; the closing message names this many, the
// others are only counted.
constexpr std::size_t kSkippedKept = 10;

// A line of a CSV file, or an entry of a collection, that gave no album.
struct SkippedLine
{
    int line = 0;
    SkipReason reason = SkipReason::UnclosedQuote;
    // With OtherMedium: the medium as the file names it (Windows-1250).
    std::string medium;
};

struct ImportResult
{
    int added = 0;
    int replaced = 0; // characters Windows-1250 could not hold
    // The first lines skipped (kSkippedKept at most), and how many were
    // skipped for each reason.
    std::vector<SkippedLine> skipped;
    std::array<int, kSkipReasonCount> skippedFor{};
    int skippedCount() const;
    // The albums after the albums of the table, with the ID counters moved.
    TableChange change;
    // Stopped before the end: nothing is to be added.
    bool cancelled = false;
    // Covers not taken because they were larger than a card's cover or all
    // of them together larger than an import takes.
    int coversLeftOut = 0;
};

// The kinds of medium another program may name.
enum class Medium
{
    Unnamed, // no medium given
    Cd,
    Cassette,
    CdAndCassette,
    Other // vinyl, DVD, a file, ...: none this catalogue holds
};

// The medium a text names (Windows-1250): "CD", "Compact Disc", "CDr",
// "Płyta CD" are discs and "Cassette", "Cass", "Kaseta", "MC" cassettes, in
// any case, a count before them left aside ("2xCD"). A list names every
// disc or cassette among its items ("CD, MC", "CD+MC", "CD/MC", "Płyta i
// kaseta" are both); with neither, its first item tells a medium this
// catalogue does not hold ("Vinyl, LP") from none ("", ", Album").
Medium mediumOfText(std::string_view text);

// Upper case for comparing names: every letter of the code page, spaces around
// the text left out.
std::string foldedName(std::string_view text);

// An album as another program's file gives it, in catalogue text.
struct IncomingAlbum
{
    std::string id;
    std::string performer;
    std::string title;
    std::string genre;
    // Copy-kind codes 1..4, 0 for a medium not owned.
    int cdKind = 0;
    int mcKind = 0;
    std::string cdId;
    std::string mcId;
    // The medium as the file names it, if it does (see mediumOfText).
    std::string medium;
    // The album ID is another program's own number for the album (Tellico's
    // entry ID): it is kept only where no album has it yet.
    bool idOnlyIfFree = false;
    // What the file holds of the album's card, if anything.
    CardRef card;
};

// Takes albums in for appending to a table, and notes the lines (or
// entries) that give none. A named medium puts the album on that medium
// alone, as an original unless its kind is given; a medium other than a CD
// or a cassette skips it. Texts are cut to their column's limit, then their
// trailing spaces removed; IDs are taken as given when they are numbers of at
// least 1, otherwise the next free ones of their kind, as the editor hands
// them out, once every album is in: an ID some later album gives is not
// free. An album on no medium is an original CD.
class AlbumIntake
{
public:
    AlbumIntake(const AlbumTable& table, const TUstawienia& settings);

    // Makes room for about this many albums (never more than a catalogue
    // holds), so that the albums taken in are not moved again and again.
    void expect(std::size_t albums);

    // Takes in the album of a line, or notes why it is skipped. False once
    // the catalogue can hold no more albums.
    bool add(int line, IncomingAlbum album);
    void skip(int line, SkipReason reason, std::string medium = {});
    // The count of characters Windows-1250 could not hold, for the texts
    // to add to.
    int& replaced() { return result_.replaced; }
    // The albums taken as one change of the table, and the lines skipped.
    ImportResult finish() &&;

private:
    // An album still waiting for free IDs of some kinds (album, CD, MC).
    struct WaitingIds
    {
        int line = 0;
        std::size_t row = 0;
        std::array<bool, 3> kinds{};
    };
    // Gives the waiting albums their IDs, in the order of the file; an album
    // for which a kind has none left is skipped.
    void handOutFreeIds();

    const AlbumTable& table_;
    IdCounters before_;
    IdCounters counters_;
    std::array<FreeIdFinder, 3> finders_;
    std::vector<KeyedRow> rows_;
    // The card of each row, where it has one.
    std::vector<CardRef> cards_;
    std::vector<WaitingIds> waiting_;
    ImportResult result_;
};

} // namespace alborx
