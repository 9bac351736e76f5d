#include "search.h"

#include "textfunctions.h"

namespace alborx {

namespace {

bool kindAccepted(std::string_view kind, const MediumFilter& f)
{
    return (kind == "O" && f.oryginaly) || (kind == "P" && f.piraty) || (kind == "K" && f.kopie) ||
           (kind == "M" && f.zmp3);
}

std::string upperPhrase(std::string_view text)
{
    return upperLetters(text.substr(0, std::min(text.size(), kPhraseLimit)));
}

int albumCount(const AlbumTable& table)
{
    return std::max(0, std::min<int>(table.liczbaalbumow(), table.rowCount() - 1));
}

} // namespace

bool pasujenosnik(const RowView& row, const MediumFilter& filter)
{
    return (filter.cd && kindAccepted(row[ColumnCdKind], filter)) ||
           (filter.mc && kindAccepted(row[ColumnMcKind], filter));
}

std::size_t findFolded(std::string_view text, std::string_view upperNeedle)
{
    if (upperNeedle.size() > text.size())
        return std::string_view::npos;
    const std::size_t last = text.size() - upperNeedle.size();
    for (std::size_t at = 0; at <= last; ++at) {
        std::size_t i = 0;
        while (i < upperNeedle.size() && upperLetter(text[at + i]) == upperNeedle[i])
            ++i;
        if (i == upperNeedle.size())
            return at;
    }
    return std::string_view::npos;
}

std::vector<int> filterAlbums(const AlbumTable& table, const MediumFilter& filter,
                              std::string_view word, Progress* progress)
{
    const int albums = albumCount(table);
    const std::string needle = upperPhrase(word);
    if (progress && albums > 0)
        progress->setMaximum(albums - 1);
    std::vector<int> passed;
    passed.reserve(static_cast<std::size_t>(albums));
    for (int r = 1; r <= albums; ++r) {
        const RowView row = table.row(r);
        if (pasujenosnik(row, filter)) {
            bool contains = needle.empty();
            for (int c = ColumnPerformer; c < kColumnCount && !contains; ++c)
                contains =
                    findFolded(row[static_cast<std::size_t>(c)], needle) != std::string_view::npos;
            if (contains)
                passed.push_back(r);
        }
        advanceProgress(progress, r, kAlbumLoopStep);
    }
    return passed;
}

int matchingColumn(const RowView& row, std::string_view upperPhrase, const SearchColumns& columns)
{
    if (upperPhrase.empty())
        return -1;
    for (int c = 0; c < kColumnCount; ++c) {
        if (columns[static_cast<std::size_t>(c)] &&
            findFolded(row[static_cast<std::size_t>(c)], upperPhrase) != std::string_view::npos)
            return c;
    }
    return -1;
}

int findNext(const AlbumTable& table, std::string_view szukane, const SearchColumns& columns,
             std::int32_t after)
{
    const int albums = albumCount(table);
    if (albums < 1 || obetnijspacje(szukane).empty())
        return 0;
    const std::string phrase = upperPhrase(szukane);
    const int start = after >= 1 && after <= albums ? after : 0;
    for (int step = 1; step <= albums; ++step) {
        const int r = (start + step - 1) % albums + 1;
        if (matchingColumn(table.row(r), phrase, columns) >= 0)
            return r;
    }
    return 0;
}

std::vector<int> findAll(const AlbumTable& table, const MediumFilter& filter,
                         std::string_view szukane, const SearchColumns& columns, Progress* progress)
{
    const int albums = albumCount(table);
    const std::string phrase = upperPhrase(szukane);
    if (progress && albums > 0)
        progress->setMaximum(albums - 1);
    std::vector<int> found;
    for (int r = 1; r <= albums; ++r) {
        const RowView row = table.row(r);
        if (pasujenosnik(row, filter) && matchingColumn(row, phrase, columns) >= 0)
            found.push_back(r);
        advanceProgress(progress, r, kAlbumLoopStep);
    }
    return found;
}

std::string replaceFirst(std::string_view cell, std::string_view szukane, std::string_view zamiana)
{
    const std::string phrase = upperPhrase(szukane);
    const std::string_view text = cell.substr(0, std::min(cell.size(), kPhraseLimit));
    const std::size_t at = phrase.empty() ? std::string_view::npos : findFolded(text, phrase);
    if (at == std::string_view::npos)
        return std::string(cell);
    std::string result(text.substr(0, at));
    result += zamiana;
    result += text.substr(at + phrase.size());
    if (result.size() > kPhraseLimit)
        result.resize(kPhraseLimit);
    return result;
}

int replaceInRow(Row& row, std::string_view szukane, std::string_view zamiana,
                 const SearchColumns& columns)
{
    const int column = matchingColumn(viewOf(row), upperPhrase(szukane), columns);
    if (column >= 0) {
        std::string& cell = row[static_cast<std::size_t>(column)];
        cell = replaceFirst(cell, szukane, zamiana);
    }
    return column;
}

} // namespace alborx
