// Collections brought in from the programs collectors already use: the
// exports of Tellico and Discogs as CSV, and Tellico's own collection files,
// together with the hostile files such an import may be handed.
#include "albumimport.h"
#include "csvexchange.h"
#include "tellico.h"
#include "tempdir.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <zip.h>

namespace alborx {
namespace {

using test::TempDir;
using test::writeBytes;

std::string fixture(const std::string& name)
{
    const auto bytes = test::readBytes(std::string(ALBORX_FIXTURES) + "/" + name);
    return std::string(bytes.begin(), bytes.end());
}

// Zeros without end, for an archive entry of the given size made as it is
// written.
zip_int64_t zeros(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command)
{
    auto& left = *static_cast<zip_uint64_t*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_FREE:
        return 0;
    case ZIP_SOURCE_READ: {
        const zip_uint64_t n = std::min(length, left);
        std::memset(data, ' ', n);
        left -= n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_STAT:
        zip_stat_init(static_cast<zip_stat_t*>(data));
        return sizeof(zip_stat_t);
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_FREE, -1);
    default:
        return -1;
    }
}

struct Entry
{
    std::string name;
    std::string text;
    zip_uint64_t blankBytes = 0; // instead of text: this many spaces
};

// A zip archive of the entries, as the bytes of its file.
std::string zipOf(const TempDir& dir, const std::vector<Entry>& entries)
{
    const std::string path = dir.file("archive.zip");
    ::unlink(path.c_str());
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    EXPECT_NE(archive, nullptr);
    std::vector<zip_uint64_t> blanks(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        zip_source_t* source = nullptr;
        if (entries[i].blankBytes > 0) {
            blanks[i] = entries[i].blankBytes;
            source = zip_source_function(archive, zeros, &blanks[i]);
        } else {
            source = zip_source_buffer(archive, entries[i].text.data(), entries[i].text.size(), 0);
        }
        const zip_int64_t index =
            zip_file_add(archive, entries[i].name.c_str(), source, ZIP_FL_ENC_UTF_8);
        EXPECT_GE(index, 0);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
    }
    EXPECT_EQ(zip_close(archive), 0);
    const auto bytes = test::readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(Medium, DiscsAndCassettesByTheNamesProgramsGiveThem)
{
    const std::vector<std::pair<std::string, Medium>> cases = {
        {"CD", Medium::Cd},
        {"Compact Disc", Medium::Cd},
        {"CDr, Album", Medium::Cd},
        {"2xCD, Album, RE", Medium::Cd},
        {"3 x CD", Medium::Cd},
        {"P\xB3yta CD", Medium::Cd}, // "Płyta CD"
        {" cd ", Medium::Cd},
        {"Cassette", Medium::Cassette},
        {"Cass, Comp", Medium::Cassette},
        {"2xCass, Album", Medium::Cassette},
        {"Kaseta", Medium::Cassette},
        {"MC", Medium::Cassette},
        {"CD+MC", Medium::CdAndCassette},
        {"CD, MC", Medium::CdAndCassette},
        {"Cass / CD", Medium::CdAndCassette},
        {"P\xB3yta i kaseta", Medium::CdAndCassette}, // "Płyta i kaseta"
        {"Vinyl, CD", Medium::Cd},
        {"Vinyl, LP, Album", Medium::Other},
        {"File, MP3", Medium::Other},
        {"DVD, Album", Medium::Other},
        {"Blu-ray", Medium::Other},
        {"2x", Medium::Other},
        {"", Medium::Unnamed},
        {"   ", Medium::Unnamed},
        {", Album", Medium::Unnamed},
    };
    for (const auto& [text, medium] : cases)
        EXPECT_EQ(mediumOfText(text), medium) << text;
}

// An album as the test looks at it: performer, title, genre, CD kind, MC kind.
using Seen = std::array<std::string, 5>;

std::vector<Seen> seen(const ImportResult& result)
{
    std::vector<Seen> albums;
    for (const KeyedRow& album : result.change.inserted)
        albums.push_back({album.row[ColumnPerformer], album.row[ColumnTitle],
                          album.row[ColumnGenre], album.row[ColumnCdKind],
                          album.row[ColumnMcKind]});
    return albums;
}

std::vector<std::pair<int, std::string>> skipped(const ImportResult& result)
{
    std::vector<std::pair<int, std::string>> lines;
    for (const SkippedLine& line : result.skipped) {
        EXPECT_EQ(line.reason, SkipReason::OtherMedium);
        lines.emplace_back(line.line, line.medium);
    }
    return lines;
}

TEST(ImportFromOtherPrograms, EveryAlbumLandsOnItsMediumAndOtherMediaAreSkipped)
{
    const struct
    {
        const char* file;
        std::vector<Seen> albums;
        std::vector<std::pair<int, std::string>> skipped;
    } cases[] = {
        {"tellico-music.csv",
         {{"Kult", "Ostateczny krach systemu korporacji", "Rock", "O", "-"},
          {"Republika", "Nowe sytuacje", "New wave", "-", "O"},
          // No medium named: an original CD, as every import assumes.
          {"\xAFuki", "Z\xF3\xB3ta p\xB3yta", "Pop", "O", "-"}},
         {{4, "Vinyl"}, {5, "DVD"}}},
        {"discogs-collection.csv",
         {{"Kult", "Ostateczny krach systemu korporacji", "", "O", "-"},
          {"Republika", "Nowe sytuacje", "", "-", "O"},
          {"Various", "Przeboje", "", "O", "-"},
          {"Demo Band", "Pierwsze nagrania", "", "O", "-"},
          {"Lady Pank", "\xD3semka", "", "-", "O"}},
         {{7, "Vinyl, LP, Album"}, {8, "File, MP3"}, {9, "DVD, Album"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string text = fixture(c.file);
        AlbumTable table;
        const ImportResult result =
            importCsv(table, TUstawienia(), text, detectImportOptions(text));
        EXPECT_EQ(seen(result), c.albums);
        EXPECT_EQ(skipped(result), c.skipped);
        EXPECT_EQ(result.added, static_cast<int>(c.albums.size()));
    }
}

TEST(ImportFromOtherPrograms, MediumColumnsLeaveCdAndMcColumnsTheirRules)
{
    // The CD column gives the kind of a disc the medium column names.
    const std::string text = "Artist;Title;Format;CD;MC\n"
                             "A;1;CD;Kopia;\n"
                             "B;2;;P;K\n"
                             "C;3;Cassette;;Pirat\n";
    AlbumTable table;
    const ImportResult result = importCsv(table, TUstawienia(), text, detectImportOptions(text));
    EXPECT_EQ(seen(result),
              (std::vector<Seen>{
                  {"A", "1", "", "K", "-"}, {"B", "2", "", "P", "K"}, {"C", "3", "", "-", "P"}}));
}

TEST(TellicoCollection, ZippedAndPlainGiveTheSameAlbums)
{
    TempDir dir;
    const std::string xml = fixture("tellico/music.xml");
    const std::string zipped =
        zipOf(dir, {{"tellico.xml", xml}, {"images/kult.png", "\x89PNG\r\n\x1A\n"}});
    for (const std::string& bytes : {xml, zipped}) {
        AlbumTable table;
        table.assignAlbums({{"00001", "Obecny", "T", "", "O", "-", "00001", "-"}});
        const TellicoImport import = importTellico(table, TUstawienia(), bytes);
        ASSERT_EQ(import.status, TellicoStatus::Read);
        EXPECT_EQ(seen(import.albums),
                  (std::vector<Seen>{
                      {"Kult", "Ostateczny krach systemu korporacji", "Rock", "O", "-"},
                      {"Republika", "Nowe sytuacje", "New wave", "-", "O"},
                      {"Simon & Garfunkel, Paul Simon", "Bridge over Troubled Water", "", "O", "-"},
                      {"\xAFuki", "\xAF\xF3\xB3ta p\xB3yta", "Pop", "O", "-"}}));
        // Entries are named by their ids.
        const std::vector<SkippedLine>& left = import.albums.skipped;
        ASSERT_EQ(left.size(), 3u);
        EXPECT_EQ(std::make_tuple(left[0].line, left[0].reason, left[0].medium),
                  std::make_tuple(4, SkipReason::OtherMedium, std::string("Vinyl")));
        EXPECT_EQ(std::make_tuple(left[1].line, left[1].reason, left[1].medium),
                  std::make_tuple(6, SkipReason::OtherMedium, std::string("DVD")));
        EXPECT_EQ(std::make_pair(left[2].line, left[2].reason),
                  std::make_pair(7, SkipReason::NoPerformerOrTitle));
        // Entry 1's ID is taken: it gets the first that neither an album
        // nor another entry has (2, 3 and 5 are kept as the entries give them).
        EXPECT_EQ(import.albums.change.inserted.front().row[ColumnId], "00004");
        EXPECT_EQ(import.albums.change.insertedAt, 2);
    }
}

TEST(TellicoCollection, EntriesBringTheirCardsAndCoversFromWhereTellicoKeepsThem)
{
    TempDir dir;
    const std::string xml = fixture("tellico/music.xml");
    const std::string png = "\x89PNG\r\n\x1A\n";
    std::string embedded = xml;
    embedded.replace(embedded.find("</collection>"), 0,
                     "<images><image id=\"kult.png\" format=\"PNG\">iVBORw0K\nGgo=</image>"
                     "<image id=\"other.png\">AAAA</image></images>");
    std::string outside = xml;
    outside.replace(outside.find("kult.png"), 8, "../kult.png");
    writeBytes(dir.file("music.xml"), std::vector<std::uint8_t>(xml.begin(), xml.end()));
    std::filesystem::create_directory(dir.file("music_files"));
    writeBytes(dir.file("music_files/kult.png"), std::vector<std::uint8_t>(png.begin(), png.end()));
    writeBytes(dir.file("outside.xml"), std::vector<std::uint8_t>(outside.begin(), outside.end()));
    writeBytes(dir.file("kult.png"), std::vector<std::uint8_t>(png.begin(), png.end()));
    const auto fromFile = [&](const std::string& name) {
        return importTellicoFile(AlbumTable(), TUstawienia(), dir.file(name));
    };
    const struct
    {
        const char* what;
        TellicoImport import;
        std::string cover;
    } cases[] = {
        {"archive",
         importTellico(AlbumTable(), TUstawienia(),
                       zipOf(dir, {{"tellico.xml", xml}, {"images/kult.png", png}})),
         png},
        {"pictures in the XML", importTellico(AlbumTable(), TUstawienia(), embedded), png},
        {"folder beside the XML", fromFile("music.xml"), png},
        {"a name outside the folder", fromFile("outside.xml"), ""},
        {"no pictures at all", importTellico(AlbumTable(), TUstawienia(), xml), ""},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(c.import.status, TellicoStatus::Read) << c.what;
        const std::vector<CardEdit>& cards = c.import.albums.change.cards;
        ASSERT_EQ(cards.size(), 1u) << c.what;
        EXPECT_EQ(cards[0].key, c.import.albums.change.inserted[0].key);
        const CardHandle& card = *cards[0].after;
        EXPECT_EQ(card.inMemory->texts.rok, "1998") << c.what;
        // The album's own artist is not repeated on its track.
        EXPECT_EQ(card.inMemory->texts.tracks,
                  (std::vector<Track>{{"1", "Gdy nie ma dzieci", "", "3:40"}}));
        EXPECT_EQ(card.inMemory->cover, c.cover) << c.what;
    }
}

TEST(TellicoCollection, ItsCsvExportGivesTheSameAlbumsAsTheCollectionFile)
{
    AlbumTable table;
    table.assignAlbums({{"00001", "Obecny", "T", "", "O", "-", "00001", "-"}});
    const std::string csv = fixture("tellico/music.csv");
    const CsvImportOptions options = detectImportOptions(csv);
    EXPECT_TRUE(options.tellico);
    const ImportResult fromCsv = importCsv(table, TUstawienia(), csv, options);
    const ImportResult fromFile =
        importTellico(table, TUstawienia(), fixture("tellico/music.xml")).albums;
    ASSERT_EQ(fromCsv.added, 4);
    ASSERT_EQ(fromFile.added, 4);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(fromCsv.change.inserted[i].row, fromFile.change.inserted[i].row) << i;
    // Entry IDs are kept where free (2, 5), otherwise handed out by the rule.
    EXPECT_EQ(fromFile.change.inserted[1].row[ColumnId], "00002");
    EXPECT_EQ(fromFile.change.inserted[3].row[ColumnId], "00005");
    EXPECT_EQ(fromFile.change.inserted[2].row[ColumnPerformer], "Simon & Garfunkel, Paul Simon");
    EXPECT_EQ(fromCsv.change.inserted[0].row[ColumnGenre], "Rock");
}

TEST(TellicoCollection, FilesThatAreNoMusicCollectionChangeNothing)
{
    TempDir dir;
    const std::string music = fixture("tellico/music.xml");
    const std::string head = "<?xml version=\"1.0\"?>\n<!DOCTYPE tellico [\n";
    // Each entity eight of the one before: a file of a few hundred bytes
    // would grow to gigabytes.
    std::string laughs = head + "<!ENTITY a0 \"ha\">\n";
    for (int i = 1; i <= 9; ++i) {
        const std::string before = "&a" + std::to_string(i - 1) + ";";
        laughs += "<!ENTITY a" + std::to_string(i) + " \"";
        for (int k = 0; k < 8; ++k)
            laughs += before;
        laughs += "\">\n";
    }
    laughs += "]>\n<tellico><collection type=\"4\"><entry><title>&a9;</title></entry>"
              "</collection></tellico>\n";
    const std::string collection = "<tellico><collection type=\"4\">";
    std::string deep = collection;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    const std::string huge(8 << 20, 'x');
    const std::string outside =
        head + "<!ENTITY secret SYSTEM \"file:///etc/passwd\">\n]>\n"
               "<tellico><collection type=\"4\"><entry><title>&secret;</title></entry>"
               "</collection></tellico>\n";

    const std::vector<std::pair<std::string, std::pair<std::string, TellicoStatus>>> cases = {
        {"books", {fixture("tellico/books.xml"), TellicoStatus::NotMusic}},
        {"books zipped",
         {zipOf(dir, {{"tellico.xml", fixture("tellico/books.xml")}}), TellicoStatus::NotMusic}},
        {"not XML", {"Artist;Title\nKult;Spokojnie\n", TellicoStatus::NotTellico}},
        {"another XML", {"<?xml version=\"1.0\"?><rss/>", TellicoStatus::NotTellico}},
        {"cut short", {music.substr(0, music.size() / 2), TellicoStatus::NotTellico}},
        {"no collection", {"<tellico syntaxVersion=\"11\"/>", TellicoStatus::NotTellico}},
        {"broken zip", {"PK\x03\x04" + std::string(200, '\x7F'), TellicoStatus::NotTellico}},
        {"zip without tellico.xml",
         {zipOf(dir, {{"other.xml", music}}), TellicoStatus::NotTellico}},
        {"zip cut short",
         {zipOf(dir, {{"tellico.xml", music}}).substr(0, 300), TellicoStatus::NotTellico}},
        {"entities that multiply", {laughs, TellicoStatus::NotTellico}},
        {"an entity from outside", {outside, TellicoStatus::NotTellico}},
        {"zip bomb",
         {zipOf(dir, {{"tellico.xml", {}, kMostTellicoBytes + 4096}}), TellicoStatus::TooLarge}},
        // Elements nested without end would make the parser keep every one
        // of them; a tag or comment without end, keep it whole.
        {"deep nesting", {deep, TellicoStatus::TooDeep}},
        {"deep nesting zipped", {zipOf(dir, {{"tellico.xml", deep}}), TellicoStatus::TooDeep}},
        {"huge attribute",
         {collection + "<entry id=\"" + huge + "\"/></collection></tellico>",
          TellicoStatus::NotTellico}},
        {"huge comment",
         {collection + "<!--" + huge + "--></collection></tellico>", TellicoStatus::NotTellico}},
    };
    for (const auto& [name, file] : cases) {
        SCOPED_TRACE(name);
        AlbumTable table;
        const TellicoImport import = importTellico(table, TUstawienia(), file.first);
        EXPECT_EQ(import.status, file.second);
        EXPECT_TRUE(import.albums.change.empty());
    }
}

TEST(TellicoCollection, AHugeTextIsCutToItsColumn)
{
    const std::string xml = "<tellico><collection type=\"4\"><entry><title>" +
                            std::string(8 << 20, 'T') +
                            "</title><medium>CD</medium></entry></collection></tellico>";
    const TellicoImport import = importTellico(AlbumTable(), TUstawienia(), xml);
    ASSERT_EQ(import.status, TellicoStatus::Read);
    ASSERT_EQ(import.albums.added, 1);
    EXPECT_EQ(import.albums.change.inserted.front().row[ColumnTitle], std::string(60, 'T'));
}

TEST(TellicoCollection, OnlyRegularFilesOfSomeSizeAreRead)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe.tc").c_str(), 0644), 0);
    // A gigabyte, sparse: refused by its size, not read.
    const std::string large = dir.file("large.tc");
    test::writeBytes(large, {'P', 'K', 3, 4});
    ASSERT_EQ(::truncate(large.c_str(), 1L << 30), 0);
    AlbumTable table;
    EXPECT_EQ(importTellicoFile(table, TUstawienia(), dir.file("pipe.tc")).status,
              TellicoStatus::CannotOpen);
    EXPECT_EQ(importTellicoFile(table, TUstawienia(), dir.file("missing.tc")).status,
              TellicoStatus::CannotOpen);
    EXPECT_EQ(importTellicoFile(table, TUstawienia(), large).status, TellicoStatus::TooLarge);
}

// Records where an operation has come, and cancels from a given position on.
class RecordingProgress : public Progress
{
public:
    explicit RecordingProgress(int cancelAt = -1) : cancelAt_(cancelAt) {}
    void setMaximum(int maximum) override { maximum_ = maximum; }
    void setPosition(int position) override { positions.push_back(position); }
    bool cancelled() override
    {
        return cancelAt_ >= 0 && !positions.empty() && positions.back() >= cancelAt_;
    }
    int maximum() const { return maximum_; }
    std::vector<int> positions;

private:
    int cancelAt_;
    int maximum_ = 0;
};

TEST(ImportProgress, MovesToTheEndAndAnulujStopsWithNothingAdded)
{
    std::string csv = "Wykonawca;Album\n";
    std::string xml = "<tellico><collection type=\"4\">";
    for (int i = 0; i < 20000; ++i) {
        csv += "Wykonawca " + std::to_string(i) + ";Album\n";
        xml += "<entry id=\"" + std::to_string(i) + "\"><title>Album</title><artists><artist>W " +
               std::to_string(i) + "</artist></artists></entry>\n";
    }
    xml += "</collection></tellico>";
    using Run = std::function<ImportResult(Progress*)>;
    const AlbumTable table;
    const std::vector<std::pair<const char*, Run>> imports = {
        {"CSV",
         [&](Progress* p) {
             return importCsv(table, TUstawienia(), csv, detectImportOptions(csv), p);
         }},
        {"Tellico",
         [&](Progress* p) { return importTellico(table, TUstawienia(), xml, p).albums; }},
    };
    for (const auto& [name, run] : imports) {
        SCOPED_TRACE(name);
        RecordingProgress whole;
        const ImportResult done = run(&whole);
        EXPECT_EQ(done.added, 20000);
        ASSERT_GT(whole.positions.size(), 1u);
        EXPECT_TRUE(std::is_sorted(whole.positions.begin(), whole.positions.end()));
        EXPECT_EQ(whole.positions.back(), whole.maximum());

        RecordingProgress cancelling(1);
        const ImportResult stopped = run(&cancelling);
        EXPECT_TRUE(stopped.cancelled);
        EXPECT_TRUE(stopped.change.empty());
        EXPECT_LT(cancelling.positions.back(), cancelling.maximum());
    }
}

TEST(CsvReader, AQuoteThatNeverClosesSpoilsOneRecordOnly)
{
    // Each line opens a quote that the next line closes; the last one stays
    // open. The record it spoils is reported at its first line, and the lines
    // below the open quote are read on their own.
    std::string chained;
    for (int i = 0; i < 3; ++i)
        chained += "x\";\"\n";
    const std::vector<CsvRecord> records = parseCsv(chained + "a;b\n", ';');
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(records[0].broken);
    EXPECT_EQ(records[0].line, 1);
    EXPECT_EQ(records[1].line, 4);
    EXPECT_EQ(records[1].fields, (std::vector<std::string>{"a", "b"}));
    // Quotes in runs: two close an empty field, three open one holding a quote.
    EXPECT_EQ(parseCsv("\"\";\"\"\"a\"\n", ';').front().fields,
              (std::vector<std::string>{"", "\"a"}));
}

} // namespace
} // namespace alborx
