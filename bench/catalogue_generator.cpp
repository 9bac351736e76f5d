#include "catalogue_generator.h"

#include "cp1250.h"
#include "textfunctions.h"

#include <random>

namespace alborx::bench {

namespace {

const char* const kPerformers[] = {
    "Kult",    "Dżem",  "Maanam", "Czesław Niemen", "Republika",       "Budka Suflera", "Lady Pank",
    "Perfect", "Łzy",   "Żuki",   "Skaldowie",      "Czerwone Gitary", "Voo Voo",       "Świetliki",
    "Hey",     "Wilki", "T.Love", "Armia",          "Kazik",           "Ścianka"};
const char* const kWords[] = {"Noc",    "Dzień",  "Światło", "Cień",    "Żółty", "Ogień",
                              "Woda",   "Ziemia", "Słońce",  "Księżyc", "Gęś",   "Jaźń",
                              "Miłość", "Wiatr",  "Zima",    "Lato",    "Róża",  "Ćma"};
const char* const kGenres[] = {"Rock", "Pop",    "Jazz",        "Blues", "Metal", "Poezja śpiewana",
                               "Punk", "Reggae", "Elektronika", "Folk"};
const char* const kKinds[] = {"O", "P", "K", "M"};

std::string w1250(const char* utf8)
{
    return utf8ToCp1250(utf8).value_or(utf8);
}

} // namespace

std::vector<Row> generateAlbums(int count, unsigned seed)
{
    std::mt19937 random(seed);
    const auto pick = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(count));
    int albumId = 0;
    int cdId = 0;
    int mcId = 0;
    while (static_cast<int>(rows.size()) < count) {
        ++albumId;
        const std::string performer = w1250(kPerformers[pick(20)]);
        std::string title = w1250(kWords[pick(18)]) + " " + w1250(kWords[pick(18)]);
        const std::string genre = w1250(kGenres[pick(10)]);
        // One album in twelve has two discs that share the album ID.
        const int discs = pick(12) == 0 ? 2 : 1;
        for (int disc = 1; disc <= discs && static_cast<int>(rows.size()) < count; ++disc) {
            Row row;
            row[ColumnId] = l2t(albumId % 99999 + 1, 5);
            row[ColumnPerformer] = performer;
            row[ColumnTitle] = discs > 1 ? title + " (CD" + std::to_string(disc) + ")" : title;
            row[ColumnGenre] = genre;
            const int media = pick(10); // 0..5 CD, 6..7 MC, 8..9 both
            const bool onCd = media <= 5 || media >= 8;
            const bool onMc = media >= 6;
            // Albums often share a compilation disc: a new CD ID for two in three.
            if (onCd && (cdId == 0 || pick(3) != 0))
                ++cdId;
            if (onMc)
                ++mcId;
            row[ColumnCdKind] = onCd ? kKinds[pick(4)] : "-";
            row[ColumnCdId] = onCd ? l2t(cdId % 99999 + 1, 5) : "-";
            row[ColumnMcKind] = onMc ? kKinds[pick(4)] : "-";
            row[ColumnMcId] = onMc ? l2t(mcId % 99999 + 1, 5) : "-";
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

} // namespace alborx::bench
