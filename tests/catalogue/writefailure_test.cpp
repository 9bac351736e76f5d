#include "cataloguefile.h"
#include "genrelist.h"
#include "safefile.h"
#include "settings.h"
#include "tempdir.h"

#include <gtest/gtest.h>

namespace alborx {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

class WriteFailure : public ::testing::TestWithParam<WriteFault>
{
protected:
    void SetUp() override
    {
        writeBytes(dir_.file("k.abx"), previous_);
        writeBytes(dir_.file("k.abx.bak"), backup_);
        table_.assignAlbums({{"00001", "A", std::string(500, 't'), "G", "O", "-", "00001", "-"},
                             {"00002", "B", "T", "G", "-", "K", "-", "00001"}});
    }

    void expectNothingChanged(const std::string& name)
    {
        EXPECT_EQ(readBytes(dir_.file(name)), previous_);
        EXPECT_EQ(dir_.entries(), std::vector<std::string>({"k.abx", "k.abx.bak"}));
    }

    TempDir dir_;
    AlbumTable table_;
    const std::vector<std::uint8_t> previous_{'o', 'l', 'd'};
    const std::vector<std::uint8_t> backup_{'b', 'a', 'k'};
};

TEST_P(WriteFailure, SavingACatalogueLeavesFileAndBackupAsTheyWere)
{
    TUstawienia settings;
    settings.plikbazy = "earlier.abx";
    injectWriteFault(GetParam());
    EXPECT_NE(zapiszbaze(table_, settings, dir_.file("k.abx")), WriteError::None);
    expectNothingChanged("k.abx");
    EXPECT_EQ(readBytes(dir_.file("k.abx.bak")), backup_);
    EXPECT_EQ(settings.plikbazy, "earlier.abx");
    EXPECT_EQ(settings.ostatnie[0], "");
    // The fault was for one write only: the next save goes through.
    EXPECT_EQ(zapiszbaze(table_, settings, dir_.file("k.abx")), WriteError::None);
    EXPECT_EQ(readBytes(dir_.file("k.abx.bak")), previous_);
}

TEST_P(WriteFailure, WritingTheSettingsLeavesThePreviousFile)
{
    std::rename(dir_.file("k.abx").c_str(), dir_.file("alborx.cfg").c_str());
    TUstawienia settings;
    ustawdomyslne(settings);
    injectWriteFault(GetParam());
    EXPECT_FALSE(writeSettingsFile(dir_.file("alborx.cfg"), settings));
    EXPECT_EQ(readBytes(dir_.file("alborx.cfg")), previous_);
    EXPECT_EQ(dir_.entries(), std::vector<std::string>({"alborx.cfg", "k.abx.bak"}));
}

TEST_P(WriteFailure, WritingTheGenresLeavesThePreviousFile)
{
    std::rename(dir_.file("k.abx").c_str(), dir_.file("g.cfg").c_str());
    injectWriteFault(GetParam());
    EXPECT_FALSE(writeGenreFile(dir_.file("g.cfg"), {"Rock", "Jazz", "Blues"}));
    EXPECT_EQ(readBytes(dir_.file("g.cfg")), previous_);
    EXPECT_EQ(dir_.entries(), std::vector<std::string>({"g.cfg", "k.abx.bak"}));
}

INSTANTIATE_TEST_SUITE_P(AtEveryStage, WriteFailure,
                         ::testing::Values(WriteFault::FirstWrite, WriteFault::Middle,
                                           WriteFault::Close));

} // namespace
} // namespace alborx
