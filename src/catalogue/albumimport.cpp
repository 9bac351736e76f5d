#include "albumimport.h"

#include "cataloguefile.h"
#include "copykinds.h"
#include "textfunctions.h"

#include <algorithm>
#include <numeric>

namespace alborx {

namespace {

// The text as its column holds it: cut to the column's limit, without the
// spaces a cut may leave at its end, as the genre list keeps names.
std::string cut(std::string text, int column)
{
    const auto limit = static_cast<std::size_t>(columnLimit(column));
    if (limit > 0 && text.size() > limit)
        text.resize(limit);
    return obetnijspacje(text);
}

// Names as foldedName gives them, in Windows-1250.
constexpr std::string_view kDiscNames[] = {"CD",
                                           "CDR",
                                           "CD-R",
                                           "CDRW",
                                           "CD-RW",
                                           "HDCD",
                                           "SACD",
                                           "CD-TEXT",
                                           "COMPACT DISC",
                                           "COMPACT DISK",
                                           "P\xA3YTA CD",
                                           "PLYTA CD",
                                           "P\xA3YTA",
                                           "PLYTA",
                                           "P\xA3YTA KOMPAKTOWA",
                                           "PLYTA KOMPAKTOWA"};
constexpr std::string_view kCassetteNames[] = {"MC",
                                               "CASSETTE",
                                               "CASS",
                                               "AUDIO CASSETTE",
                                               "COMPACT CASSETTE",
                                               "KASETA",
                                               "KASETA MC",
                                               "KASETA MAGNETOFONOWA",
                                               "TAPE"};

} // namespace

int ImportResult::skippedCount() const
{
    return std::accumulate(skippedFor.begin(), skippedFor.end(), 0);
}

std::string foldedName(std::string_view text)
{
    static constexpr std::pair<unsigned char, unsigned char> kPolish[] = {
        {0xB9, 0xA5}, {0xE6, 0xC6}, {0xEA, 0xCA}, {0xB3, 0xA3}, {0xF1, 0xD1},
        {0xF3, 0xD3}, {0x9C, 0x8C}, {0x9F, 0x8F}, {0xBF, 0xAF}};
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    std::string result = duzelitery(text.substr(first, last - first + 1));
    for (char& c : result) {
        for (const auto& [lower, upper] : kPolish) {
            if (static_cast<unsigned char>(c) == lower)
                c = static_cast<char>(upper);
        }
    }
    return result;
}

Medium mediumOfText(std::string_view text)
{
    std::string name = foldedName(text.substr(0, text.find(',')));
    if (name.empty())
        return Medium::Unnamed;
    // "2xCD", "3 x Cass": the count of media is no part of the name.
    const auto digits = name.find_first_not_of("0123456789");
    if (digits > 0 && digits != std::string::npos) {
        const auto times = name.find_first_not_of(' ', digits);
        if (times != std::string::npos && name[times] == 'X')
            name = foldedName(std::string_view(name).substr(times + 1));
    }
    const auto named = [&](const auto& names) {
        return std::find(std::begin(names), std::end(names), name) != std::end(names);
    };
    if (named(kDiscNames))
        return Medium::Cd;
    if (named(kCassetteNames))
        return Medium::Cassette;
    return Medium::Other;
}

AlbumIntake::AlbumIntake(const AlbumTable& table, const TUstawienia& settings)
    : table_(table), before_(countersOf(settings)),
      counters_(before_), finders_{FreeIdFinder(table, IdKindAlbum), FreeIdFinder(table, IdKindCd),
                                   FreeIdFinder(table, IdKindMc)}
{}

void AlbumIntake::expect(std::size_t albums)
{
    rows_.reserve(std::min(albums, static_cast<std::size_t>(kMostAlbums)));
}

bool AlbumIntake::add(int line, IncomingAlbum album)
{
    switch (mediumOfText(album.medium)) {
    case Medium::Unnamed:
        break;
    case Medium::Cd:
        album.cdKind = album.cdKind == 0 ? 1 : album.cdKind;
        album.mcKind = 0;
        break;
    case Medium::Cassette:
        album.mcKind = album.mcKind == 0 ? 1 : album.mcKind;
        album.cdKind = 0;
        break;
    case Medium::Other:
        skip(line, SkipReason::OtherMedium, std::move(album.medium));
        return true;
    }
    if (std::max(0, table_.liczbaalbumow()) + static_cast<int>(rows_.size()) >= kMostAlbums) {
        skip(line, SkipReason::TooManyAlbums);
        return false;
    }
    Row row;
    row[ColumnPerformer] = cut(std::move(album.performer), ColumnPerformer);
    row[ColumnTitle] = cut(std::move(album.title), ColumnTitle);
    if (row[ColumnPerformer].empty() && row[ColumnTitle].empty()) {
        skip(line, SkipReason::NoPerformerOrTitle);
        return true;
    }
    row[ColumnGenre] = cut(std::move(album.genre), ColumnGenre);
    if (album.cdKind == 0 && album.mcKind == 0)
        album.cdKind = 1;

    // The IDs by the editor's rule: a number of at least 1 as given,
    // otherwise the next free one of its kind.
    const std::array<bool, 3> owned = {true, album.cdKind != 0, album.mcKind != 0};
    const std::array<const std::string*, 3> given = {&album.id, &album.cdId, &album.mcId};
    std::array<std::int32_t*, 3> counter = {&counters_.nastid, &counters_.nastidcd,
                                            &counters_.nastidmc};
    std::array<std::int32_t, 3> ids{};
    std::array<std::int32_t, 3> counterAfter = {counters_.nastid, counters_.nastidcd,
                                                counters_.nastidmc};
    for (std::size_t k = 0; k < 3; ++k) {
        if (!owned[k])
            continue;
        const auto number = readId(*given[k]);
        if (number && *number >= 1 &&
            (k > 0 || !album.idOnlyIfFree || finders_[k].isFree(*number))) {
            ids[k] = *number;
        } else if (const auto free = finders_[k].next(counterAfter[k])) {
            ids[k] = *free;
        } else {
            skip(line, SkipReason::NoFreeId);
            return true;
        }
    }
    for (std::size_t k = 0; k < 3; ++k) {
        if (!owned[k])
            continue;
        finders_[k].take(ids[k]);
        *counter[k] = counterAfter[k];
    }
    row[ColumnId] = l2t(ids[0], 5);
    row[ColumnCdKind] = album.cdKind != 0 ? std::string(copyKindLetter(album.cdKind)) : "-";
    row[ColumnCdId] = album.cdKind != 0 ? l2t(ids[1], 5) : "-";
    row[ColumnMcKind] = album.mcKind != 0 ? std::string(copyKindLetter(album.mcKind)) : "-";
    row[ColumnMcId] = album.mcKind != 0 ? l2t(ids[2], 5) : "-";
    rows_.push_back({0, std::move(row)});
    return true;
}

void AlbumIntake::skip(int line, SkipReason reason, std::string medium)
{
    ++result_.skippedFor[static_cast<std::size_t>(reason)];
    if (result_.skipped.size() < kSkippedKept)
        result_.skipped.push_back({line, reason, std::move(medium)});
}

ImportResult AlbumIntake::finish() &&
{
    result_.added = static_cast<int>(rows_.size());
    if (!rows_.empty())
        result_.change = albumsAppended(table_, std::move(rows_), before_, counters_);
    return std::move(result_);
}

} // namespace alborx
