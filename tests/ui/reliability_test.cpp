#include "AlbumListView.h"
#include "Unit1.h"
#include "binaryfields.h"
#include "dialogs.h"
#include "safefile.h"
#include "settings.h"
#include "uifixture.h"

#include <QAction>
#include <QLabel>
#include <cstring>

namespace alborx::test {
namespace {

using ui::DialogSeam;

class Reliability : public WindowTest
{
};

TEST_F(Reliability, AFailedSaveIsReportedAndTheOldFileStays)
{
    TForm1 form;
    form.poczatek({});
    const std::string name = writeCatalogue("k.abx", {albumRow("00001", "A", "T")});
    ASSERT_TRUE(form.otworzbaze(name));
    const auto before = readBytes(name);
    form.albumy.setCell(ColumnTitle, 1, "Nowy");
    injectWriteFault(WriteFault::Middle);
    form.Zapiszbaz1Click();
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList{"Błąd przy zapisywaniu pliku: " + QString::fromStdString(name) +
                          "\nZapis się nie powiódł (być może brak miejsca na dysku)."});
    EXPECT_EQ(readBytes(name), before);
    EXPECT_EQ(dir_.entries(), std::vector<std::string>({"k.abx"}));
    EXPECT_EQ(form.albumy.cell(ColumnTitle, 1), "Nowy"); // still in memory
}

TEST_F(Reliability, AFailedSaveAtExitAsksBeforeClosing)
{
    const std::string name = writeCatalogue("k.abx", {albumRow("00001", "A", "T")});
    TForm1 form;
    form.poczatek({});
    ASSERT_TRUE(form.otworzbaze(name));
    form.ustawienia.autozapis = true;
    form.show();

    injectWriteFault(WriteFault::FirstWrite);
    DialogSeam::setNextAnswer(QMessageBox::No);
    EXPECT_FALSE(form.close());
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList({"Błąd przy zapisywaniu pliku: " + QString::fromStdString(name) +
                               "\nZapis się nie powiódł (być może brak miejsca na dysku).",
                           "Zamknąć program bez zapisania bazy?"}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(fileExists(dir_.file("alborx.cfg")));

    injectWriteFault(WriteFault::Close);
    DialogSeam::setNextAnswer(QMessageBox::Yes);
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(fileExists(dir_.file("alborx.cfg")));
}

TEST_F(Reliability, HostileSettingsStartTheProgramWithBuiltInValues)
{
    std::vector<std::uint8_t> file(kSettingsMagic, kSettingsMagic + 10);
    std::vector<std::uint8_t> record(kSettingsRecordSize, 0xFF);
    const auto int32At = [&](std::size_t offset, std::int32_t value) {
        putInt32(&record[offset], value);
    };
    int32At(0, -2147483647 - 1);
    int32At(4, 2147483647);
    int32At(8, -5);
    int32At(12, 2147483647);
    for (std::size_t c = 0; c < 16; ++c)
        int32At(32 + 4 * c, c % 2 == 0 ? 0 : -40);
    record[640] = 255; // a font name of 255 bytes of 0xFF
    int32At(896, -1);
    int32At(904, -1);    // row height
    int32At(3836, 1000); // wyrazistosc
    int32At(620, 7);     // kolejnosc
    std::string recent(255, 'x');
    for (std::size_t i = 0; i < recent.size(); i += 7)
        recent[i] = '&';
    putShortString(&record[1168], 255, recent);
    file.insert(file.end(), record.begin(), record.end());
    writeBytes(dir_.file("alborx.cfg"), file);

    TForm1 form;
    form.poczatek({});
    form.show();
    // Automatic opening is on (0xFF) and the remembered name is no file.
    EXPECT_EQ(DialogSeam::takeMessages().size(), 1);
    EXPECT_EQ(form.albumy.liczbaalbumow(), 0);
    EXPECT_EQ(form.listacd->columnWidth(0), 36);
    EXPECT_EQ(form.listafiltr->columnWidth(1), 188);
    EXPECT_EQ(form.listacd->rowHeight(), 17);
    EXPECT_EQ(form.listacd->font().pointSize(), 8);
    EXPECT_EQ(form.ustawienia.wyrazistosc, 15);
    EXPECT_GE(form.width(), 640);
    EXPECT_LT(form.x(), 10000);
    EXPECT_TRUE(form.oplik[0]->isVisible());
    form.oplik[0]->trigger(); // a missing file: reported, nothing else
    EXPECT_EQ(DialogSeam::takeMessages().size(), 1);
    form.Formatplikutekstowego1Click(); // kolejnosc 7 shows as the first order
    form.close();
    EXPECT_EQ(readBytes(dir_.file("alborx.cfg")).size(), 3866u);
}

} // namespace
} // namespace alborx::test
