#include "genrelist.h"

#include "safefile.h"
#include "textfunctions.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <unordered_set>

namespace alborx {

namespace {

// Polish alphabetical order of Windows-1250 bytes, as a collator orders it:
// first by letters (a, ą, b, c, ć, ... with case and foreign accents
// ignored), then by accents, then by case, then by the bytes themselves.
struct Collation
{
    std::array<std::uint16_t, 256> primary{};
    std::array<std::uint8_t, 256> accent{};
    std::array<std::uint8_t, 256> capital{};
};

struct Letter
{
    std::uint8_t upper;
    std::uint8_t lower;
    char base;
    int after; // for Polish letters: the place behind the base letter
};

// Letters of the Polish alphabet beyond a-z.
constexpr Letter kPolish[] = {
    {0xA5, 0xB9, 'a', 1}, {0xC6, 0xE6, 'c', 1}, {0xCA, 0xEA, 'e', 1},
    {0xA3, 0xB3, 'l', 1}, {0xD1, 0xF1, 'n', 1}, {0xD3, 0xF3, 'o', 1},
    {0x8C, 0x9C, 's', 1}, {0x8F, 0x9F, 'z', 1}, {0xAF, 0xBF, 'z', 2},
};

// Letters of other languages: they sort with their base letter and differ
// from it by their accent only.
constexpr Letter kForeign[] = {
    {0x8A, 0x9A, 's', 0}, {0x8D, 0x9D, 't', 0}, {0x8E, 0x9E, 'z', 0}, {0xBC, 0xBE, 'l', 0},
    {0xAA, 0xBA, 's', 0}, {0xC0, 0xE0, 'r', 0}, {0xC1, 0xE1, 'a', 0}, {0xC2, 0xE2, 'a', 0},
    {0xC3, 0xE3, 'a', 0}, {0xC4, 0xE4, 'a', 0}, {0xC5, 0xE5, 'l', 0}, {0xC7, 0xE7, 'c', 0},
    {0xC8, 0xE8, 'c', 0}, {0xC9, 0xE9, 'e', 0}, {0xCB, 0xEB, 'e', 0}, {0xCC, 0xEC, 'e', 0},
    {0xCD, 0xED, 'i', 0}, {0xCE, 0xEE, 'i', 0}, {0xCF, 0xEF, 'd', 0}, {0xD0, 0xF0, 'd', 0},
    {0xD2, 0xF2, 'n', 0}, {0xD4, 0xF4, 'o', 0}, {0xD5, 0xF5, 'o', 0}, {0xD6, 0xF6, 'o', 0},
    {0xD8, 0xF8, 'r', 0}, {0xD9, 0xF9, 'u', 0}, {0xDA, 0xFA, 'u', 0}, {0xDB, 0xFB, 'u', 0},
    {0xDC, 0xFC, 'u', 0}, {0xDD, 0xFD, 'y', 0}, {0xDE, 0xFE, 't', 0}, {0xDF, 0xDF, 's', 0},
};

std::uint16_t letterWeight(char base, int after)
{
    return static_cast<std::uint16_t>(1000 + 10 * (base - 'a') + after);
}

Collation makeCollation()
{
    Collation c;
    // Bytes that are not letters keep their order, in front of the letters.
    for (int b = 0; b < 256; ++b)
        c.primary[static_cast<std::size_t>(b)] = static_cast<std::uint16_t>(b);
    for (char l = 'a'; l <= 'z'; ++l) {
        const auto upper = static_cast<unsigned char>(l - 'a' + 'A');
        c.primary[static_cast<unsigned char>(l)] = c.primary[upper] = letterWeight(l, 0);
        c.capital[upper] = 1;
    }
    for (const Letter& l : kPolish) {
        c.primary[l.upper] = c.primary[l.lower] = letterWeight(l.base, l.after);
        c.capital[l.upper] = 1;
    }
    std::uint8_t accent = 0;
    for (const Letter& l : kForeign) {
        ++accent;
        c.primary[l.upper] = c.primary[l.lower] = letterWeight(l.base, 0);
        c.accent[l.upper] = c.accent[l.lower] = accent;
        if (l.upper != l.lower)
            c.capital[l.upper] = 1;
    }
    return c;
}

const Collation& collation()
{
    static const Collation table = makeCollation();
    return table;
}

// Compares two texts by one level of weights: -1, 0 or 1.
template <typename Weights>
int compareLevel(std::string_view a, std::string_view b, const Weights& weights)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto wa = weights[static_cast<unsigned char>(a[i])];
        const auto wb = weights[static_cast<unsigned char>(b[i])];
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

bool genreLess(std::string_view a, std::string_view b)
{
    const Collation& c = collation();
    for (int level : {compareLevel(a, b, c.primary), compareLevel(a, b, c.accent),
                      compareLevel(a, b, c.capital)}) {
        if (level != 0)
            return level < 0;
    }
    return a < b;
}

void GenreList::countKey(const std::string& name)
{
    ++keys_[duzelitery(name)];
}

void GenreList::insertSorted(std::string name)
{
    countKey(name);
    const auto place = std::upper_bound(
        items_.begin(), items_.end(), name,
        [](const std::string& x, const std::string& y) { return genreLess(x, y); });
    items_.insert(place, std::move(name));
}

void GenreList::assign(std::vector<std::string> names)
{
    items_ = std::move(names);
    keys_.clear();
    for (const std::string& item : items_)
        countKey(item);
    std::stable_sort(items_.begin(), items_.end(),
                     [](const std::string& x, const std::string& y) { return genreLess(x, y); });
}

bool GenreList::dodajgatunek(std::string_view name)
{
    std::string trimmed = obetnijspacje(name);
    if (trimmed.empty())
        return false;
    if (keys_.count(duzelitery(trimmed)) > 0)
        return false;
    insertSorted(std::move(trimmed));
    return true;
}

std::vector<std::string> GenreList::dodajgatunki(const std::vector<std::string>& names)
{
    std::vector<std::string> added;
    for (const std::string& name : names) {
        std::string trimmed = obetnijspacje(name);
        if (trimmed.empty() || !keys_.emplace(duzelitery(trimmed), 1).second)
            continue;
        added.push_back(std::move(trimmed));
    }
    const auto less = [](const std::string& x, const std::string& y) { return genreLess(x, y); };
    std::stable_sort(added.begin(), added.end(), less);
    const auto middle = static_cast<std::ptrdiff_t>(items_.size());
    items_.insert(items_.end(), added.begin(), added.end());
    // Entries already there stay in front of equal new ones, as insertSorted
    // would place them.
    std::inplace_merge(items_.begin(), items_.begin() + middle, items_.end(), less);
    return added;
}

bool GenreList::contains(std::string_view name) const
{
    return std::find(items_.begin(), items_.end(), name) != items_.end();
}

bool GenreList::remove(std::string_view name)
{
    const auto found = std::find(items_.begin(), items_.end(), name);
    if (found == items_.end())
        return false;
    uncountKey(*found);
    items_.erase(found);
    return true;
}

void GenreList::uncountKey(const std::string& name)
{
    const auto key = keys_.find(duzelitery(name));
    if (key != keys_.end() && --key->second <= 0)
        keys_.erase(key);
}

void undoGenreChange(GenreList& list, const GenreListChange& change, const AlbumTable& table)
{
    if (!change.renamedTo.empty() && list.remove(change.renamedTo))
        list.insertSorted(change.renamedFrom);
    if (change.added.empty())
        return;
    // The genres still in use, by the key the list compares names with.
    std::unordered_set<std::string> used;
    for (int r = 1; r <= table.liczbaalbumow() && r < table.rowCount(); ++r)
        used.insert(duzelitery(obetnijspacje(table.cell(ColumnGenre, r))));
    for (const std::string& genre : change.added) {
        if (used.count(duzelitery(genre)) == 0)
            list.remove(genre);
    }
}

void redoGenreChange(GenreList& list, const GenreListChange& change)
{
    if (!change.renamedFrom.empty() && list.remove(change.renamedFrom))
        list.insertSorted(change.renamedTo);
    for (const std::string& genre : change.added)
        list.dodajgatunek(genre);
}

std::vector<std::string> readGenreFile(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> genres;
    if (!readWholeFile(path, bytes, kGenreFileMostBytes + 1))
        return genres;
    // A file cut at the bound ends with its last whole line.
    if (bytes.size() > kGenreFileMostBytes) {
        bytes.resize(kGenreFileMostBytes);
        const auto lastEnd = std::find_if(bytes.rbegin(), bytes.rend(),
                                          [](std::uint8_t b) { return b == '\n' || b == '\r'; });
        bytes.erase(lastEnd.base(), bytes.end());
    }
    std::size_t start = 0;
    while (start < bytes.size() && genres.size() < kGenreMostLines) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        std::string line(reinterpret_cast<const char*>(bytes.data() + start),
                         std::min(end - start, kGenreLineMostBytes));
        if (!obetnijspacje(line).empty())
            genres.push_back(std::move(line));
        // CR LF, a lone LF and a lone CR each end one line.
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() &&
            bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return genres;
}

bool writeGenreFile(const std::string& path, const std::vector<std::string>& genres)
{
    std::vector<std::uint8_t> bytes;
    for (const std::string& genre : genres) {
        bytes.insert(bytes.end(), genre.begin(), genre.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return writeFileSafely(path, bytes) == WriteError::None;
}

} // namespace alborx
