#include "csvexchange.h"
#include "tempdir.h"

#include <gtest/gtest.h>

namespace alborx {
namespace {

using test::readBytes;
using test::TempDir;

std::string text(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// An import as the window makes it: the albums read, then appended.
ImportResult importText(AlbumTable& table, TUstawienia& counters, const std::string& csv)
{
    ImportResult result = importCsv(table, counters, csv, detectImportOptions(csv));
    redoChange(table, counters, result.change);
    return result;
}

TEST(CsvExport, WritesTheListAsSpreadsheetsReadIt)
{
    EXPECT_EQ(csvField("Kult", ';'), "Kult");
    EXPECT_EQ(csvField("a;b", ';'), "\"a;b\"");
    EXPECT_EQ(csvField("a,b", ';'), "a,b");
    EXPECT_EQ(csvField("Say \"Hi\"", ';'), "\"Say \"\"Hi\"\"\"");
    EXPECT_EQ(csvField("two\r\nlines", ';'), "\"two\r\nlines\"");

    TempDir dir;
    AlbumTable table;
    table.assignAlbums({{"00001",
                         "Stare D\xEA"
                         "by",
                         "A;B", "Rock", "O", "-", "00001", "-"}});
    ASSERT_EQ(exportCsv(dir.file("k.csv"), table), WriteError::None);
    EXPECT_EQ(text(readBytes(dir.file("k.csv"))),
              "\xEF\xBB\xBFID;Wykonawca;Album;Gatunek;CD;MC;ID CD;ID MC\r\n"
              "00001;Stare D\xC4\x99"
              "by;\"A;B\";Rock;O;-;00001;-\r\n");
}

TEST(CsvExchange, CardsTravelInColumnsOfTheirOwn)
{
    AlbumTable table;
    table.assignAlbums({{"00001", "Kult", "Spokojnie", "Rock", "O", "-", "00001", "-"},
                        {"00002", "Armia", "Legenda", "Punk", "O", "-", "00002", "-"}});
    AlbumCards cards;
    AlbumCard card;
    card.rok = "1988";
    card.wytwornia = "Arston; Polton";
    card.uwagi = "Żółta okładka\r\ndrugi wiersz";
    cards.apply({{table.rowKey(1), nullptr, cardInMemory(card, {})}}, true);
    std::string csv;
    writeCsv(
        table, [&](std::string_view piece) { csv += piece; }, nullptr, &cards);
    EXPECT_EQ(csv, "\xEF\xBB\xBFID;Wykonawca;Album;Gatunek;CD;MC;ID CD;ID MC;Rok;Wytwórnia;"
                   "Numer katalogowy;Kraj;Kod kreskowy;Uwagi\r\n"
                   "00001;Kult;Spokojnie;Rock;O;-;00001;-;1988;\"Arston; Polton\";;;;"
                   "\"Żółta okładka\r\ndrugi wiersz\"\r\n"
                   "00002;Armia;Legenda;Punk;O;-;00002;-;;;;;;\r\n");

    AlbumTable back;
    TUstawienia counters;
    const ImportResult imported = importText(back, counters, csv);
    ASSERT_EQ(imported.change.cards.size(), 1u);
    EXPECT_EQ(imported.change.cards[0].after->inMemory->texts, card);
    EXPECT_EQ(imported.change.cards[0].key, back.rowKey(1));
    // Without cards the export is what it always was.
    cards.apply({{table.rowKey(1), nullptr, nullptr}}, true);
    std::string plain;
    writeCsv(
        table, [&](std::string_view piece) { plain += piece; }, nullptr, &cards);
    EXPECT_EQ(plain.find("Rok"), std::string::npos);
}

TEST(CsvExport, AFailedWriteLeavesTheEarlierFile)
{
    TempDir dir;
    test::writeBytes(dir.file("k.csv"), {'o', 'l', 'd'});
    AlbumTable table;
    injectWriteFault(WriteFault::Middle);
    EXPECT_EQ(exportCsv(dir.file("k.csv"), table), WriteError::WriteFailed);
    EXPECT_EQ(text(readBytes(dir.file("k.csv"))), "old");
    EXPECT_EQ(dir.entries(), std::vector<std::string>({"k.csv"}));
}

TEST(CsvExchange, ARoundTripGivesBackEveryCell)
{
    AlbumTable table;
    table.assignAlbums({
        {"00001",
         "Stare D\xEA"
         "by",
         "Korzenie", "Rock", "O", "-", "00001", "-"},
        {"00002", "\"Cytat\" i ;", "Tytu\xB3 z, przecinkiem", "Poezja \x9Cpiewana", "P", "K",
         "00002", "00001"},
        {"00002", "Ten sam ID", "", "", "-", "M", "-", "00002"},
        {"00150", "", "Bez wykonawcy", "Jazz", "K", "O", "00003", "00151"},
    });
    TempDir dir;
    ASSERT_EQ(exportCsv(dir.file("k.csv"), table), WriteError::None);

    AlbumTable back;
    TUstawienia counters;
    const std::string csv = text(readBytes(dir.file("k.csv")));
    const ImportResult result = importText(back, counters, csv);
    EXPECT_EQ(result.added, 4);
    EXPECT_TRUE(result.skipped.empty());
    EXPECT_EQ(result.replaced, 0);
    ASSERT_EQ(back.liczbaalbumow(), 4);
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(back.row(r), table.row(r)) << r;
}

TEST(CsvParse, QuotesSeparatorsAndLineEnds)
{
    const auto records = parseCsv("a;\"b;c\";\"d\"\"e\"\r\n\r\n\"two\nlines\";x\ry;z\n", ';');
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].fields, (std::vector<std::string>{"a", "b;c", "d\"e"}));
    EXPECT_EQ(records[0].line, 1);
    EXPECT_EQ(records[1].fields, (std::vector<std::string>{"two\nlines", "x"}));
    EXPECT_EQ(records[1].line, 3);
    EXPECT_EQ(records[2].fields, (std::vector<std::string>{"y", "z"}));
    EXPECT_EQ(records[2].line, 5);
}

TEST(CsvParse, AnUnclosedQuoteSpoilsOnlyItsOwnLine)
{
    const auto records = parseCsv("a;b\n\"open;c\nd;e\nf;g\n", ';');
    ASSERT_EQ(records.size(), 4u);
    EXPECT_TRUE(records[1].broken);
    EXPECT_EQ(records[1].line, 2);
    EXPECT_EQ(records[2].fields, (std::vector<std::string>{"d", "e"}));
    EXPECT_EQ(records[2].line, 3);
    EXPECT_EQ(records[3].line, 4);
}

TEST(CsvParse, HugeFieldsAndEndlessRecordsAreKeptToTheirBounds)
{
    const std::string huge(1 << 20, 'x');
    const auto records =
        parseCsv(huge + ";\"" + huge + "\"\n" + std::string(100000, ';') + "z\n", ';');
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields, (std::vector<std::string>{std::string(kMostCsvFieldBytes, 'x'),
                                                           std::string(kMostCsvFieldBytes, 'x')}));
    EXPECT_EQ(records[1].fields.size(), kMostCsvFields);
    EXPECT_EQ(records[1].line, 2);

    // The detection and the preview read the beginning, in whole characters;
    // a quote the cut leaves open is no broken record, and the last record
    // there, maybe cut, does not count for the separator.
    const std::string polish = "\xC5\x82" + std::string(kCsvSampleBytes - 3, 'a') + "\xC5\x82";
    EXPECT_EQ(csvSample(polish).size(), kCsvSampleBytes - 1);
    EXPECT_EQ(detectImportOptions(polish).encoding, CsvEncoding::Utf8);
    const std::string longFirst = "a,b,c;d\n\"" + huge + "\";T\n";
    EXPECT_EQ(detectSeparator(csvSample(longFirst), true), ',');
    const auto begun = parseCsv(csvSample(longFirst), ',', 5, true);
    ASSERT_EQ(begun.size(), 2u);
    EXPECT_FALSE(begun[1].broken);
}

TEST(CsvDetect, SeparatorAndEncoding)
{
    EXPECT_EQ(detectSeparator("a;b;c\n1;2;3\n"), ';');
    EXPECT_EQ(detectSeparator("a,b,c\n1,2,3\n"), ',');
    EXPECT_EQ(detectSeparator("a\tb\n1\t2\n"), '\t');
    // Commas inside quotes do not count; the semicolon is on every line.
    EXPECT_EQ(detectSeparator("\"a,b,c\";d\n\"e,f\";g\n"), ';');
    EXPECT_EQ(detectSeparator("single\n"), ';');

    EXPECT_EQ(detectEncoding("\xEF\xBB\xBF"
                             "abc"),
              CsvEncoding::Utf8);
    EXPECT_EQ(detectEncoding("Stare D\xC4\x99"
                             "by"),
              CsvEncoding::Utf8);
    EXPECT_EQ(detectEncoding("Stare D\xEA"
                             "by"),
              CsvEncoding::Windows1250);
    EXPECT_EQ(withoutByteOrderMark("\xEF\xBB\xBF"
                                   "x"),
              "x");
}

TEST(CsvDetect, ColumnsAreMatchedByTheirHeaders)
{
    const CsvImportOptions english =
        detectImportOptions("Title,Artist,Year,Genre,CD\nT,A,1999,G,O\n");
    EXPECT_TRUE(english.header);
    EXPECT_EQ(english.separator, ',');
    using Fields = std::array<int, kImportFieldCount>;
    EXPECT_EQ(english.columns, (Fields{-1, 1, 0, 3, 4, -1, -1, -1, -1, 2, -1, -1, -1, -1, -1}));

    const CsvImportOptions polish =
        detectImportOptions("Gatunek;Tytuł;Zespół;Kaseta;ID MC;Nośnik\n");
    EXPECT_EQ(polish.columns, (Fields{-1, 2, 1, 0, -1, 3, -1, 4, 5, -1, -1, -1, -1, -1, -1}));

    // The exports of Tellico and Discogs, as those programs write them.
    const CsvImportOptions tellico = detectImportOptions(
        "Album,Medium,Artist,Label,Year,Genre,Tracks,Rating,Purchase Date,Gift,Purchase "
        "Price,Loaned,Keywords,Cover,Comments,ID,Date Created,Date Modified\n");
    EXPECT_EQ(tellico.columns, (Fields{15, 2, 0, 5, -1, -1, -1, -1, 1, 4, 3, -1, -1, -1, 14}));
    const CsvImportOptions discogs = detectImportOptions(
        "Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,CollectionFolder,Date "
        "Added,Collection Media Condition,Collection Sleeve Condition,Collection Notes\n");
    EXPECT_EQ(discogs.columns, (Fields{-1, 1, 2, -1, -1, -1, -1, -1, 4, 6, 3, 0, -1, -1, 12}));

    // No header: the columns come in the export's order.
    const CsvImportOptions none = detectImportOptions("00001;Kult;Spokojnie\n");
    EXPECT_FALSE(none.header);
    EXPECT_EQ(none.columns, (Fields{0, 1, 2, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
}

TEST(CsvImport, MediaIdsAndLimitsFollowTheEditorsRules)
{
    AlbumTable table;
    table.assignAlbums({{"00001", "Obecny", "T", "", "O", "-", "00001", "-"}});
    table.setLiczbaalbumow(1);
    TUstawienia counters;
    const std::string csv = "Wykonawca;Album;CD;MC;ID;ID CD;ID MC\n"
                            "A;1;o;Kopia;7;;\n"
                            "B;2;Z MP3 (M);-;;x;\n"
                            "C;3;;;0;;\n"
                            "D;4;tak;P;;;9\n"
                            "" +
                            std::string(40, 'w') + ";" + std::string(70, 't') + ";;;;;\n";
    const ImportResult result = importText(table, counters, csv);
    ASSERT_EQ(result.added, 5);
    EXPECT_EQ(result.change.insertedAt, 2);
    const auto row = [&](int r) { return table.row(r); };
    EXPECT_EQ(row(2), (Row{"00007", "A", "1", "", "O", "K", "00002", "00001"}));
    // The next free IDs, around those in use (1 and 7).
    EXPECT_EQ(row(3), (Row{"00002", "B", "2", "", "M", "-", "00003", "-"}));
    // No medium: an original CD.
    EXPECT_EQ(row(4), (Row{"00003", "C", "3", "", "O", "-", "00004", "-"}));
    // Any other text marks an original.
    EXPECT_EQ(row(5), (Row{"00004", "D", "4", "", "O", "P", "00005", "00009"}));
    EXPECT_EQ(row(6)[ColumnPerformer].size(), 35u);
    EXPECT_EQ(row(6)[ColumnTitle].size(), 60u);
    EXPECT_EQ(counters.nastid, 5);
    EXPECT_EQ(counters.nastidcd, 6);
}

TEST(CsvImport, AFreeIdIsOneNoLineOfTheFileNames)
{
    AlbumTable table;
    TUstawienia counters;
    const ImportResult result = importText(table, counters,
                                           "ID;Wykonawca;Album;ID CD\n"
                                           ";Kult;Spokojnie;\n"
                                           "1;Republika;Nowe sytuacje;1\n"
                                           ";Perfect;Unu;\n"
                                           "2;Lady Pank;Ohyda;2\n");
    ASSERT_EQ(result.added, 4);
    std::vector<std::pair<std::string, std::string>> ids;
    for (int r = 1; r <= 4; ++r)
        ids.emplace_back(table.cell(ColumnId, r), table.cell(ColumnCdId, r));
    EXPECT_EQ(ids,
              (std::vector<std::pair<std::string, std::string>>{
                  {"00003", "00003"}, {"00001", "00001"}, {"00004", "00004"}, {"00002", "00002"}}));
}

TEST(CsvImport, UnreadableLinesAreSkippedAndReported)
{
    AlbumTable table;
    TUstawienia counters;
    const std::string csv = "Wykonawca;Album\n"
                            "A;1\n"
                            ";\n"
                            "\"open;2\n"
                            "   ;   \n"
                            "B;3\n";
    const ImportResult result = importText(table, counters, csv);
    EXPECT_EQ(result.added, 2);
    ASSERT_EQ(result.skipped.size(), 3u);
    EXPECT_EQ(result.skipped[0].line, 3);
    EXPECT_EQ(result.skipped[0].reason, SkipReason::NoPerformerOrTitle);
    EXPECT_EQ(result.skipped[1].line, 4);
    EXPECT_EQ(result.skipped[1].reason, SkipReason::UnclosedQuote);
    EXPECT_EQ(result.skipped[2].line, 5);
    EXPECT_EQ(table.cell(ColumnPerformer, 2), "B");
}

TEST(CsvImport, SkippedLinesAreCountedAndOnlyTheFirstKept)
{
    std::string csv = "Wykonawca;Album\n";
    for (int i = 0; i < 100000; ++i)
        csv += ";\r\n";
    csv += "\"open;x\n";
    AlbumTable table;
    TUstawienia counters;
    const ImportResult result = importText(table, counters, csv);
    EXPECT_EQ(result.skipped.size(), kSkippedKept);
    EXPECT_EQ(result.skipped.back().line, 11);
    EXPECT_EQ(result.skippedCount(), 100001);
    EXPECT_EQ(result.skippedFor[static_cast<std::size_t>(SkipReason::NoPerformerOrTitle)], 100000);
    EXPECT_EQ(result.skippedFor[static_cast<std::size_t>(SkipReason::UnclosedQuote)], 1);
}

TEST(CsvImport, ABrokenFirstLineLeavesTheColumnsInTheExportsOrder)
{
    AlbumTable table;
    TUstawienia counters;
    const ImportResult result =
        importText(table, counters,
                   "\"ID;Wykonawca\n00004;A;T;Rock;-;O;-;00002\n"
                   "00005;B;T;Muzyka ludowa i biesiadna dla wszystkich;O;-;00003;-\n");
    EXPECT_EQ(result.added, 2);
    EXPECT_EQ(result.skippedCount(), 1);
    EXPECT_EQ(table.row(1), (Row{"00004", "A", "T", "Rock", "-", "O", "-", "00002"}));
    // A text cut to its column keeps no space at its end.
    EXPECT_EQ(table.cell(ColumnGenre, 2), "Muzyka ludowa i biesiadna dla");
}

TEST(CsvImport, TextsComeInTheirEncodingAndForeignCharactersAreCounted)
{
    AlbumTable table;
    TUstawienia counters;
    // With a byte-order mark, UTF-8; a letter outside Windows-1250 becomes
    // its nearest one, any other character "?".
    const ImportResult utf8 = importText(
        table, counters,
        "\xEF\xBB\xBFWykonawca;Album\nR\xC3\xB8yksopp \xC5\x82;\xE6\x97\xA5\xE2\x80\x90\n");
    EXPECT_EQ(utf8.added, 1);
    EXPECT_EQ(utf8.replaced, 3);
    EXPECT_EQ(table.cell(ColumnPerformer, 1), "Royksopp \xB3");
    EXPECT_EQ(table.cell(ColumnTitle, 1), "?-");

    // Without one and not UTF-8: Windows-1250, taken as it is.
    const ImportResult cp1250 = importText(table, counters, "Wykonawca;Album\nZesp\xF3\xB3;T\n");
    EXPECT_EQ(cp1250.added, 1);
    EXPECT_EQ(cp1250.replaced, 0);
    EXPECT_EQ(table.cell(ColumnPerformer, 2), "Zesp\xF3\xB3");

    // Control characters, NUL among them, become spaces in either encoding.
    for (const CsvEncoding encoding : {CsvEncoding::Utf8, CsvEncoding::Windows1250}) {
        int replaced = 0;
        EXPECT_EQ(toCatalogueText(std::string("a\0b\x01\tc\x7F", 7), encoding, replaced),
                  "a b  c ");
    }
}

} // namespace
} // namespace alborx
