#include "albumimport.h"

#include "cataloguefile.h"
#include "copykinds.h"
#include "textfunctions.h"

#include <algorithm>
#include <numeric>
#include <tuple>

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
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return upperLetters(text.substr(first, last - first + 1));
}

namespace {

// The medium one item of a list names (folded); an empty item names none.
Medium mediumOfItem(std::string_view item)
{
    std::string name = foldedName(item);
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

// The items of a folded list of media: "CD, MC", "CD+MC", "CD/MC", "CD & MC",
// "PŁYTA I KASETA" all name two.
std::vector<std::string> mediaItems(std::string_view folded)
{
    std::vector<std::string> items(1);
    for (std::size_t at = 0; at < folded.size();) {
        const char c = folded[at];
        std::size_t joined = 0;
        for (const std::string_view joiner : {" I ", " AND ", " ORAZ "}) {
            if (folded.substr(at, joiner.size()) == joiner)
                joined = joiner.size();
        }
        if (joined == 0 && (c == ',' || c == '+' || c == '/' || c == '&'))
            joined = 1;
        if (joined > 0) {
            items.emplace_back();
            at += joined;
        } else {
            items.back() += c;
            ++at;
        }
    }
    return items;
}

} // namespace

Medium mediumOfText(std::string_view text)
{
    const std::vector<std::string> items = mediaItems(foldedName(text));
    bool disc = false;
    bool cassette = false;
    for (const std::string& item : items) {
        const Medium medium = mediumOfItem(item);
        disc = disc || medium == Medium::Cd;
        cassette = cassette || medium == Medium::Cassette;
    }
    if (disc && cassette)
        return Medium::CdAndCassette;
    if (disc)
        return Medium::Cd;
    if (cassette)
        return Medium::Cassette;
    // Nothing this catalogue holds: the first item says whether a medium
    // was named at all ("2xCD, Album, RE" is read by its first item).
    return mediumOfItem(items.front());
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
    case Medium::CdAndCassette:
        album.cdKind = album.cdKind == 0 ? 1 : album.cdKind;
        album.mcKind = album.mcKind == 0 ? 1 : album.mcKind;
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

    // The IDs by the editor's rule: a number of at least 1 as given; the
    // others wait for the end of the file, so that a free ID is one that no
    // line of the file names either.
    const std::array<bool, 3> owned = {true, album.cdKind != 0, album.mcKind != 0};
    const std::array<const std::string*, 3> given = {&album.id, &album.cdId, &album.mcId};
    WaitingIds waiting{line, rows_.size(), {}};
    for (std::size_t k = 0; k < 3; ++k) {
        if (!owned[k])
            continue;
        const auto number = readId(*given[k]);
        if (number && *number >= 1 &&
            (k > 0 || !album.idOnlyIfFree || finders_[k].isFree(*number))) {
            finders_[k].take(*number);
            row[static_cast<std::size_t>(idColumn(static_cast<IdKind>(k)))] = l2t(*number, 5);
        } else {
            waiting.kinds[k] = true;
        }
    }
    // A medium not owned is "-" in its kind and its ID.
    for (const auto& [kind, kindColumn, idCellColumn] :
         {std::tuple(album.cdKind, ColumnCdKind, ColumnCdId),
          std::tuple(album.mcKind, ColumnMcKind, ColumnMcId)}) {
        row[kindColumn].assign(kind != 0 ? copyKindLetter(kind) : std::string_view("-"));
        if (kind == 0)
            row[idCellColumn].assign(1, '-');
    }
    if (waiting.kinds != std::array<bool, 3>{})
        waiting_.push_back(waiting);
    rows_.push_back({0, std::move(row)});
    cards_.push_back(std::move(album.card));
    return true;
}

void AlbumIntake::handOutFreeIds()
{
    std::array<std::int32_t*, 3> counter = {&counters_.nastid, &counters_.nastidcd,
                                            &counters_.nastidmc};
    std::vector<bool> dropped;
    for (const WaitingIds& waiting : waiting_) {
        Row& row = rows_[waiting.row].row;
        std::array<std::int32_t, 3> counterAfter = {*counter[0], *counter[1], *counter[2]};
        std::array<std::int32_t, 3> ids{};
        bool free = true;
        for (std::size_t k = 0; k < 3 && free; ++k) {
            if (!waiting.kinds[k])
                continue;
            const auto number = finders_[k].next(counterAfter[k]);
            free = number.has_value();
            ids[k] = number.value_or(0);
        }
        if (!free) {
            skip(waiting.line, SkipReason::NoFreeId);
            dropped.resize(rows_.size());
            dropped[waiting.row] = true;
            continue;
        }
        for (std::size_t k = 0; k < 3; ++k) {
            if (!waiting.kinds[k])
                continue;
            finders_[k].take(ids[k]);
            *counter[k] = counterAfter[k];
            row[static_cast<std::size_t>(idColumn(static_cast<IdKind>(k)))] = l2t(ids[k], 5);
        }
    }
    waiting_.clear();
    if (dropped.empty())
        return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (!dropped[i]) {
            cards_[kept] = std::move(cards_[i]);
            rows_[kept++] = std::move(rows_[i]);
        }
    }
    rows_.resize(kept);
    cards_.resize(kept);
    // Lines skipped here are named among the others in the order of the file.
    std::stable_sort(result_.skipped.begin(), result_.skipped.end(),
                     [](const SkippedLine& a, const SkippedLine& b) { return a.line < b.line; });
}

void AlbumIntake::skip(int line, SkipReason reason, std::string medium)
{
    ++result_.skippedFor[static_cast<std::size_t>(reason)];
    if (result_.skipped.size() < kSkippedKept)
        result_.skipped.push_back({line, reason, std::move(medium)});
}

ImportResult AlbumIntake::finish() &&
{
    handOutFreeIds();
    result_.added = static_cast<int>(rows_.size());
    if (!rows_.empty())
        result_.change = albumsAppended(table_, std::move(rows_), before_, counters_);
    for (std::size_t i = 0; i < cards_.size(); ++i) {
        if (cards_[i])
            result_.change.cards.push_back({result_.change.inserted[i].key, nullptr, cards_[i]});
    }
    return std::move(result_);
}

} // namespace alborx
