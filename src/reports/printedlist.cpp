#include "printedlist.h"

#include "copykinds.h"
#include "textfunctions.h"

#include <algorithm>

namespace alborx {

namespace {

std::string kindFigure(std::int32_t cd, std::int32_t mc)
{
    return std::to_string(cd + mc) + " (" + std::to_string(cd) + " CD, " + std::to_string(mc) +
           " MC)";
}

} // namespace

std::vector<PrintedSection> printedSections(const AlbumTable& table, const TUstawienia& settings,
                                            Progress* progress)
{
    std::vector<PrintedSection> sections;
    if (settings.kolejnosc == 2)
        sections = {{PrintedMedium::Mixed, {}}};
    else if (settings.kolejnosc == 1)
        sections = {{PrintedMedium::Mc, {}}, {PrintedMedium::Cd, {}}};
    else
        sections = {{PrintedMedium::Cd, {}}, {PrintedMedium::Mc, {}}};
    const int albums = std::max(0, std::min<int>(table.liczbaalbumow(), table.rowCount() - 1));
    if (progress)
        progress->setMaximum(albums);
    for (int r = 1; r <= albums; ++r) {
        const RowView row = table.row(r);
        const bool cd = selectedCopyKind(row[ColumnCdKind], settings.wypiszcd) != 0;
        const bool mc = selectedCopyKind(row[ColumnMcKind], settings.wypiszmc) != 0;
        for (PrintedSection& section : sections) {
            const bool listed = section.medium == PrintedMedium::Cd   ? cd
                                : section.medium == PrintedMedium::Mc ? mc
                                                                      : cd || mc;
            if (listed)
                section.rows.push_back(r);
        }
        advanceProgress(progress, r, kAlbumLoopStep);
    }
    return sections;
}

std::string printedHeading(PrintedMedium medium)
{
    switch (medium) {
    case PrintedMedium::Cd:
        return "Płyty CD";
    case PrintedMedium::Mc:
        return "Kasety";
    case PrintedMedium::Mixed:
        break;
    }
    return {};
}

std::vector<std::string> printedColumns(PrintedMedium medium)
{
    std::vector<std::string> columns = {"Lp.", "ID", "Wykonawca", "Album", "Gatunek"};
    if (medium != PrintedMedium::Mc)
        columns.insert(columns.end(), {"CD", "ID CD"});
    if (medium != PrintedMedium::Cd)
        columns.insert(columns.end(), {"MC", "ID MC"});
    return columns;
}

std::vector<std::string> printedCells(const RowView& row, int number, PrintedMedium medium,
                                      const TUstawienia& settings, bool shortKinds)
{
    std::vector<std::string> cells = {std::to_string(number), std::string(row[ColumnId]),
                                      std::string(row[ColumnPerformer]),
                                      std::string(row[ColumnTitle]), std::string(row[ColumnGenre])};
    const auto addMedium = [&](int kindColumn, int idColumn, const std::array<bool, 4>& selected) {
        const int kind = selectedCopyKind(row[kindColumn], selected);
        cells.emplace_back(shortKinds ? copyKindLetter(kind) : copyKindWord(kind));
        cells.emplace_back(kind != 0 ? std::string(row[idColumn]) : std::string());
    };
    if (medium != PrintedMedium::Mc)
        addMedium(ColumnCdKind, ColumnCdId, settings.wypiszcd);
    if (medium != PrintedMedium::Cd)
        addMedium(ColumnMcKind, ColumnMcId, settings.wypiszmc);
    return cells;
}

std::vector<PrintedPage> paginate(const std::vector<PrintedSection>& sections, int firstPageAlbums,
                                  int pageAlbums, bool summary)
{
    firstPageAlbums = std::max(1, firstPageAlbums);
    pageAlbums = std::max(1, pageAlbums);
    std::vector<PrintedPage> pages;
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const int albums = static_cast<int>(sections[s].rows.size());
        int first = 0;
        do {
            const int room = first == 0 ? firstPageAlbums : pageAlbums;
            const int count = std::min(room, albums - first);
            pages.push_back({static_cast<int>(s), first, count, first == 0});
            first += count;
        } while (first < albums);
    }
    if (summary)
        pages.push_back({-1, 0, 0, true});
    return pages;
}

std::vector<std::pair<std::string, std::string>> summaryFigures(const TPodsumowanie& s, int entries)
{
    return {{"Suma wpisów:", std::to_string(entries)},
            {"Ilość albumów:", std::to_string(s.albumy)},
            {"Ilość płyt CD:", std::to_string(s.plyty)},
            {"Ilość kaset:", std::to_string(s.kasety)},
            {"Tych samych albumów na CD i MC:", std::to_string(s.tesame)},
            {"Ilość oryginałów:", kindFigure(s.rodzajecd[1], s.rodzajemc[1])},
            {"Ilość piratów:", kindFigure(s.rodzajecd[2], s.rodzajemc[2])},
            {"Ilość kopii:", kindFigure(s.rodzajecd[3], s.rodzajemc[3])},
            {"Ilość zgrywanych z MP3:", kindFigure(s.rodzajecd[4], s.rodzajemc[4])}};
}

} // namespace alborx
