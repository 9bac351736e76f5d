// The list of music genres: kept sorted alphabetically with letter case
// ignored, stored one genre per line in "alborx-gatunki.cfg".
#pragma once

#include "albumtable.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace alborx {

inline constexpr char kGenreFileName[] = "alborx-gatunki.cfg";

// Bounds of the genre file, far above any real genre list, so that a file
// that never ends (a link to a device) or a huge one cannot exhaust memory:
// bytes of a line past the first kGenreLineMostBytes are ignored, and so is
// everything past the first kGenreFileMostBytes bytes or kGenreMostLines
// genres.
constexpr std::size_t kGenreLineMostBytes = 1024;
constexpr std::size_t kGenreFileMostBytes = 8 * 1024 * 1024;
constexpr std::size_t kGenreMostLines = 200'000;

// Alphabetical order of Windows-1250 texts with letter case ignored: Polish
// letters sort right behind their base letter (a, ą, b, c, ć, ...). Texts
// that differ only in case compare by their bytes, so the order is total.
bool genreLess(std::string_view a, std::string_view b);

class GenreList
{
public:
    const std::vector<std::string>& items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }

    // Adds a name at its sorted place, as it is; duplicates are allowed.
    void insertSorted(std::string name);
    // Replaces the whole list and sorts it.
    void assign(std::vector<std::string> names);

    // Offers a name: trailing spaces are removed; an empty name, or one equal
    // to an entry once a-z are upper-cased on both sides, is not added.
    // Returns whether it was added.
    bool dodajgatunek(std::string_view name);
    // Offers many names as dodajgatunek would one by one, in O(n log n): the
    // new names are sorted once and merged in. Returns the entries added.
    std::vector<std::string> dodajgatunki(const std::vector<std::string>& names);

    bool contains(std::string_view name) const;
    // Takes out one entry of exactly this text; false when there is none.
    bool remove(std::string_view name);

private:
    void countKey(const std::string& name);
    void uncountKey(const std::string& name);

    std::vector<std::string> items_;
    // How many entries share each upper-cased name, so that offering a name
    // does not compare it with every entry.
    std::unordered_map<std::string, int> keys_;
};

// What a step of the history did to the genre list, so that taking the step
// back takes its genres back too: the entries it added (the genres of
// imported or joined albums), or the entry it renamed (a genre renamed in the
// albums too).
struct GenreListChange
{
    std::vector<std::string> added;
    std::string renamedFrom;
    std::string renamedTo;
};

// Takes a step's genres back once its albums are out of the table: an added
// entry goes unless it has been changed since (it is no longer there) or an
// album of the table still has that genre; a renamed entry gets its old name
// back if it still has the new one.
void undoGenreChange(GenreList& list, const GenreListChange& change, const AlbumTable& table);
// Puts them back when the step is done again.
void redoGenreChange(GenreList& list, const GenreListChange& change);

// Reads the genre file: every line that is not empty once its trailing spaces
// are removed, as read (trailing spaces kept). CR LF and LF both end a line.
// A missing file, or one that is not a regular file, gives no lines. The
// bounds above hold.
std::vector<std::string> readGenreFile(const std::string& path);

// Writes one genre per line, each ended by CR LF. Returns false when the file
// could not be written; a previous file is then left as it was.
bool writeGenreFile(const std::string& path, const std::vector<std::string>& genres);

} // namespace alborx
