// Starting the program among hostile files: special files in the place of
// its own files or of the catalogue, window bounds no screen can show, and
// names that cannot be kept as they are.
#include "Unit1.h"
#include "binaryfields.h"
#include "cataloguefile.h"
#include "dialogs.h"
#include "settings.h"
#include "uifixture.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <sys/stat.h>
#include <unistd.h>

namespace alborx::test {
namespace {

using ui::DialogSeam;

class HostileStart : public WindowTest
{
};

TEST_F(HostileStart, FifosInThePlaceOfEveryFileDoNotStopTheStart)
{
    for (const char* name : {"alborx.cfg", "alborx-gatunki.cfg", "k.abx"})
        ASSERT_EQ(::mkfifo(dir_.file(name).c_str(), 0644), 0);
    {
        TForm1 form;
        form.poczatek({}, QString::fromStdString(dir_.file("k.abx")));
        EXPECT_EQ(DialogSeam::takeMessages(),
                  QStringList{"Błąd przy wczytywaniu pliku: " +
                              QString::fromStdString(dir_.file("k.abx"))});
        EXPECT_EQ(form.albumy.liczbaalbumow(), 0);
        EXPECT_EQ(form.gatunki.count(), 0);
        form.show();
        EXPECT_TRUE(form.close());
    }
    // The FIFOs are not written through: they stay what they were.
    for (const char* name : {"alborx.cfg", "alborx-gatunki.cfg", "k.abx"}) {
        struct stat info
        {
        };
        ASSERT_EQ(::lstat(dir_.file(name).c_str(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode)) << name;
    }
}

TEST_F(HostileStart, ACatalogueClaimingBillionsOfAlbumsOpensAsDamaged)
{
    std::vector<std::uint8_t> bytes(kCatalogueMagic, kCatalogueMagic + kCatalogueMagicSize);
    bytes.resize(kCatalogueHeaderSize);
    putInt32(bytes.data() + kCatalogueMagicSize, 0x7FFFFFFF);
    const std::string name = dir_.file("sparse.abx");
    writeBytes(name, bytes);
    ASSERT_EQ(::truncate(name.c_str(), 40LL << 30), 0);

    TForm1 form;
    form.poczatek({}, QString::fromStdString(name));
    const QStringList messages = DialogSeam::takeMessages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Plik bazy jest uszkodzony. Wczytano albumów: "));
    EXPECT_LE(form.albumy.liczbaalbumow(), 28);
}

TEST_F(HostileStart, WindowBoundsNoScreenCanShowTakeTheBuiltInOnes)
{
    TUstawienia settings;
    ustawdomyslne(settings);
    settings.oknolewo = 10;
    settings.oknogora = 10;
    settings.oknoszerokosc = 0x7FFFFFFF;
    settings.oknowysokosc = 0x7FFFFFFF;
    ASSERT_TRUE(writeSettingsFile(kSettingsFileName, settings));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        TForm1 form;
        form.poczatek({});
        EXPECT_EQ(form.size(), QSize(649, 511));
        EXPECT_TRUE(screen.contains(form.geometry()));
        form.close();
    }
    // What is written back is the window's real geometry.
    TUstawienia back;
    ASSERT_TRUE(readSettingsFile(kSettingsFileName, back));
    EXPECT_EQ(back.oknoszerokosc, 649);
    EXPECT_EQ(back.oknowysokosc, 511);

    // A size that fits, placed partly off the screen, is moved onto it.
    settings.oknolewo = screen.right() - 100;
    settings.oknoszerokosc = 700;
    settings.oknowysokosc = 420;
    ASSERT_TRUE(writeSettingsFile(kSettingsFileName, settings));
    TForm1 form;
    form.poczatek({});
    EXPECT_EQ(form.size(), QSize(700, 420));
    EXPECT_TRUE(screen.contains(form.geometry()));
}

TEST_F(HostileStart, ANameWindows1250CannotHoldIsRefusedNotChanged)
{
    // "ni?o.abx" exists; the name given is "niño.abx" with an ñ the code
    // page has no place for.
    const std::string other = writeCatalogue("ni?o.abx", {albumRow("00001", "A", "T")});
    const QString given = QString::fromStdString(dir_.path()) + QStringLiteral("/ni\u00F1o.abx");
    TForm1 form;
    form.poczatek({}, given);
    EXPECT_EQ(DialogSeam::takeMessages(), QStringList{"Błąd przy wczytywaniu pliku: " + given});
    EXPECT_EQ(form.albumy.liczbaalbumow(), 0);
    EXPECT_EQ(form.ustawienia.plikbazy, "");
}

TEST_F(HostileStart, ALongNameServesTheWholeRunAndIsNotRemembered)
{
    std::string folder = dir_.path();
    for (int i = 0; i < 3; ++i) {
        folder += "/" + std::string(90, 'f');
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    }
    const std::string name = folder + "/k.abx";
    ASSERT_GT(name.size(), 255u);
    {
        AlbumTable table;
        table.assignAlbums({albumRow("00001", "A", "T")});
        TUstawienia settings;
        ASSERT_EQ(zapiszbaze(table, settings, name), WriteError::None);
    }
    {
        TForm1 form;
        form.poczatek({}, QString::fromStdString(name));
        EXPECT_EQ(form.albumy.liczbaalbumow(), 1);
        EXPECT_EQ(form.ustawienia.plikbazy, name);
        EXPECT_EQ(form.statusPanels[1]->text(), QString::fromStdString(name));
        EXPECT_EQ(DialogSeam::takeMessages().size(), 1); // told once
        form.albumy.setCell(ColumnTitle, 1, "Nowy");
        form.Zapiszbaz1Click();
        EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());
        EXPECT_FALSE(form.oplik[0]->isVisible());
        form.close();
    }
    AlbumTable again;
    TUstawienia settings;
    ASSERT_EQ(otworzbaze(again, settings, name).status, OpenStatus::Opened);
    EXPECT_EQ(again.cell(ColumnTitle, 1), "Nowy");
    TUstawienia stored;
    ASSERT_TRUE(readSettingsFile(kSettingsFileName, stored));
    EXPECT_EQ(stored.plikbazy, "");
    EXPECT_EQ(stored.ostatnie[0], "");
}

} // namespace
} // namespace alborx::test
