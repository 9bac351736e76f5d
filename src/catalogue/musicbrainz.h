// The MusicBrainz web service (version 2, JSON) without the network: the
// paths of the requests the program sends, the answers read into plain
// records, and the album editor's form filled from a release. The window
// layer sends the requests and hands the answers here.
#pragma once

#include "albumcard.h"
#include "albumeditor.h"
#include "genrelist.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace alborx::musicbrainz {

// Answers larger than this are refused while they arrive.
constexpr std::size_t kMostAnswerBytes = 4 * 1024 * 1024;
// Deeper than any answer of the service nests (a release with its media and
// their formats is about six levels).
constexpr int kMostAnswerDepth = 32;
// Releases asked for by one search, and shown at once: a page.
constexpr int kSearchLimit = 100;
// Every text of an answer is cut to this many bytes while it is read: no
// shown field needs more, and a huge one would only slow the window.
constexpr std::size_t kMostFieldBytes = 1024;

// A text searched as typed: a quoted phrase, its quotes and backslashes
// escaped, so that colons, brackets and the words AND, OR, NOT are text.
std::string phrase(std::string_view utf8);

// The release search for a performer and/or a title (UTF-8, as typed);
// empty when both are blank.
std::string releaseQuery(std::string_view performer, std::string_view title);

// The digits of a barcode once spaces and dashes are left out; empty when
// nothing is left or anything else is in it.
std::optional<std::string> barcodeDigits(std::string_view typed);
std::string barcodeQuery(std::string_view digits);

// Paths (with their query strings) of the requests, below the server.
// A search of kSearchLimit releases from the offset-th on.
std::string searchPath(std::string_view query, int offset = 0);
// A disc ID lookup that also sends the table of contents ("1 6 95462 150
// ..."), so that the service offers releases of a near table when it does
// not know the ID.
std::string discIdPath(std::string_view discId, std::string_view toc);
// A release with what the editor is filled from: artists, media, genres
// of the release and of its release group.
std::string releasePath(std::string_view releaseId);

// The wait a Retry-After header asks for, in seconds from nowUnix: either
// form HTTP allows, a number of seconds (however large) or a date
// ("Sun, 06 Nov 1994 08:49:37 GMT", and the two older forms); empty when the
// value is neither. A date gone by asks for no wait.
std::optional<std::int64_t> retryAfterSeconds(std::string_view value, std::int64_t nowUnix);

// Percent-encoding of a query value (RFC 3986 unreserved bytes stay).
std::string percentEncoded(std::string_view utf8);

// One release as the results table shows it (UTF-8).
struct ReleaseSummary
{
    std::string id;
    std::string artist; // the artist credit: names with their join phrases
    std::string title;
    std::string disambiguation; // what tells alike releases apart ("quadraphonic")
    std::string date;           // "1973-03-24", "1973-12", "1973"
    std::string country;
    std::string medium; // "CD", "2×CD", "CD + DVD", "Kaseta", "Winyl", ...
    std::string label;
    std::string barcode;
    int tracks = 0;
};

// A release as "Wstaw do edytora" needs it.
struct ReleaseDetails
{
    std::string artist;
    std::string title;
    std::string genre;                // most votes on the release, else on its release group
    std::vector<std::string> formats; // of every medium, as the service names them
    // What the album's card keeps.
    std::string id;
    std::string date;
    std::string country;
    std::string label;
    std::string catalogueNumber;
    std::string barcode;
    std::vector<Track> tracks; // of every medium, at most kMostTracks
};

enum class AnswerError
{
    None,
    Malformed, // not JSON, or not the layout the service answers with
    TooDeep,
    WrongType, // a known field holds a value of another kind
    NoRelease  // a lookup answer without a release (no release ID in it)
};

struct ReleaseList
{
    AnswerError error = AnswerError::None;
    // At most kSearchLimit, whatever the answer holds.
    std::vector<ReleaseSummary> releases;
    // How many releases the service found in all (its "count"), at least
    // as many as are listed.
    int total = 0;
};

// The releases of a search or of a disc ID lookup, in the service's order;
// a release without an ID, which could not be looked up, is left out.
ReleaseList readReleaseList(std::string_view json);

struct ReleaseAnswer
{
    AnswerError error = AnswerError::None;
    ReleaseDetails release;
};
ReleaseAnswer readRelease(std::string_view json);

// What a medium format of the service is to the catalogue.
enum class FormatKind
{
    Cd,
    Cassette,
    Other
};
FormatKind kindOfFormat(std::string_view format);

// How the results table names the media of a release: counts of alike
// media next to each other ("2×CD"), Polish names for cassettes and vinyl,
// other formats as the service names them.
std::string mediumText(const std::vector<std::string>& formats);

// A UTF-8 text as catalogue text: Windows-1250, a letter the code page
// lacks as its nearest letter ("ø" as "o"), anything else as "?", control
// characters as spaces, cut to limit bytes when limit > 0, trailing spaces
// removed.
// questionMarks, when given, grows by each character that became "?".
std::string catalogueText(std::string_view utf8, int limit = 0, int* questionMarks = nullptr);

// The editor's form for a release: a new album (empty IDs, copy kinds
// "Oryginał") with the performer, title and genre, the genre written as the
// genre list writes it when an entry matches with letter case ignored, else
// with a capital first letter; CD ticked for CD formats, MC for cassettes.
// otherMedium is the release's medium when neither is ticked.
struct EditorFill
{
    EditorForm form;
    std::string otherMedium; // UTF-8
    // Characters of the performer, title and genre that became "?".
    int questionMarks = 0;
    // The new album's card, its texts as the service writes them.
    AlbumCard card;
};
EditorFill editorFill(const ReleaseDetails& release, const GenreList& genres);

} // namespace alborx::musicbrainz
