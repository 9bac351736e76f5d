#include "binaryfields.h"
#include "cataloguefile.h"
#include "tempdir.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace alborx {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

// "Zespół Łódź" and "Żółć" in Windows-1250.
const std::string kPolishPerformer = "Zesp\xF3\xB3 \xA3\xF3"
                                     "d\x9F";
const std::string kPolishTitle = "\xAF\xF3\xB3\xE6";

void addAlbum(AlbumTable& table, const Row& row)
{
    const int n = table.liczbaalbumow() + 1;
    table.setRowCount(n + 1);
    table.setRow(n, viewOf(row));
    table.setLiczbaalbumow(n);
}

AlbumTable everyCopyKind()
{
    AlbumTable table;
    addAlbum(table, {"00001", kPolishPerformer, kPolishTitle, "Rock", "O", "-", "00001", "-"});
    addAlbum(table, {"00002", "B", "T2", "Jazz", "P", "K", "00002", "00001"});
    addAlbum(table, {"00002", "B", "T2 cd2", "Jazz", "M", "-", "00003", "-"});
    addAlbum(table, {"00003", "", "", "", "-", "M", "-", "00002"});
    return table;
}

std::vector<std::uint8_t> catalogueBytes(std::int32_t count, const std::vector<TAlbum>& albums)
{
    std::vector<std::uint8_t> bytes(kCatalogueMagic, kCatalogueMagic + kCatalogueMagicSize);
    bytes.resize(kCatalogueHeaderSize);
    putInt32(bytes.data() + kCatalogueMagicSize, count);
    for (const TAlbum& album : albums) {
        const auto record = encodeAlbum(album);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

TAlbum album(std::int32_t id, const std::string& title)
{
    TAlbum a;
    a.id = id;
    a.tytul = title;
    a.kopiacd = 1;
    a.idcd = id;
    return a;
}

TEST(CatalogueFormat, TwoAlbumsMake303BytesWithEveryFieldAtItsOffset)
{
    AlbumTable table;
    addAlbum(table, {"00042", "Perf", "Title", "Genre", "K", "-", "00007", "-"});
    addAlbum(table, {"00043", "P2", "T2", "G2", "-", "o", "-", "00009"});
    const std::vector<std::uint8_t> bytes = encodeCatalogue(table);

    ASSERT_EQ(bytes.size(), 303u);
    EXPECT_EQ(std::memcmp(bytes.data(), "PALBORX!100", 11), 0);
    EXPECT_EQ(bytes[11], 2);
    EXPECT_EQ(bytes[12] | bytes[13] | bytes[14], 0);

    const std::uint8_t* r = bytes.data() + 15;
    EXPECT_EQ(getInt32(r + 0), 42);
    EXPECT_EQ(getInt32(r + 4), 7);
    EXPECT_EQ(getInt32(r + 8), 0);
    EXPECT_EQ(r[12], 4);
    EXPECT_EQ(std::memcmp(r + 13, "Perf", 4), 0);
    EXPECT_EQ(r[48], 5);
    EXPECT_EQ(std::memcmp(r + 49, "Title", 5), 0);
    EXPECT_EQ(r[109], 5);
    EXPECT_EQ(std::memcmp(r + 110, "Genre", 5), 0);
    EXPECT_EQ(r[140], 3);
    EXPECT_EQ(r[141], 0);
    // Zero-filled behind the strings and in the reserved bytes.
    for (int offset : {17, 47, 54, 108, 115, 139, 142, 143})
        EXPECT_EQ(r[offset], 0) << offset;

    const std::uint8_t* r2 = r + 144;
    EXPECT_EQ(getInt32(r2 + 4), 0);
    EXPECT_EQ(getInt32(r2 + 8), 9);
    EXPECT_EQ(r2[140], 0);
    EXPECT_EQ(r2[141], 4); // a lower-case o is stored as "M"
}

TEST(CatalogueFormat, LongTextsAreCutToTheirCapacity)
{
    AlbumTable table;
    addAlbum(table, {"1", std::string(50, 'p'), std::string(70, 't'), std::string(40, 'g'), "-",
                     "-", "-", "-"});
    const std::vector<std::uint8_t> bytes = encodeCatalogue(table);
    const TAlbum stored = decodeAlbum(bytes.data() + 15);
    EXPECT_EQ(stored.zespol, std::string(35, 'p'));
    EXPECT_EQ(stored.tytul, std::string(60, 't'));
    EXPECT_EQ(stored.gatunek, std::string(30, 'g'));
}

TEST(CatalogueFile, RoundTripIsByteIdentical)
{
    TempDir dir;
    AlbumTable table = everyCopyKind();
    TUstawienia settings;
    ASSERT_EQ(zapiszbaze(table, settings, dir.file("a.abx")), WriteError::None);
    const auto first = readBytes(dir.file("a.abx"));
    EXPECT_EQ(first.size(), 15u + 4 * 144);

    AlbumTable loaded;
    const OpenResult opened = otworzbaze(loaded, settings, dir.file("a.abx"));
    ASSERT_EQ(opened.status, OpenStatus::Opened);
    EXPECT_FALSE(opened.damaged);
    EXPECT_EQ(loaded.liczbaalbumow(), 4);
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(loaded.row(r), table.row(r)) << "row " << r;

    ASSERT_EQ(zapiszbaze(loaded, settings, dir.file("b.abx")), WriteError::None);
    EXPECT_EQ(readBytes(dir.file("b.abx")), first);
}

TEST(CatalogueFile, EmptyCatalogueIsFifteenBytesAndOpensEmpty)
{
    TempDir dir;
    AlbumTable table;
    TUstawienia settings;
    ASSERT_EQ(zapiszbaze(table, settings, dir.file("e.abx")), WriteError::None);
    EXPECT_EQ(readBytes(dir.file("e.abx")).size(), 15u);

    AlbumTable loaded = everyCopyKind();
    settings.nastid = 12;
    ASSERT_EQ(otworzbaze(loaded, settings, dir.file("e.abx")).status, OpenStatus::Opened);
    EXPECT_EQ(loaded.rowCount(), 2);
    EXPECT_EQ(loaded.liczbaalbumow(), 0);
    EXPECT_EQ(loaded.cell(ColumnTitle, 1), "");
    EXPECT_EQ(settings.plikbazy, dir.file("e.abx"));
    EXPECT_EQ(settings.nastid, 0);
    EXPECT_EQ(settings.ostatnie[0], dir.file("e.abx"));
}

TEST(CatalogueFile, SavingKeepsOneBackupGeneration)
{
    TempDir dir;
    TUstawienia settings;
    AlbumTable table;
    const std::string name = dir.file("k.abx");
    ASSERT_EQ(zapiszbaze(table, settings, name), WriteError::None);
    EXPECT_EQ(dir.entries(), std::vector<std::string>({"k.abx"}));

    addAlbum(table, {"00001", "A", "B", "C", "O", "-", "00001", "-"});
    const auto firstVersion = readBytes(name);
    ASSERT_EQ(zapiszbaze(table, settings, name), WriteError::None);
    EXPECT_EQ(dir.entries(), std::vector<std::string>({"k.abx", "k.abx.bak"}));
    EXPECT_EQ(readBytes(name + ".bak"), firstVersion);

    const auto secondVersion = readBytes(name);
    addAlbum(table, {"00002", "A", "B", "C", "O", "-", "00001", "-"});
    ASSERT_EQ(zapiszbaze(table, settings, name), WriteError::None);
    EXPECT_EQ(dir.entries(), std::vector<std::string>({"k.abx", "k.abx.bak"}));
    EXPECT_EQ(readBytes(name + ".bak"), secondVersion);
    EXPECT_EQ(readBytes(name).size(), 15u + 2 * 144);
    EXPECT_EQ(settings.plikbazy, name);
}

TEST(CatalogueFile, SavedFileKeepsThePermissionsOfTheFileItReplaces)
{
    TempDir dir;
    TUstawienia settings;
    AlbumTable table;
    const std::string name = dir.file("p.abx");
    ASSERT_EQ(zapiszbaze(table, settings, name), WriteError::None);
    ASSERT_EQ(::chmod(name.c_str(), 0640), 0);
    ASSERT_EQ(zapiszbaze(table, settings, name), WriteError::None);
    struct stat info
    {
    };
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(CatalogueFile, ANameOfMoreThan255CharactersIsKeptWholeButNotRemembered)
{
    TempDir dir;
    TUstawienia settings;
    AlbumTable table;
    const std::string name = dir.file(std::string(250, 'n'));
    ASSERT_GT(name.size(), 255u);
    ASSERT_EQ(zapiszbaze(table, settings, name), WriteError::None);
    // The whole name serves the run: the next save writes the same file.
    EXPECT_EQ(settings.plikbazy, name);
    EXPECT_EQ(settings.ostatnie[0], "");
    ASSERT_EQ(zapiszbaze(table, settings, settings.plikbazy), WriteError::None);
    EXPECT_EQ(dir.entries(),
              std::vector<std::string>({std::string(250, 'n'), std::string(250, 'n') + ".bak"}));
    AlbumTable opened;
    EXPECT_EQ(otworzbaze(opened, settings, name).status, OpenStatus::Opened);
    EXPECT_EQ(settings.plikbazy, name);
    // The settings file keeps no cut name.
    const std::vector<std::uint8_t> record = encodeSettings(settings);
    EXPECT_EQ(record[912], 0);
}

TEST(CatalogueFile, PolishFileNamesAreStoredInWindows1250AndFoundInUtf8)
{
    TempDir dir;
    TUstawienia settings;
    AlbumTable table = everyCopyKind();
    const std::string name = dir.file("\xAF\xF3\xB3w.abx"); // Żółw.abx
    ASSERT_EQ(zapiszbaze(table, settings, name), WriteError::None);
    EXPECT_EQ(dir.entries(), std::vector<std::string>({"Żółw.abx"}));
    EXPECT_EQ(settings.plikbazy, name);
    AlbumTable loaded;
    EXPECT_EQ(otworzbaze(loaded, settings, name).status, OpenStatus::Opened);
    EXPECT_EQ(dolaczbaze(loaded, settings, name).loaded, 4);
}

class SaveFailure : public ::testing::Test
{
protected:
    void SetUp() override
    {
        table_ = everyCopyKind();
        settings_.plikbazy = "previous.abx";
        settings_.ostatnie[0] = "previous.abx";
    }

    void expectNothingChanged() const
    {
        EXPECT_EQ(settings_.plikbazy, "previous.abx");
        EXPECT_EQ(settings_.ostatnie[0], "previous.abx");
        EXPECT_EQ(settings_.ostatnie[1], "");
    }

    AlbumTable table_;
    TUstawienia settings_;
};

TEST_F(SaveFailure, ReadOnlyFolderLeavesFileAndBackupIntact)
{
    TempDir dir;
    const std::string name = dir.file("c.abx");
    writeBytes(name, {'o', 'l', 'd'});
    writeBytes(name + ".bak", {'b', 'a', 'k'});
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);

    // Root writes into read-only folders; the save runs as an ordinary user.
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
        ASSERT_EQ(::seteuid(65534), 0);
    }
    const bool saved = zapiszbaze(table_, settings_, name) == WriteError::None;
    if (asRoot) {
        ASSERT_EQ(::seteuid(0), 0);
    }

    EXPECT_FALSE(saved);
    EXPECT_EQ(readBytes(name), std::vector<std::uint8_t>({'o', 'l', 'd'}));
    EXPECT_EQ(readBytes(name + ".bak"), std::vector<std::uint8_t>({'b', 'a', 'k'}));
    EXPECT_EQ(dir.entries(), std::vector<std::string>({"c.abx", "c.abx.bak"}));
    expectNothingChanged();
}

TEST_F(SaveFailure, AFolderInThePlaceOfTheFileIsNotTouched)
{
    TempDir dir;
    const std::string name = dir.file("d.abx");
    ASSERT_EQ(::mkdir(name.c_str(), 0755), 0);
    writeBytes(name + ".bak", {'b'});
    EXPECT_NE(zapiszbaze(table_, settings_, name), WriteError::None);
    struct stat info
    {
    };
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(readBytes(name + ".bak"), std::vector<std::uint8_t>({'b'}));
    EXPECT_EQ(dir.entries(), std::vector<std::string>({"d.abx", "d.abx.bak"}));
    expectNothingChanged();
}

// Runs f as an ordinary user when the tests run as root, who may write
// anything.
template <typename F> auto asOrdinaryUser(F f)
{
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        EXPECT_EQ(::seteuid(65534), 0);
    }
    auto result = f();
    if (asRoot) {
        EXPECT_EQ(::seteuid(0), 0);
    }
    return result;
}

TEST_F(SaveFailure, AReadOnlyCatalogueIsNotReplaced)
{
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const std::string name = dir.file("c.abx");
    writeBytes(name, {'o', 'l', 'd'});
    ASSERT_EQ(::chmod(name.c_str(), 0444), 0);
    EXPECT_EQ(asOrdinaryUser([&] { return zapiszbaze(table_, settings_, name); }),
              WriteError::ReadOnly);
    EXPECT_EQ(readBytes(name), std::vector<std::uint8_t>({'o', 'l', 'd'}));
    EXPECT_EQ(dir.entries(), std::vector<std::string>({"c.abx"}));
    expectNothingChanged();
}

TEST_F(SaveFailure, WhenNoBackupCanBeMadeTheOldFileStays)
{
    TempDir dir;
    const std::string name = dir.file("x.abx");
    writeBytes(name, {'o', 'l', 'd'});
    ASSERT_EQ(::mkdir((name + ".bak").c_str(), 0755), 0);
    EXPECT_EQ(zapiszbaze(table_, settings_, name), WriteError::NoBackup);
    EXPECT_EQ(readBytes(name), std::vector<std::uint8_t>({'o', 'l', 'd'}));
    EXPECT_EQ(dir.entries(), std::vector<std::string>({"x.abx", "x.abx.bak"}));
    expectNothingChanged();
}

TEST_F(SaveFailure, ABackupOfAnotherUserInAStickyFolderStopsTheSave)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make a file of another user";
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 01777), 0);
    const std::string name = dir.file("x.abx");
    writeBytes(name, {'o', 'l', 'd'});
    writeBytes(name + ".bak", {'b'});
    ASSERT_EQ(::chown((name + ".bak").c_str(), 0, 0), 0);
    ASSERT_EQ(::chown(name.c_str(), 65534, 65534), 0);
    EXPECT_EQ(asOrdinaryUser([&] { return zapiszbaze(table_, settings_, name); }),
              WriteError::NoBackup);
    EXPECT_EQ(readBytes(name), std::vector<std::uint8_t>({'o', 'l', 'd'}));
    EXPECT_EQ(readBytes(name + ".bak"), std::vector<std::uint8_t>({'b'}));
    EXPECT_EQ(dir.entries(), std::vector<std::string>({"x.abx", "x.abx.bak"}));
}

TEST(SaveThroughLink, TheRealFileIsWrittenAndTheLinkStays)
{
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.file("real").c_str(), 0755), 0);
    const std::string real = dir.file("real/k.abx");
    writeBytes(real, {'o', 'l', 'd'});
    const std::string link = dir.file("link.abx");
    ASSERT_EQ(::symlink("real/k.abx", link.c_str()), 0);

    TUstawienia settings;
    AlbumTable table = everyCopyKind();
    ASSERT_EQ(zapiszbaze(table, settings, link), WriteError::None);
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(readBytes(real + ".bak"), std::vector<std::uint8_t>({'o', 'l', 'd'}));
    EXPECT_EQ(settings.plikbazy, link);

    table.setCell(ColumnTitle, 1, "Nowy");
    ASSERT_EQ(zapiszbaze(table, settings, link), WriteError::None);
    AlbumTable again;
    ASSERT_EQ(otworzbaze(again, settings, real).status, OpenStatus::Opened);
    EXPECT_EQ(again.cell(ColumnTitle, 1), "Nowy");
    EXPECT_EQ(dir.entries(), std::vector<std::string>({"link.abx", "real"}));
}

TEST(SaveTemporaries, ThoseOfEndedProcessesAreRemovedByTheNextSave)
{
    TempDir dir;
    // A process that has ended, so that its number is free.
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ASSERT_GT(ended, 0);
    int status = 0;
    ::waitpid(ended, &status, 0);
    const std::string stale = ".alborx-" + std::to_string(ended) + "-3.tmp";
    const std::string running = ".alborx-" + std::to_string(::getppid()) + "-1.tmp";
    const std::string other = ".alborx-notes.tmp";
    for (const std::string& name : {stale, running, other})
        writeBytes(dir.file(name), {'t'});

    TUstawienia settings;
    AlbumTable table = everyCopyKind();
    ASSERT_EQ(zapiszbaze(table, settings, dir.file("k.abx")), WriteError::None);
    EXPECT_EQ(dir.entries(), std::vector<std::string>({running, other, "k.abx"}));
}

TEST_F(SaveFailure, AMissingFolderIsReported)
{
    TempDir dir;
    EXPECT_NE(zapiszbaze(table_, settings_, dir.file("no/such/folder.abx")), WriteError::None);
    EXPECT_TRUE(dir.entries().empty());
    expectNothingChanged();
}

class OpenCatalogue : public ::testing::Test
{
protected:
    AlbumTable table_ = everyCopyKind();
    TUstawienia settings_;
    TempDir dir_;
};

TEST_F(OpenCatalogue, MissingFileLeavesAlbumsAndEmptiesPlikbazy)
{
    settings_.plikbazy = "x.abx";
    const OpenResult result = otworzbaze(table_, settings_, dir_.file("none.abx"));
    EXPECT_EQ(result.status, OpenStatus::CannotOpen);
    EXPECT_EQ(table_.liczbaalbumow(), 4);
    EXPECT_EQ(settings_.plikbazy, "");
    EXPECT_EQ(settings_.ostatnie[0], "");
}

TEST_F(OpenCatalogue, WrongOrShortHeaderLeavesAlbums)
{
    for (const std::vector<std::uint8_t>& bytes :
         {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{'P', 'A', 'L'},
          std::vector<std::uint8_t>(300, 'x')}) {
        settings_.plikbazy = "x.abx";
        writeBytes(dir_.file("bad.abx"), bytes);
        EXPECT_EQ(otworzbaze(table_, settings_, dir_.file("bad.abx")).status,
                  OpenStatus::BadHeader);
        EXPECT_EQ(table_.liczbaalbumow(), 4);
        EXPECT_EQ(settings_.plikbazy, "");
    }
}

TEST_F(OpenCatalogue, AFolderCannotBeOpened)
{
    EXPECT_EQ(otworzbaze(table_, settings_, dir_.path()).status, OpenStatus::CannotOpen);
    EXPECT_EQ(table_.liczbaalbumow(), 4);
}

TEST_F(OpenCatalogue, BlankNameDoesNothing)
{
    settings_.plikbazy = "x.abx";
    EXPECT_EQ(otworzbaze(table_, settings_, "   ").status, OpenStatus::NoName);
    EXPECT_EQ(settings_.plikbazy, "x.abx");
}

TEST_F(OpenCatalogue, TheFirstAmpersandIsRemovedFromTheName)
{
    writeBytes(dir_.file("RB.abx"), catalogueBytes(1, {album(5, "T")}));
    const OpenResult result = otworzbaze(table_, settings_, dir_.file("R&B.abx"));
    EXPECT_EQ(result.status, OpenStatus::Opened);
    EXPECT_EQ(result.name, dir_.file("RB.abx"));
    EXPECT_EQ(settings_.plikbazy, dir_.file("RB.abx"));
    EXPECT_EQ(table_.cell(ColumnId, 1), "00005");

    EXPECT_EQ(withoutAmpersand(withAmpersandKept("R&B & co")), "R&B & co");
    EXPECT_EQ(withAmpersandKept("plain"), "plain");
    const OpenResult missing = otworzbaze(table_, settings_, dir_.file("A&&B.abx"));
    EXPECT_EQ(missing.status, OpenStatus::CannotOpen);
    EXPECT_EQ(missing.name, dir_.file("A&B.abx"));
}

TEST_F(OpenCatalogue, CountLargerThanTheRecordsLoadsTheWholeRecords)
{
    auto bytes = catalogueBytes(3, {album(1, "a"), album(2, "b")});
    bytes.resize(bytes.size() + 100); // and a cut third record
    writeBytes(dir_.file("t.abx"), bytes);
    const OpenResult result = otworzbaze(table_, settings_, dir_.file("t.abx"));
    EXPECT_EQ(result.status, OpenStatus::Opened);
    EXPECT_TRUE(result.damaged);
    EXPECT_EQ(result.loaded, 2);
    EXPECT_EQ(table_.liczbaalbumow(), 2);
    EXPECT_EQ(table_.rowCount(), 3);
    EXPECT_EQ(table_.cell(ColumnTitle, 2), "b");
}

TEST_F(OpenCatalogue, HugeAndNegativeCountsLoadWhatIsThere)
{
    for (std::int32_t count : {2147483647, -1, -2147483647 - 1}) {
        writeBytes(dir_.file("h.abx"), catalogueBytes(count, {album(1, "a")}));
        const OpenResult result = otworzbaze(table_, settings_, dir_.file("h.abx"));
        EXPECT_EQ(result.status, OpenStatus::Opened) << count;
        EXPECT_TRUE(result.damaged) << count;
        EXPECT_EQ(table_.liczbaalbumow(), 1) << count;
        EXPECT_EQ(table_.cell(ColumnTitle, 1), "a");
    }
}

TEST_F(OpenCatalogue, MagicWithoutCountIsAnEmptyDamagedCatalogue)
{
    writeBytes(dir_.file("m.abx"), {'P', 'A', 'L', 'B', 'O', 'R', 'X', '!', '1', '0', '0', 1});
    const OpenResult result = otworzbaze(table_, settings_, dir_.file("m.abx"));
    EXPECT_EQ(result.status, OpenStatus::Opened);
    EXPECT_TRUE(result.damaged);
    EXPECT_EQ(table_.liczbaalbumow(), 0);
    EXPECT_EQ(table_.rowCount(), 2);
}

TEST_F(OpenCatalogue, LengthBytesAboveCapacityAreClampedAndUnknownCodesReadAsM)
{
    auto bytes = catalogueBytes(1, {album(9, "")});
    std::uint8_t* r = bytes.data() + 15;
    std::memset(r + 12, 'z', 144 - 12);
    r[12] = 255;  // performer, capacity 35
    r[48] = 255;  // title, capacity 60
    r[109] = 255; // genre, capacity 30
    r[140] = 9;
    r[141] = 255;
    writeBytes(dir_.file("l.abx"), bytes);
    const OpenResult result = otworzbaze(table_, settings_, dir_.file("l.abx"));
    EXPECT_TRUE(result.damaged);
    EXPECT_EQ(table_.cell(ColumnPerformer, 1).size(), 35u);
    EXPECT_EQ(table_.cell(ColumnTitle, 1).size(), 60u);
    EXPECT_EQ(table_.cell(ColumnGenre, 1).size(), 30u);
    EXPECT_EQ(table_.cell(ColumnCdKind, 1), "M");
    EXPECT_EQ(table_.cell(ColumnMcKind, 1), "M");
}

TEST_F(OpenCatalogue, AnUnknownCopyKindAloneMarksTheFileDamaged)
{
    for (const std::uint8_t code : {5, 255}) {
        TAlbum odd = album(1, "t");
        odd.kopiamc = code;
        writeBytes(dir_.file("u.abx"), catalogueBytes(1, {odd}));
        const OpenResult result = otworzbaze(table_, settings_, dir_.file("u.abx"));
        EXPECT_TRUE(result.damaged) << int(code);
        EXPECT_EQ(result.loaded, 1);
        EXPECT_EQ(table_.cell(ColumnMcKind, 1), "M");
    }
    writeBytes(dir_.file("k.abx"), catalogueBytes(1, {album(1, "t")}));
    EXPECT_FALSE(otworzbaze(table_, settings_, dir_.file("k.abx")).damaged);
}

// Found by fuzzing: a negative ID shows as "000-5" and was saved as 0.
TEST_F(OpenCatalogue, NegativeAndHugeIdsSurviveSavingAgain)
{
    TAlbum odd = album(-5, "t");
    odd.idcd = 100000;
    odd.kopiamc = 255;
    odd.idmc = -2147483647 - 1;
    writeBytes(dir_.file("n.abx"), catalogueBytes(1, {odd}));
    ASSERT_EQ(otworzbaze(table_, settings_, dir_.file("n.abx")).status, OpenStatus::Opened);
    EXPECT_EQ(table_.cell(ColumnId, 1), "000-5");
    ASSERT_EQ(zapiszbaze(table_, settings_, dir_.file("again.abx")), WriteError::None);
    AlbumTable again;
    otworzbaze(again, settings_, dir_.file("again.abx"));
    EXPECT_EQ(again.row(1), table_.row(1));
    const TAlbum stored = decodeAlbum(readBytes(dir_.file("again.abx")).data() + 15);
    EXPECT_EQ(stored.id, -5);
    EXPECT_EQ(stored.idcd, 100000);
    EXPECT_EQ(stored.idmc, -2147483647 - 1);
}

TEST(HostileCatalogue, ASparseFileWithAHugeCountLoadsOnlyItsWrittenRecords)
{
    TempDir dir;
    const std::string name = dir.file("sparse.abx");
    writeBytes(name, catalogueBytes(0x7FFFFFFF, {album(1, "Jeden"), album(2, "Dwa")}));
    // 40 GiB that were never written.
    ASSERT_EQ(::truncate(name.c_str(), 40LL << 30), 0);

    TUstawienia settings;
    AlbumTable table;
    const OpenResult result = otworzbaze(table, settings, name);
    ASSERT_EQ(result.status, OpenStatus::Opened);
    EXPECT_TRUE(result.damaged);
    // The written block ends at 4 KiB at most: what lies behind it is a hole.
    EXPECT_GE(result.loaded, 2);
    EXPECT_LE(result.loaded, 28);
    EXPECT_EQ(table.cell(ColumnTitle, 2), "Dwa");
}

TEST(HostileCatalogue, NoMoreAlbumsThanTheBoundAreRead)
{
    TempDir dir;
    const std::string name = dir.file("many.abx");
    writeBytes(name, catalogueBytes(5, {album(1, "a"), album(2, "b"), album(3, "c"), album(4, "d"),
                                        album(5, "e")}));
    const CatalogueContents some = readCatalogue(name, nullptr, 3);
    EXPECT_EQ(some.albums.size(), 3u);
    EXPECT_TRUE(some.damaged);
    const CatalogueContents all = readCatalogue(name);
    EXPECT_EQ(all.albums.size(), 5u);
    EXPECT_FALSE(all.damaged);
}

TEST_F(OpenCatalogue, ExtraBytesBehindTheCountedRecordsAreIgnored)
{
    auto bytes = catalogueBytes(1, {album(1, "a"), album(2, "b")});
    writeBytes(dir_.file("x.abx"), bytes);
    const OpenResult result = otworzbaze(table_, settings_, dir_.file("x.abx"));
    EXPECT_FALSE(result.damaged);
    EXPECT_EQ(table_.liczbaalbumow(), 1);
}

TEST_F(OpenCatalogue, AMediumNotOwnedComesBackAsDashes)
{
    TAlbum a = album(3, "t");
    a.idmc = 77; // ignored while the code says "not on cassette"
    writeBytes(dir_.file("n.abx"), catalogueBytes(1, {a}));
    otworzbaze(table_, settings_, dir_.file("n.abx"));
    EXPECT_EQ(table_.row(1), Row({"00003", "", "t", "", "O", "-", "00003", "-"}));
}

// A join as the window makes it: the albums read, then appended.
JoinResult join(AlbumTable& table, TUstawienia& settings, const std::string& name)
{
    JoinResult result = dolaczbaze(table, settings, name);
    redoChange(table, settings, result.change);
    return result;
}

class JoinCatalogue : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeBytes(dir_.file("three.abx"),
                   catalogueBytes(3, {album(11, "j1"), album(12, "j2"), album(13, "j3")}));
    }
    TempDir dir_;
    TUstawienia settings_;
};

TEST_F(JoinCatalogue, IntoAnEmptyCatalogueLeavesNoBlankRow)
{
    AlbumTable table;
    settings_.nastid = 7;
    const JoinResult result = join(table, settings_, dir_.file("three.abx"));
    EXPECT_TRUE(result.joined);
    EXPECT_EQ(result.change.insertedAt, 1);
    EXPECT_EQ(table.liczbaalbumow(), 3);
    EXPECT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.cell(ColumnTitle, 1), "j1");
    EXPECT_EQ(settings_.nastid, 7);
    EXPECT_EQ(settings_.plikbazy, "");
    EXPECT_EQ(settings_.ostatnie[0], dir_.file("three.abx"));
}

TEST_F(JoinCatalogue, AppendsInFileOrderAfterTheAlbums)
{
    AlbumTable table;
    for (int i = 1; i <= 5; ++i)
        addAlbum(table, {"0000" + std::to_string(i), "", "own", "", "-", "-", "-", "-"});
    settings_.plikbazy = "mine.abx";
    const JoinResult result = join(table, settings_, dir_.file("three.abx"));
    EXPECT_EQ(result.change.insertedAt, 6);
    EXPECT_EQ(table.liczbaalbumow(), 8);
    EXPECT_EQ(table.rowCount(), 9);
    EXPECT_EQ(table.cell(ColumnTitle, 5), "own");
    EXPECT_EQ(table.cell(ColumnTitle, 6), "j1");
    EXPECT_EQ(table.cell(ColumnTitle, 8), "j3");
    EXPECT_EQ(settings_.plikbazy, "mine.abx");
}

TEST_F(JoinCatalogue, JoiningACatalogueIntoItselfDoublesEveryAlbum)
{
    AlbumTable table;
    ASSERT_EQ(otworzbaze(table, settings_, dir_.file("three.abx")).status, OpenStatus::Opened);
    join(table, settings_, dir_.file("three.abx"));
    EXPECT_EQ(table.liczbaalbumow(), 6);
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(table.row(r), table.row(r + 3));
}

TEST_F(JoinCatalogue, BadFilesChangeNothing)
{
    AlbumTable table = everyCopyKind();
    writeBytes(dir_.file("bad.abx"), {'n', 'o'});
    EXPECT_FALSE(join(table, settings_, dir_.file("bad.abx")).joined);
    EXPECT_FALSE(join(table, settings_, dir_.file("missing.abx")).joined);
    EXPECT_EQ(table.liczbaalbumow(), 4);
    EXPECT_EQ(settings_.ostatnie[0], "");
}

TEST_F(JoinCatalogue, DamagedFileJoinsItsWholeRecords)
{
    AlbumTable table = everyCopyKind();
    writeBytes(dir_.file("d.abx"), catalogueBytes(-5, {album(1, "a"), album(2, "b")}));
    const JoinResult result = join(table, settings_, dir_.file("d.abx"));
    EXPECT_TRUE(result.damaged);
    EXPECT_EQ(result.loaded, 2);
    EXPECT_EQ(table.liczbaalbumow(), 6);
}

TEST(NewCatalogue, EmptiesTableFileNameAndCounters)
{
    AlbumTable table = everyCopyKind();
    TUstawienia settings;
    settings.plikbazy = "a.abx";
    settings.nastid = 3;
    settings.nastidcd = 4;
    settings.nastidmc = 5;
    settings.ostatnie[0] = "a.abx";
    nowabaza(table, settings);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.liczbaalbumow(), 0);
    EXPECT_EQ(table.row(1), Row{});
    EXPECT_EQ(settings.plikbazy, "");
    EXPECT_EQ(settings.nastid + settings.nastidcd + settings.nastidmc, 0);
    EXPECT_EQ(settings.ostatnie[0], "a.abx");
}

} // namespace
} // namespace alborx
