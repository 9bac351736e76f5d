// Measures the catalogue operations on generated catalogues of 1,000, 10,000
// and 100,000 albums, against reading the catalogue file's bytes, and prints
// one table with the median times and the peak memory of the process.
//
// Usage: alborx-bench [--smoke]   (--smoke: the smallest size, one run each)
#include "albumcards.h"
#include "albumeditor.h"
#include "catalogue_generator.h"
#include "cataloguefile.h"
#include "csvexchange.h"
#include "freeid.h"
#include "musicbrainz.h"
#include "othersources.h"
#include "safefile.h"
#include "search.h"
#include "settings.h"
#include "summary.h"
#include "tablechange.h"
#include "tellico.h"
#include "textexport.h"
#include "textfunctions.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

using namespace alborx;
using Clock = std::chrono::steady_clock;

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The median time in milliseconds of runs of work; prepare runs before each
// and is not timed.
double medianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A table whose album IDs use every number from 1 to 99,999 but one, for the
// free-ID search at its worst.
AlbumTable almostFullIds(int albums)
{
    std::vector<Row> rows;
    const int gap = 77777;
    for (int i = 0; i < std::max(albums, 99998); ++i) {
        int id = i % 99998 + 1;
        if (id >= gap)
            ++id;
        rows.push_back({l2t(id, 5), "A", "T", "G", "O", "-", "00001", "-"});
        if (static_cast<int>(rows.size()) == std::max(albums, 99998))
            break;
    }
    AlbumTable table;
    table.assignAlbums(std::move(rows));
    return table;
}

struct Result
{
    std::string operation;
    int size;
    double ms;
};

// A card as a collector fills it in: the texts and a list of twelve tracks.
AlbumCard benchCard(int album)
{
    AlbumCard card;
    card.rok = std::to_string(1960 + album % 60);
    card.wytwornia = "Polskie Nagrania Muza";
    card.numerKatalogowy = "SX " + std::to_string(1000 + album);
    card.kraj = "PL";
    card.kodKreskowy = "590" + std::to_string(1000000000 + album);
    for (int t = 1; t <= 12; ++t)
        card.tracks.push_back({std::to_string(t), "Utwór numer " + std::to_string(t) + " płyty", "",
                               "3:" + std::to_string(10 + t)});
    return card;
}

WriteError saveWithCards(AlbumTable& table, AlbumCards& cards, TUstawienia& settings,
                         const std::string& file)
{
    WriteError error = cards.prepareSave(table, file);
    if (error == WriteError::None)
        error = zapiszbaze(table, settings, file);
    return error == WriteError::None ? cards.commitSave() : error;
}

} // namespace

// The first open of a process, which pays for fresh memory, and the memory
// a process needs with one catalogue loaded: run in a process of its own, so
// that the copies the benchmark keeps do not count.
int reportLoaded(const std::string& file)
{
    TUstawienia settings;
    AlbumTable table;
    AlbumCards cards;
    const auto start = Clock::now();
    if (otworzbaze(table, settings, file).status != OpenStatus::Opened)
        return 1;
    cards.open(table, file);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("%d %.3f %.1f\n", table.liczbaalbumow(), ms, peakMegabytes());
    return 0;
}

// The time of the fresh process's open and its peak memory.
std::pair<double, double> loadedRun(const char* self, const std::string& file)
{
    const std::string command = std::string(self) + " --loaded '" + file + "'";
    FILE* child = ::popen(command.c_str(), "r");
    if (!child)
        return {-1, -1};
    int albums = 0;
    double ms = -1;
    double megabytes = -1;
    if (std::fscanf(child, "%d %lf %lf", &albums, &ms, &megabytes) != 3)
        megabytes = ms = -1;
    ::pclose(child);
    return {ms, megabytes};
}

struct HostileImport
{
    std::string name;
    std::function<std::string()> make;
    std::function<void(const std::string&)> import;
};

// Files made to swell or stall an import; smoke makes them small.
std::vector<HostileImport> hostileImports(bool smoke)
{
    const std::size_t mib = smoke ? 64 * 1024 : 1 << 20;
    const std::string collection = "<tellico><collection type=\"4\">";
    const auto tellico = [](const std::string& xml) {
        importTellico(AlbumTable(), TUstawienia(), xml);
    };
    const auto csv = [](const std::string& text) {
        importCsv(AlbumTable(), TUstawienia(), text, detectImportOptions(text));
    };
    return {
        {"Tellico, 32 MiB of nested elements",
         [=] {
             std::string xml = collection;
             xml.reserve(32 * mib + 64);
             while (xml.size() < 32 * mib)
                 xml += "<a>";
             return xml;
         },
         tellico},
        {"Tellico, one attribute of 200 MiB",
         [=] {
             std::string xml = collection + "<entry id=\"";
             xml.reserve(200 * mib + 64);
             xml.append(200 * mib, '1');
             xml += "\"/>";
             return xml;
         },
         tellico},
        {"CSV, one field of 95 MiB in 100 MiB",
         [=] {
             std::string text = "\"";
             text.reserve(100 * mib + 64);
             text.append(95 * mib, 'x');
             text += "\";T\r\n";
             text += std::string("A\0B;T\rC;\"\"\"D\n", 16);
             while (text.size() < 100 * mib)
                 text += "Wykonawca;Album\r\n;\n\"\"\";x\n";
             return text;
         },
         csv},
        {"CSV, 32 MiB of empty lines",
         [=] {
             std::string text;
             text.reserve(32 * mib + 64);
             while (text.size() < 32 * mib)
                 text += ";\r\n";
             return text;
         },
         csv},
    };
}

// Makes the k-th hostile file and imports it: prints the import's time and
// the process's peak memory, the file's own bytes included.
int reportHostile(std::size_t k, bool smoke)
{
    const std::vector<HostileImport> imports = hostileImports(smoke);
    if (k >= imports.size())
        return 1;
    const std::string input = imports[k].make();
    const auto start = Clock::now();
    imports[k].import(input);
    std::printf("%.1f %.1f\n",
                std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
                peakMegabytes());
    return 0;
}

std::pair<double, double> hostileRun(const char* self, std::size_t k, bool smoke)
{
    const std::string command =
        std::string(self) + " --hostile " + std::to_string(k) + (smoke ? " smoke" : "");
    FILE* child = ::popen(command.c_str(), "r");
    if (!child)
        return {-1, -1};
    double ms = -1;
    double megabytes = -1;
    if (std::fscanf(child, "%lf %lf", &ms, &megabytes) != 2)
        ms = megabytes = -1;
    ::pclose(child);
    return {ms, megabytes};
}

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "--hostile")
        return reportHostile(std::stoul(argv[2]), argc > 3);
    if (argc > 2 && std::string(argv[1]) == "--loaded")
        return reportLoaded(argv[2]);
    const bool smoke = argc > 1 && std::string(argv[1]) == "--smoke";
    const std::vector<int> sizes =
        smoke ? std::vector<int>{1000} : std::vector<int>{1000, 10000, 100000};
    const int runs = smoke ? 1 : 7;
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("alborx-bench-" + std::to_string(::getpid())))
            .string();
    std::filesystem::create_directories(folder);

    TUstawienia settings;
    ustawdomyslne(settings);
    const MonthNames months = {"styczeń",  "luty",        "marzec",   "kwiecień",
                               "maj",      "czerwiec",    "lipiec",   "sierpień",
                               "wrzesień", "październik", "listopad", "grudzień"};
    const ExportTime time{2026, 12, 9, 12, 0, 0};

    std::vector<Result> results;
    std::vector<std::pair<int, double>> baselines;
    std::vector<std::pair<int, double>> loaded;
    std::vector<std::pair<int, double>> loadedWithCards;
    for (const int size : sizes) {
        const std::string file = folder + "/bench-" + std::to_string(size) + ".abx";
        AlbumTable source;
        source.assignAlbums(bench::generateAlbums(size));
        if (zapiszbaze(source, settings, file) != WriteError::None) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            return 1;
        }
        const auto add = [&](const char* operation, double ms) {
            results.push_back({operation, size, ms});
        };
        // The median of fresh processes' opens.
        std::vector<std::pair<double, double>> fresh;
        for (int run = 0; run < runs; ++run)
            fresh.push_back(loadedRun(argv[0], file));
        std::sort(fresh.begin(), fresh.end());
        loaded.emplace_back(size, fresh[fresh.size() / 2].second);

        std::vector<std::uint8_t> bytes;
        const double baseline = medianMs(
            runs, [] {}, [&] { readWholeFile(file, bytes); });
        baselines.emplace_back(size, baseline);

        AlbumTable table;
        add("open, in a fresh process", fresh[fresh.size() / 2].first);
        add("open", medianMs(
                        runs, [] {}, [&] { otworzbaze(table, settings, file); }));
        add("save (with backup)", medianMs(
                                      runs, [] {}, [&] { zapiszbaze(table, settings, file); }));
        AlbumTable joined;
        add("join into an equal catalogue",
            medianMs(
                runs, [&] { joined = table; },
                [&] { redoChange(joined, settings, dolaczbaze(joined, settings, file).change); }));
        AlbumTable sorted;
        add("sort by Wykonawca",
            medianMs(
                runs, [&] { sorted = table; }, [&] { sorted.sortByColumn(ColumnPerformer); }));
        add("sort by ID",
            medianMs(
                runs, [&] { sorted = table; }, [&] { sorted.sortByColumn(ColumnId); }));
        // The albums found, and the filtered list made of them.
        AlbumTable filtered;
        add("filter rebuild, no word",
            medianMs(
                runs, [] {},
                [&] { filtered.assignRowsOf(table, filterAlbums(table, MediumFilter{}, "")); }));
        add("filter rebuild, word \"rock\"",
            medianMs(
                runs, [] {},
                [&] {
                    filtered.assignRowsOf(table, filterAlbums(table, MediumFilter{}, "rock"));
                }));
        SearchColumns all;
        all.fill(true);
        add("find all \"noc\"",
            medianMs(
                runs, [] {},
                [&] { filtered.assignRowsOf(table, findAll(table, MediumFilter{}, "noc", all)); }));
        add("find next, no match (full wrap)",
            medianMs(
                runs, [] {}, [&] { findNext(table, "zzzzz", all, 1); }));
        add("summary",
            medianMs(
                runs, [] {},
                [&] { obliczpodsumowanie(table, settings.wypiszcd, settings.wypiszmc); }));
        std::string text;
        add("text export, default templates",
            medianMs(
                runs, [] {}, [&] { text = exportText(table, settings, time, months); }));
        const AlbumTable full = almostFullIds(size);
        std::int32_t counter = 0;
        add("nowyid, all but one number in use",
            medianMs(
                runs, [&] { counter = 1; }, [&] { nowyid(full, IdKindAlbum, counter); }));
        AlbumTable adding;
        EditorForm form;
        add("add one album (Dodaj)",
            medianMs(
                runs,
                [&] {
                    adding = table;
                    form = EditorForm{};
                    form.azespol = "Nowy";
                    form.nosnikcd = true;
                    form.nosnikmc = true;
                },
                [&] { redoChange(adding, settings, dodajalbum(adding, form, settings).change); }));
        const std::string csvFile = folder + "/bench-" + std::to_string(size) + ".csv";
        add("CSV export", medianMs(
                              runs, [] {}, [&] { exportCsv(csvFile, table); }));
        std::vector<std::uint8_t> csvBytes;
        readWholeFile(csvFile, csvBytes);
        const std::string csvText(csvBytes.begin(), csvBytes.end());
        AlbumTable imported;
        TUstawienia importCounters;
        add("CSV import into an empty catalogue",
            medianMs(
                runs, [&] { imported = AlbumTable(); },
                [&] {
                    redoChange(
                        imported, importCounters,
                        importCsv(imported, importCounters, csvText, detectImportOptions(csvText))
                            .change);
                }));
        const std::string tellicoFile = folder + "/bench-" + std::to_string(size) + ".tc";
        if (!bench::writeTellicoCollection(tellicoFile, table)) {
            std::fprintf(stderr, "cannot write %s\n", tellicoFile.c_str());
            return 1;
        }
        add("Tellico import (zipped file)",
            medianMs(
                runs, [] {},
                [&] { importTellicoFile(AlbumTable(), importCounters, tellicoFile); }));
        // Without IDs every album takes the next free ones, as Dodaj does.
        std::string noIds = "Wykonawca;Album;Gatunek;CD;MC\r\n";
        for (int r = 1; r <= table.liczbaalbumow(); ++r)
            for (const int c :
                 {ColumnPerformer, ColumnTitle, ColumnGenre, ColumnCdKind, ColumnMcKind})
                noIds.append(table.cell(c, r)).append(c == ColumnMcKind ? "\r\n" : ";");
        add("CSV import, every ID handed out",
            medianMs(
                runs,
                [&] {
                    imported = AlbumTable();
                    importCounters = TUstawienia();
                },
                [&] {
                    redoChange(
                        imported, importCounters,
                        importCsv(imported, importCounters, noIds, detectImportOptions(noIds))
                            .change);
                }));
        // A change of one cell in every album row (a genre renamed across the
        // whole catalogue) made as one step, then taken back.
        AlbumTable everyRow;
        TableChange change;
        const auto sameGenre = [&] {
            everyRow = table;
            for (int r = 1; r <= everyRow.liczbaalbumow(); ++r)
                everyRow.setCell(ColumnGenre, r, "Rock");
        };
        add("change every row as one step", medianMs(runs, sameGenre, [&] {
                change = renameGenreInAlbums(everyRow, "Rock", "Rock i blues");
                redoChange(everyRow, settings, change);
            }));
        add("undo of that step", medianMs(
                                     runs,
                                     [&] {
                                         sameGenre();
                                         change = renameGenreInAlbums(everyRow, "Rock", "Blues");
                                         redoChange(everyRow, settings, change);
                                     },
                                     [&] { undoChange(everyRow, settings, change); }));
        // Every album with a card of twelve tracks, kept beside the catalogue.
        const std::string carded = folder + "/cards-" + std::to_string(size) + ".abx";
        AlbumTable cardTable = table;
        AlbumCards cards;
        for (int r = 1; r <= cardTable.liczbaalbumow(); ++r)
            cards.apply({{cardTable.rowKey(r), nullptr, cardInMemory(benchCard(r), {})}}, true);
        saveWithCards(cardTable, cards, settings, carded);
        std::vector<std::pair<double, double>> freshCards;
        for (int run = 0; run < runs; ++run)
            freshCards.push_back(loadedRun(argv[0], carded));
        std::sort(freshCards.begin(), freshCards.end());
        loadedWithCards.emplace_back(size, freshCards[freshCards.size() / 2].second);
        add("open with cards, in a fresh process", freshCards[freshCards.size() / 2].first);
        AlbumCards opened;
        add("open with cards", medianMs(
                                   runs, [] {},
                                   [&] {
                                       otworzbaze(cardTable, settings, carded);
                                       opened.open(cardTable, carded);
                                   }));
        int column = ColumnTitle;
        add("save with cards after a sort",
            medianMs(
                runs,
                [&] {
                    column = column == ColumnTitle ? ColumnPerformer : ColumnTitle;
                    cardTable.sortByColumn(column);
                },
                [&] { saveWithCards(cardTable, opened, settings, carded); }));
        int shown = 0;
        add("show one card (texts, 12 tracks)",
            medianMs(
                runs, [&] { shown = (shown + 7919) % cardTable.liczbaalbumow() + 1; },
                [&] { opened.texts(opened.card(cardTable.rowKey(shown))); }));
        add("undo after a sort (rows found by key)",
            medianMs(
                runs,
                [&] {
                    sameGenre();
                    change = renameGenreInAlbums(everyRow, "Rock", "Blues");
                    redoChange(everyRow, settings, change);
                    everyRow.sortByColumn(ColumnTitle);
                },
                [&] { undoChange(everyRow, settings, change); }));
    }
    // 10,000 albums whose cards hold covers of 300 KB, against the same
    // cards without covers: opening reads no picture.
    double openWithoutCovers = 0;
    double openWithCovers = 0;
    if (!smoke) {
        AlbumTable covered;
        covered.assignAlbums(bench::generateAlbums(10000));
        std::string picture(300 * 1024, '\0');
        for (std::size_t i = 0; i < picture.size(); ++i)
            picture[i] = static_cast<char>((i * 2654435761u) >> 13);
        for (const bool withCovers : {false, true}) {
            const std::string file = folder + (withCovers ? "/covers.abx" : "/nocovers.abx");
            zapiszbaze(covered, settings, file);
            {
                CardFileWriter writer(cardFilePath(file), nullptr);
                for (int r = 1; r <= covered.liczbaalbumow(); ++r)
                    writer.add(benchCard(r), withCovers ? picture : std::string(), r,
                               albumFingerprint(covered.row(r)));
                writer.finish();
            }
            AlbumTable table;
            AlbumCards cards;
            (withCovers ? openWithCovers : openWithoutCovers) = medianMs(
                runs, [] {},
                [&] {
                    otworzbaze(table, settings, file);
                    cards.open(table, file);
                });
        }
    }
    std::filesystem::remove_all(folder);

    // A CSV file whose quotes never close is read in one pass all the same.
    const std::string spoilt = bench::unclosedQuoteLines(smoke ? (1 << 20) : (100 << 20));
    ImportResult spoiltResult;
    const double spoiltMs = medianMs(
        smoke ? 1 : 3, [] {},
        [&] {
            spoiltResult = importCsv(AlbumTable(), settings, spoilt, detectImportOptions(spoilt));
        });

    // The largest MusicBrainz answer the window takes, read into releases.
    const std::string answer = bench::musicBrainzAnswer(musicbrainz::kMostAnswerBytes);
    musicbrainz::ReleaseList answerList;
    const double answerMs = medianMs(
        smoke ? 1 : 5, [] {}, [&] { answerList = musicbrainz::readReleaseList(answer); });

    // Files made to swell or stall an import, each in a process of its own
    // so that its peak memory is its own: it must end soon, in memory
    // bounded by the file.
    std::printf("%-40s %10s %10s\n", "hostile import", "ms", "peak MB");
    for (std::size_t k = 0; k < hostileImports(smoke).size(); ++k) {
        const auto [ms, megabytes] = hostileRun(argv[0], k, smoke);
        std::printf("%-40s %10.1f %10.1f\n", hostileImports(smoke)[k].name.c_str(), ms, megabytes);
    }
    std::printf("\n");

    std::printf("%-34s %8s %12s %10s\n", "operation", "albums", "median ms", "x baseline");
    for (const auto& [size, baseline] : baselines)
        std::printf("%-34s %8d %12.3f %10s\n", "baseline: read the file's bytes", size, baseline,
                    "1.0");
    for (const Result& r : results) {
        const double baseline =
            std::find_if(baselines.begin(), baselines.end(), [&](const auto& b) {
                return b.first == r.size;
            })->second;
        std::printf("%-34s %8d %12.3f %10.1f\n", r.operation.c_str(), r.size, r.ms,
                    baseline > 0 ? r.ms / baseline : 0.0);
    }
    std::printf("CSV import of %.0f MiB of unclosed quotes: %.1f ms (%d albums, %d lines "
                "skipped)\n",
                static_cast<double>(spoilt.size()) / (1 << 20), spoiltMs, spoiltResult.added,
                spoiltResult.skippedCount());
    std::printf("MusicBrainz answer of %.1f MiB read: %.1f ms (%zu releases)\n",
                static_cast<double>(answer.size()) / (1 << 20), answerMs,
                answerList.releases.size());
    for (const auto& [size, megabytes] : loaded)
        std::printf("peak memory of a process with %d albums loaded: %.1f MB\n", size, megabytes);
    if (!smoke)
        std::printf("open of 10000 albums with cards: %.1f ms without covers, %.1f ms with "
                    "covers of 300 KB\n",
                    openWithoutCovers, openWithCovers);
    for (const auto& [size, megabytes] : loadedWithCards)
        std::printf("peak memory of a process with %d albums and their cards loaded: %.1f MB\n",
                    size, megabytes);
    std::printf("peak memory of this benchmark (it keeps several copies): %.1f MB\n",
                peakMegabytes());
    return 0;
}
