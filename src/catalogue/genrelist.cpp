#include "genrelist.h"

#include "safefile.h"
#include "textfunctions.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace alborx {

namespace {

// Sorting weight of every Windows-1250 byte: letters of both cases share a
// weight, Polish letters come right behind their base letter, other bytes
// keep their order in front of or behind the letters.
std::array<std::uint16_t, 256> makeWeights()
{
    std::array<std::uint16_t, 256> weights{};
    for (int b = 0; b < 256; ++b)
        weights[static_cast<std::size_t>(b)] = static_cast<std::uint16_t>(b < 'A' ? b : 1000 + b);

    // Each entry: a base letter followed by the Windows-1250 upper and lower
    // case bytes of the letters that sort right behind it.
    struct Letter
    {
        char base;
        std::uint8_t upper;
        std::uint8_t lower;
    };
    static constexpr Letter kPolish[] = {
        {'a', 0xA5, 0xB9}, // Ą ą
        {'c', 0xC6, 0xE6}, // Ć ć
        {'e', 0xCA, 0xEA}, // Ę ę
        {'l', 0xA3, 0xB3}, // Ł ł
        {'n', 0xD1, 0xF1}, // Ń ń
        {'o', 0xD3, 0xF3}, // Ó ó
        {'s', 0x8C, 0x9C}, // Ś ś
        {'z', 0x8F, 0x9F}, // Ź ź
        {'z', 0xAF, 0xBF}, // Ż ż
    };
    // Base letters get weights 100, 110, ...; a Polish letter its base + 1
    // (ż, after ź, + 2).
    for (int letter = 0; letter < 26; ++letter) {
        const auto weight = static_cast<std::uint16_t>(100 + 10 * letter);
        weights[static_cast<std::size_t>('A' + letter)] = weight;
        weights[static_cast<std::size_t>('a' + letter)] = weight;
    }
    int zCount = 0;
    for (const Letter& letter : kPolish) {
        const int extra = letter.base == 'z' ? ++zCount : 1;
        const auto weight = static_cast<std::uint16_t>(100 + 10 * (letter.base - 'a') + extra);
        weights[letter.upper] = weight;
        weights[letter.lower] = weight;
    }
    return weights;
}

const std::array<std::uint16_t, 256>& weights()
{
    static const std::array<std::uint16_t, 256> table = makeWeights();
    return table;
}

} // namespace

bool genreLess(std::string_view a, std::string_view b)
{
    const auto& w = weights();
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto wa = w[static_cast<unsigned char>(a[i])];
        const auto wb = w[static_cast<unsigned char>(b[i])];
        if (wa != wb)
            return wa < wb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
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

std::vector<std::string> readGenreFile(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> genres;
    if (!readWholeFile(path, bytes))
        return genres;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        std::string line(reinterpret_cast<const char*>(bytes.data() + start), end - start);
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
    return writeFileSafely(path, bytes);
}

} // namespace alborx
