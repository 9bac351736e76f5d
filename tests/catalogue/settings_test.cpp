#include "binaryfields.h"
#include "recentfiles.h"
#include "settings.h"
#include "tempdir.h"

#include <cstring>
#include <gtest/gtest.h>

namespace alborx {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

TUstawienia defaults()
{
    TUstawienia settings;
    ustawdomyslne(settings);
    return settings;
}

std::string stringAt(const std::vector<std::uint8_t>& file, std::size_t offset)
{
    return std::string(reinterpret_cast<const char*>(file.data() + offset + 1), file[offset]);
}

TEST(SettingsFile, DefaultsSitAtTheirOffsets)
{
    TempDir dir;
    ASSERT_TRUE(writeSettingsFile(dir.file("alborx.cfg"), defaults()));
    const auto file = readBytes(dir.file("alborx.cfg"));
    ASSERT_EQ(file.size(), 3866u);
    EXPECT_EQ(std::memcmp(file.data(), "ALBORX!100", 10), 0);
    // Offsets in the file: the record starts behind the 10-byte magic.
    const auto at = [&](std::size_t recordOffset) { return file.data() + 10 + recordOffset; };
    EXPECT_EQ(stringAt(file, 10 + 96), "%nr:3. %zespol - %tytul (%gatunek) [%kopiacds]");
    EXPECT_EQ(stringAt(file, 10 + 352), "%nr:3. %zespol - %tytul (%gatunek) [%kopiamcs]");
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(*at(608 + i), 1) << i;  // wypiszcd, wypiszmc
        EXPECT_EQ(*at(3729 + i), 1) << i; // szukajw
        EXPECT_EQ(getInt32(at(3740 + 4 * i)), 14671839) << i;
        EXPECT_EQ(getInt32(at(3772 + 4 * i)), 13684944) << i;
        EXPECT_EQ(getInt32(at(3804 + 4 * i)), 7340032) << i;
    }
    EXPECT_EQ(*at(616), 1); // podsumowanie
    EXPECT_EQ(getInt32(at(620)), 0);
    EXPECT_EQ(*at(624), 1);  // gatunkiprzyladowaniu
    EXPECT_EQ(*at(625), 0);  // autozapis
    EXPECT_EQ(*at(626), 0);  // autoodczyt
    EXPECT_EQ(*at(627), 0);  // dolaczaj
    EXPECT_EQ(*at(912), 0);  // plikbazy
    EXPECT_EQ(*at(3216), 0); // nawierzchu
    EXPECT_EQ(*at(3737), 0); // zamieniaj
    EXPECT_EQ(*at(3738), 1); // pytaj
    EXPECT_EQ(*at(3739), 0);
    EXPECT_EQ(getInt32(at(3836)), 15);
    EXPECT_EQ(getInt32(at(3840)), 855494);
    EXPECT_EQ(getInt32(at(3844)), 15628134);
    EXPECT_EQ(getInt32(at(3848)), 1159189);
    EXPECT_EQ(getInt32(at(3852)), 15204526);
}

TEST(SettingsFile, EveryFieldLandsAtItsOffsetAndReadsBack)
{
    TUstawienia s = defaults();
    s.oknolewo = -10;
    s.oknogora = 20;
    s.oknoszerokosc = 800;
    s.oknowysokosc = 600;
    s.oknomaks = true;
    s.nastid = 1;
    s.nastidcd = 2;
    s.nastidmc = 3;
    for (std::size_t i = 0; i < 16; ++i)
        s.kolumny[i] = static_cast<std::int32_t>(100 + i);
    s.kolejnosc = 2;
    s.czcionkaznaki = 238;
    s.czcionkakolor = 0x00112233;
    s.czcionkawysokosc = -11;
    s.czcionkanazwa = "Arial";
    s.czcionkarozmiar = 8;
    s.czcionkastyl = 0x0B;
    s.wysokoscwiersza = 17;
    s.plikbazy = "/home/k.abx";
    for (std::size_t k = 0; k < 8; ++k)
        s.ostatnie[k] = std::string("r").append(std::to_string(k + 1));
    s.nawierzchu = true;
    s.szukane = "szukaj";
    s.zamiana = "zamien";
    s.wyrazistosc = 82;

    const auto record = encodeSettings(s);
    ASSERT_EQ(record.size(), 3856u);
    EXPECT_EQ(getInt32(&record[0]), -10);
    EXPECT_EQ(getInt32(&record[12]), 600);
    EXPECT_EQ(record[16], 1);
    EXPECT_EQ(getInt32(&record[28]), 3);
    EXPECT_EQ(getInt32(&record[32]), 100);
    EXPECT_EQ(getInt32(&record[92]), 115);
    EXPECT_EQ(getInt32(&record[620]), 2);
    EXPECT_EQ(record[628], 238);
    EXPECT_EQ(getInt32(&record[632]), 0x00112233);
    EXPECT_EQ(getInt32(&record[636]), -11);
    EXPECT_EQ(stringAt(record, 640), "Arial");
    EXPECT_EQ(getInt32(&record[896]), 8);
    EXPECT_EQ(record[900], 0x0B);
    EXPECT_EQ(getInt32(&record[904]), 17);
    EXPECT_EQ(stringAt(record, 912), "/home/k.abx");
    EXPECT_EQ(stringAt(record, 1168), "r1");
    EXPECT_EQ(stringAt(record, 1168 + 256 * 7), "r8");
    EXPECT_EQ(record[3216], 1);
    EXPECT_EQ(stringAt(record, 3217), "szukaj");
    EXPECT_EQ(stringAt(record, 3473), "zamien");

    TUstawienia back;
    decodeSettings(record.data(), back);
    EXPECT_EQ(encodeSettings(back), record);
    EXPECT_EQ(back.ostatnie, s.ostatnie);
    EXPECT_EQ(back.czcionkanazwa, "Arial");
}

TEST(SettingsFile, ReservedBytesAreCarriedFromFileToFile)
{
    TempDir dir;
    std::vector<std::uint8_t> file(kSettingsMagic, kSettingsMagic + 10);
    auto record = encodeSettings(defaults());
    for (std::size_t offset : {17, 18, 19, 617, 619, 629, 631, 901, 903, 908, 911, 3739})
        record[offset] = static_cast<std::uint8_t>(offset & 0xFF);
    file.insert(file.end(), record.begin(), record.end());
    writeBytes(dir.file("in.cfg"), file);

    TUstawienia s = defaults();
    ASSERT_TRUE(readSettingsFile(dir.file("in.cfg"), s));
    ASSERT_TRUE(writeSettingsFile(dir.file("out.cfg"), s));
    EXPECT_EQ(readBytes(dir.file("out.cfg")), file);
}

TEST(SettingsFile, BooleansReadAnyNonZeroAndWriteOne)
{
    auto record = encodeSettings(defaults());
    record[625] = 0x80; // autozapis
    TUstawienia s;
    decodeSettings(record.data(), s);
    EXPECT_TRUE(s.autozapis);
    EXPECT_EQ(encodeSettings(s)[625], 1);
}

TEST(SettingsFile, LengthBytesNeverReadPastTheField)
{
    auto record = encodeSettings(defaults());
    std::memset(&record[640], 'F', 256);
    record[640] = 255;
    TUstawienia s;
    decodeSettings(record.data(), s);
    EXPECT_EQ(s.czcionkanazwa, std::string(255, 'F'));
}

TEST(SettingsFile, WrongMagicShortFileOrMissingFileKeepTheDefaults)
{
    TempDir dir;
    std::vector<std::uint8_t> cut(kSettingsMagic, kSettingsMagic + 10);
    cut.resize(10 + 3855, 7);
    std::vector<std::uint8_t> wrong(3866, 1);
    for (const auto& bytes : {cut, wrong, std::vector<std::uint8_t>{'A', 'L'}}) {
        writeBytes(dir.file("alborx.cfg"), bytes);
        TUstawienia s = defaults();
        EXPECT_FALSE(readSettingsFile(dir.file("alborx.cfg"), s));
        EXPECT_EQ(encodeSettings(s), encodeSettings(defaults()));
    }
    TUstawienia s = defaults();
    EXPECT_FALSE(readSettingsFile(dir.file("none.cfg"), s));
    EXPECT_FALSE(readSettingsFile(dir.path(), s));
}

TEST(SettingsFile, DefaultsLeaveWindowAndListFieldsAlone)
{
    TUstawienia s;
    s.oknoszerokosc = 649;
    s.kolumny[3] = 67;
    s.czcionkanazwa = "Arial";
    s.wysokoscwiersza = 17;
    ustawdomyslne(s);
    EXPECT_EQ(s.oknoszerokosc, 649);
    EXPECT_EQ(s.kolumny[3], 67);
    EXPECT_EQ(s.czcionkanazwa, "Arial");
    EXPECT_EQ(s.wysokoscwiersza, 17);
}

TEST(SettingsValues, UsableRangesAreInclusive)
{
    EXPECT_FALSE(isUsableRowHeight(5));
    EXPECT_TRUE(isUsableRowHeight(6));
    EXPECT_TRUE(isUsableRowHeight(40));
    EXPECT_FALSE(isUsableRowHeight(41));
    EXPECT_FALSE(isUsableFontSize(2));
    EXPECT_TRUE(isUsableFontSize(72));
    EXPECT_FALSE(isUsableFontName(""));
    EXPECT_FALSE(isUsableFontName("  "));
    EXPECT_TRUE(isUsableFontName("Arial"));
    EXPECT_FALSE(isUsableColumnWidth(0));
    EXPECT_TRUE(isUsableColumnWidth(2000));
    EXPECT_FALSE(isUsableColumnWidth(2001));
    EXPECT_TRUE(isUsableStripeDarkness(0));
    EXPECT_FALSE(isUsableStripeDarkness(83));
    EXPECT_FALSE(isUsableExportOrder(-1));
    EXPECT_TRUE(isUsableExportOrder(2));
}

TEST(RecentFiles, AKnownNameMovesToTheTop)
{
    std::array<std::string, kRecentCount> recent = {"a", "b", "c", "d", "e", "f", "g", "h"};
    dodajostatni(recent, "c");
    EXPECT_EQ(recent,
              (std::array<std::string, kRecentCount>{"c", "a", "b", "d", "e", "f", "g", "h"}));
    dodajostatni(recent, "c");
    EXPECT_EQ(recent[0], "c");
    EXPECT_EQ(recent[1], "a");
}

TEST(RecentFiles, ANinthNamePushesTheOldestOut)
{
    std::array<std::string, kRecentCount> recent = {"a", "b", "c", "d", "e", "f", "g", "h"};
    dodajostatni(recent, "i");
    EXPECT_EQ(recent,
              (std::array<std::string, kRecentCount>{"i", "a", "b", "c", "d", "e", "f", "g"}));
}

TEST(RecentFiles, EmptyEntriesMoveDownAndCaseMatters)
{
    std::array<std::string, kRecentCount> recent{};
    dodajostatni(recent, "K.abx");
    dodajostatni(recent, "k.abx");
    EXPECT_EQ(recent[0], "k.abx");
    EXPECT_EQ(recent[1], "K.abx");
    EXPECT_EQ(recent[2], "");
    // Cut, a longer name would name another file: it stays off the list.
    dodajostatni(recent, std::string(255, 'x'));
    EXPECT_EQ(recent[0], std::string(255, 'x'));
    dodajostatni(recent, std::string(256, 'y'));
    EXPECT_EQ(recent[0], std::string(255, 'x'));
    EXPECT_EQ(recent[1], "k.abx");
}

} // namespace
} // namespace alborx
