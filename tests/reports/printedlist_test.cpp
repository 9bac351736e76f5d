#include "printedlist.h"

#include <gtest/gtest.h>

namespace alborx {
namespace {

TEST(PrintedList, SectionsFollowTheExportsOrderAndItsSelectedCopyKinds)
{
    AlbumTable table;
    table.assignAlbums({{"00001", "A", "T", "G", "O", "-", "00001", "-"},
                        {"00002", "B", "T", "G", "P", "K", "00002", "00001"},
                        {"00003", "C", "T", "G", "-", "M", "-", "00002"}});
    TUstawienia settings;
    settings.wypiszcd = {true, false, true, true}; // no pirate CDs
    settings.wypiszmc = {true, true, true, true};
    struct Case
    {
        int kolejnosc;
        std::vector<std::pair<PrintedMedium, std::vector<int>>> sections;
    };
    const Case cases[] = {
        {0, {{PrintedMedium::Cd, {1}}, {PrintedMedium::Mc, {2, 3}}}},
        {1, {{PrintedMedium::Mc, {2, 3}}, {PrintedMedium::Cd, {1}}}},
        {2, {{PrintedMedium::Mixed, {1, 2, 3}}}},
    };
    for (const Case& c : cases) {
        settings.kolejnosc = c.kolejnosc;
        std::vector<std::pair<PrintedMedium, std::vector<int>>> got;
        for (const PrintedSection& section : printedSections(table, settings))
            got.emplace_back(section.medium, section.rows);
        EXPECT_EQ(got, c.sections) << c.kolejnosc;
    }
    // A medium whose kind is not selected shows no kind and no ID.
    EXPECT_EQ(printedCells(table.row(2), 7, PrintedMedium::Mixed, settings, true),
              (std::vector<std::string>{"7", "00002", "B", "T", "G", "-", "", "K", "00001"}));
}

TEST(PrintedList, PagesHoldWhatFitsAndEverySectionStartsAPage)
{
    const auto sectionOf = [](int albums) {
        PrintedSection section;
        section.rows.resize(static_cast<std::size_t>(albums), 1);
        return section;
    };
    struct Case
    {
        std::vector<int> albums;
        bool summary;
        std::vector<std::pair<int, int>> pages; // first album and count, -1 for the summary
    };
    const Case cases[] = {
        {{0}, false, {{0, 0}}},
        {{8}, false, {{0, 8}}},
        {{9}, true, {{0, 8}, {8, 1}, {-1, 0}}},
        {{18, 3}, false, {{0, 8}, {8, 10}, {0, 3}}},
        {{28}, false, {{0, 8}, {8, 10}, {18, 10}}},
    };
    for (const Case& c : cases) {
        std::vector<PrintedSection> sections;
        for (const int albums : c.albums)
            sections.push_back(sectionOf(albums));
        std::vector<std::pair<int, int>> got;
        for (const PrintedPage& page : paginate(sections, 8, 10, c.summary))
            got.emplace_back(page.section < 0 ? -1 : page.first, page.count);
        EXPECT_EQ(got, c.pages) << c.albums.front();
    }
}

} // namespace
} // namespace alborx
