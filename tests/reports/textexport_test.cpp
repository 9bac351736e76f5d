#include "cp1250.h"
#include "safefile.h"
#include "tempdir.h"
#include "textexport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace alborx {
namespace {

// The expected file: written in UTF-8 with "\n" line ends here, compared as
// Windows-1250 with CR LF.
std::string expected(std::string_view utf8)
{
    std::string text;
    for (char c : utf8) {
        if (c == '\n')
            text += "\r\n";
        else
            text += c;
    }
    return *utf8ToCp1250(text);
}

const MonthNames kMonths = {"stycze\xF1",
                            "luty",
                            "marzec",
                            "kwiecie\xF1",
                            "maj",
                            "czerwiec",
                            "lipiec",
                            "sierpie\xF1",
                            "wrzesie\xF1",
                            "pa\x9F"
                            "dziernik",
                            "listopad",
                            "grudzie\xF1"};
const ExportTime kTime{2026, 12, 9, 7, 5, 3};

constexpr char kClosing[] =
    "\n"
    "Spis utworzony przez program ALBORX! - wolny katalog płyt i kaset, zespół programistów "
    "ALBORX!\n"
    "Czas zapisu: 9.grudzień.2026. 07:05:03\n"
    "\n";

class TextExport : public ::testing::Test
{
protected:
    TextExport()
    {
        ustawdomyslne(settings_);
        settings_.podsumowanie = false;
        table_.assignAlbums({
            {"00001", *utf8ToCp1250("Dżem"), *utf8ToCp1250("Cegła"), "Blues", "O", "-", "00001",
             "-"},
            {"00002", "Kult", "Spokojnie", "Rock", "P", "O", "00002", "00001"},
            {"00003", "Maanam", "Nocny patrol", "Rock", "-", "K", "-", "00002"},
            {"00004", "Nikt", "Nic", "", "-", "-", "-", "-"},
        });
    }

    std::string run() { return exportText(table_, settings_, kTime, kMonths); }

    AlbumTable table_;
    TUstawienia settings_;
};

TEST_F(TextExport, CdThenCassettes)
{
    EXPECT_EQ(run(), expected(std::string("Płyty CD:\n"
                                          "  1. Dżem - Cegła (Blues) [O]\n"
                                          "  2. Kult - Spokojnie (Rock) [P]\n"
                                          "\n"
                                          "Kasety:\n"
                                          "  1. Kult - Spokojnie (Rock) [O]\n"
                                          "  2. Maanam - Nocny patrol (Rock) [K]\n") +
                              kClosing));
}

TEST_F(TextExport, CassettesThenCdWithTheSummary)
{
    settings_.kolejnosc = 1;
    settings_.podsumowanie = true;
    EXPECT_EQ(run(), expected(std::string("Kasety:\n"
                                          "  1. Kult - Spokojnie (Rock) [O]\n"
                                          "  2. Maanam - Nocny patrol (Rock) [K]\n"
                                          "\n"
                                          "Płyty CD:\n"
                                          "  1. Dżem - Cegła (Blues) [O]\n"
                                          "  2. Kult - Spokojnie (Rock) [P]\n"
                                          "\n"
                                          "------------------------------------\n"
                                          "Podsumowanie:\n"
                                          "Albumów: 3\n"
                                          "Płyt CD: 2\n"
                                          "Kaset: 2\n"
                                          "Tych samych albumów na CD i MC: 1\n"
                                          "Oryginałów: 2 (1 CD, 1 MC)\n"
                                          "Piratów: 1 (1 CD, 0 MC)\n"
                                          "Kopii: 1 (0 CD, 1 MC)\n"
                                          "Zgrywanych z MP3: 0 (0 CD, 0 MC)\n") +
                              kClosing));
}

TEST_F(TextExport, MixedListWithLineBreaksAndUnselectedKinds)
{
    settings_.kolejnosc = 2;
    settings_.formatcd = "%nr. %zespol\\n   %kopiacd/%kopiamc %idcd";
    settings_.wypiszcd[1] = false; // no pirate CDs
    EXPECT_EQ(run(), expected(std::string("1. Dżem\n"
                                          "   Oryginał/- 00001\n"
                                          "2. Kult\n"
                                          "   -/Oryginał 00002\n"
                                          "3. Maanam\n"
                                          "   -/Kopia -\n") +
                              kClosing));
}

TEST_F(TextExport, NothingSelectedLeavesHeadersAndClosingLines)
{
    settings_.wypiszcd.fill(false);
    settings_.wypiszmc.fill(false);
    EXPECT_EQ(run(), expected(std::string("Płyty CD:\n\nKasety:\n") + kClosing));
}

TEST_F(TextExport, ProgressMaximumCountsPassesAndSummary)
{
    settings_.podsumowanie = true;
    EXPECT_EQ(exportProgressMaximum(100, settings_), 2 * 99 + 100);
    settings_.kolejnosc = 2;
    settings_.podsumowanie = false;
    EXPECT_EQ(exportProgressMaximum(100, settings_), 99);
    EXPECT_EQ(exportProgressMaximum(0, settings_), 0);
}

TEST(TextFile, OverwritesOrAppends)
{
    test::TempDir dir;
    const std::string path = dir.file("spis.txt");
    ASSERT_TRUE(writeTextFile(path, "a\r\n", true)); // no file yet: created
    ASSERT_TRUE(writeTextFile(path, "b\r\n", true));
    EXPECT_EQ(test::readBytes(path), std::vector<std::uint8_t>({'a', '\r', '\n', 'b', '\r', '\n'}));
    ASSERT_TRUE(writeTextFile(path, "c", false));
    EXPECT_EQ(test::readBytes(path), std::vector<std::uint8_t>({'c'}));
}

TEST(TextFile, AFolderAMissingFolderOrAFifoIsAFailure)
{
    test::TempDir dir;
    EXPECT_FALSE(writeTextFile(dir.path(), "x", false));
    EXPECT_FALSE(writeTextFile(dir.file("no/such.txt"), "x", true));
    EXPECT_EQ(dir.entries(), std::vector<std::string>());
    // A FIFO with no reader would block an open for writing for ever.
    const std::string fifo = dir.file("fifo.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_FALSE(writeTextFile(fifo, "x", false));
    EXPECT_FALSE(writeTextFile(fifo, "x", true));
    EXPECT_EQ(dir.entries(), std::vector<std::string>({"fifo.txt"}));
}

TEST(TextFile, ALinkIsWrittenThroughAndStaysALink)
{
    test::TempDir dir;
    const std::string real = dir.file("real.txt");
    const std::string link = dir.file("link.txt");
    ASSERT_TRUE(writeTextFile(real, "a", false));
    ASSERT_EQ(::symlink("real.txt", link.c_str()), 0);
    ASSERT_TRUE(writeTextFile(link, "b", true));
    EXPECT_EQ(test::readBytes(real), std::vector<std::uint8_t>({'a', 'b'}));
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

class TextFileFailure : public ::testing::TestWithParam<WriteFault>
{
};

TEST_P(TextFileFailure, LeavesThePreviousFileAndNoTemporaryOne)
{
    test::TempDir dir;
    const std::string path = dir.file("spis.txt");
    ASSERT_TRUE(writeTextFile(path, "old\r\n", false));
    for (const bool append : {false, true}) {
        injectWriteFault(GetParam());
        EXPECT_FALSE(writeTextFile(path, std::string(10000, 'x'), append));
        EXPECT_EQ(test::readBytes(path), std::vector<std::uint8_t>({'o', 'l', 'd', '\r', '\n'}));
        EXPECT_EQ(dir.entries(), std::vector<std::string>({"spis.txt"}));
    }
}

TEST_P(TextFileFailure, AnExportFailingOnTheWayLeavesThePreviousFile)
{
    test::TempDir dir;
    const std::string path = dir.file("spis.txt");
    ASSERT_TRUE(writeTextFile(path, "old", false));
    AlbumTable table;
    std::vector<Row> rows(5000, Row{"00001", "A", "T", "G", "O", "O", "00001", "00001"});
    table.assignAlbums(rows);
    TUstawienia settings;
    ustawdomyslne(settings);
    for (const bool append : {false, true}) {
        settings.dolaczaj = append;
        injectWriteFault(GetParam());
        EXPECT_FALSE(writeTextExport(path, table, settings, ExportTime{}, kMonths));
        EXPECT_EQ(test::readBytes(path), std::vector<std::uint8_t>({'o', 'l', 'd'}));
        EXPECT_EQ(dir.entries(), std::vector<std::string>({"spis.txt"}));
    }
    settings.dolaczaj = true;
    ASSERT_TRUE(writeTextExport(path, table, settings, ExportTime{}, kMonths));
    EXPECT_EQ(test::readBytes(path).size(),
              3 + exportText(table, settings, ExportTime{}, kMonths).size());
}

INSTANTIATE_TEST_SUITE_P(AtEveryStage, TextFileFailure,
                         ::testing::Values(WriteFault::FirstWrite, WriteFault::Middle,
                                           WriteFault::Close));

} // namespace
} // namespace alborx
