// Files made to bring the program down: counts and sizes far beyond the
// data, files that never end, and special files standing where a file
// should be. Each must give a clear outcome at once.
#include "cataloguefile.h"
#include "genrelist.h"
#include "safefile.h"
#include "settings.h"
#include "tempdir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace alborx {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

class SpecialFiles : public ::testing::Test
{
protected:
    std::string fifo(const std::string& name)
    {
        const std::string path = dir_.file(name);
        EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0);
        return path;
    }

    TempDir dir_;
};

// A FIFO with no writer blocks a plain open for ever: each reader must refuse
// it at once.
TEST_F(SpecialFiles, AFifoIsRefusedByEveryReader)
{
    TUstawienia settings;
    AlbumTable table;
    table.assignAlbums({{"00001", "A", "T", "G", "O", "-", "00001", "-"}});
    settings.plikbazy = "earlier.abx";

    EXPECT_EQ(otworzbaze(table, settings, fifo("k.abx")).status, OpenStatus::CannotOpen);
    EXPECT_EQ(table.liczbaalbumow(), 1);
    EXPECT_FALSE(dolaczbaze(table, settings, dir_.file("k.abx")).joined);
    EXPECT_EQ(table.liczbaalbumow(), 1);

    TUstawienia read;
    EXPECT_FALSE(readSettingsFile(fifo("alborx.cfg"), read));
    EXPECT_TRUE(readGenreFile(fifo("alborx-gatunki.cfg")).empty());
}

TEST_F(SpecialFiles, AFifoIsNeverWrittenThrough)
{
    TUstawienia settings;
    ustawdomyslne(settings);
    AlbumTable table;
    const std::string target = fifo("k.abx");
    EXPECT_EQ(zapiszbaze(table, settings, target), WriteError::NotAFile);
    EXPECT_FALSE(writeSettingsFile(target, settings));
    EXPECT_EQ(dir_.entries(), std::vector<std::string>({"k.abx"}));
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(target.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(SpecialFiles, AGenreFileThatNeverEndsIsTakenAsMissing)
{
    const std::string link = dir_.file("alborx-gatunki.cfg");
    ASSERT_EQ(::symlink("/dev/zero", link.c_str()), 0);
    EXPECT_TRUE(readGenreFile(link).empty());
    TUstawienia settings;
    EXPECT_FALSE(readSettingsFile(link, settings));
}

TEST(HostileGenres, AHugeGenreFileIsReadOnlyUpToItsBounds)
{
    TempDir dir;
    const std::string name = dir.file("alborx-gatunki.cfg");
    // One overlong line, then short lines far past the byte bound.
    std::string text(kGenreLineMostBytes + 500, 'x');
    text += "\r\n";
    while (text.size() < kGenreFileMostBytes + 4096)
        text += "Rock\r\n";
    writeBytes(name, std::vector<std::uint8_t>(text.begin(), text.end()));

    const std::vector<std::string> genres = readGenreFile(name);
    ASSERT_FALSE(genres.empty());
    EXPECT_EQ(genres.front(), std::string(kGenreLineMostBytes, 'x'));
    EXPECT_LE(genres.size(), kGenreFileMostBytes / 6);
    EXPECT_TRUE(std::all_of(genres.begin() + 1, genres.end(),
                            [](const std::string& g) { return g == "Rock"; }));
}

TEST(HostileGenres, NoMoreGenresThanTheBoundAreRead)
{
    TempDir dir;
    const std::string name = dir.file("alborx-gatunki.cfg");
    std::string text;
    for (std::size_t i = 0; i < kGenreMostLines + 10; ++i)
        text += "g\n";
    writeBytes(name, std::vector<std::uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(readGenreFile(name).size(), kGenreMostLines);
}

// Adding many genres at once must give exactly the list that adding them one
// by one gives, duplicates, case and trailing spaces included.
TEST(GenreBatch, AddingManyAtOnceEqualsAddingThemOneByOne)
{
    const std::vector<std::string> pool = {"Rock",   "rock",   "Jazz  ", "Ąbc", "abc",
                                           "Żywiec", "Zespół", "",       "   ", "Blues",
                                           "BLUES",  "Ćma",    "ćma"};
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        GenreList start;
        GenreList oneByOne;
        std::vector<std::string> offered;
        for (int i = 0; i < 4; ++i) {
            const std::string& name = pool[random() % pool.size()];
            start.dodajgatunek(name);
            oneByOne.dodajgatunek(name);
        }
        for (int i = 0; i < 12; ++i)
            offered.push_back(pool[random() % pool.size()]);
        int added = 0;
        for (const std::string& name : offered)
            added += oneByOne.dodajgatunek(name) ? 1 : 0;
        EXPECT_EQ(static_cast<int>(start.dodajgatunki(offered).size()), added);
        EXPECT_EQ(start.items(), oneByOne.items());
        // The batch keeps its keys: a later single offer sees them.
        for (const std::string& name : pool)
            EXPECT_EQ(start.dodajgatunek(name), oneByOne.dodajgatunek(name));
    }
}

TEST(GenreBatch, AListInReverseOrderIsSortedWithItsDuplicates)
{
    std::vector<std::string> names;
    for (int i = 20000; i > 0; --i)
        names.push_back("Gatunek " + std::to_string(i % 15000));
    GenreList list;
    list.assign(names);
    EXPECT_EQ(list.count(), 20000);
    EXPECT_TRUE(
        std::is_sorted(list.items().begin(), list.items().end(),
                       [](const std::string& a, const std::string& b) { return genreLess(a, b); }));
}

} // namespace
} // namespace alborx
