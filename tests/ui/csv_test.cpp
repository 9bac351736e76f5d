#include "Unit1.h"
#include "dialogs.h"
#include "uifixture.h"

#include <QAction>
#include <QLabel>
#include <QUndoStack>
#include <sys/stat.h>

namespace alborx::test {
namespace {

using ui::DialogSeam;

class CsvCommands : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form_.poczatek({});
    }

    TForm1 form_;
    ListWatch watch_{form_};
};

TEST_F(CsvCommands, ExportAndImportBringTheCatalogueBackAsOneStep)
{
    ASSERT_TRUE(
        form_.otworzbaze(writeCatalogue("k.abx", {albumRow("00001", "A", "T1", "Rock"),
                                                  albumRow("00002", "B;C", "T\"2", "Jazz")})));
    const QString csv = QString::fromStdString(dir_.file("k.csv"));
    DialogSeam::setNextFileName(csv);
    form_.Eksportujdocsv1Click();
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());
    ASSERT_TRUE(fileExists(dir_.file("k.csv")));

    form_.Nowabaza1Click();
    form_.ustawienia.gatunkiprzyladowaniu = true;
    DialogSeam::setNextFileName(csv);
    form_.Importujzcsv1Click();
    EXPECT_EQ(DialogSeam::takeMessages(), QStringList{"Dodano albumów: 2."});
    ASSERT_EQ(form_.albumy.liczbaalbumow(), 2);
    EXPECT_EQ(form_.albumy.row(2), albumRow("00002", "B;C", "T\"2", "Jazz"));
    EXPECT_EQ(form_.statusPanels[0]->text(), "wpisów: 2");
    EXPECT_EQ(form_.gatunki.count(), 2);
    EXPECT_EQ(form_.Cofnij1->text(), "Cofnij: Importuj z CSV (2 albumy)");
    form_.Cofnij1->trigger();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 0);
}

TEST_F(CsvCommands, SkippedLinesAreReportedAndCancelImportsNothing)
{
    const std::string text = "Artist,Title\nA,1\n,\n\"open,2\nB,3\n";
    writeBytes(dir_.file("z.csv"), std::vector<std::uint8_t>(text.begin(), text.end()));
    const QString name = QString::fromStdString(dir_.file("z.csv"));

    DialogSeam::setNextFileName(name);
    DialogSeam::setNextAnswer(QMessageBox::Cancel);
    form_.Importujzcsv1Click();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 0);
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());

    DialogSeam::setNextFileName(name);
    form_.Importujzcsv1Click();
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList{"Dodano albumów: 2.\nPominięte wiersze: 2\n"
                          "wiersz 3: brak wykonawcy i tytułu\nwiersz 4: niezamknięty cudzysłów"});
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 2);
}

TEST_F(CsvCommands, ATellicoCollectionComesInAsOneStepAndOtherCollectionsDoNot)
{
    const auto copy = [&](const std::string& name) {
        const auto bytes = readBytes(std::string(ALBORX_FIXTURES) + "/tellico/" + name);
        writeBytes(dir_.file(name), bytes);
        return QString::fromStdString(dir_.file(name));
    };
    form_.ustawienia.gatunkiprzyladowaniu = true;
    DialogSeam::setNextFileName(copy("music.xml"));
    form_.Importujztellico1Click();
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList{"Dodano albumów: 4.\nPominięte wpisy: 3\n"
                          "wpis 4: nośnik inny niż CD i kaseta (Vinyl)\n"
                          "wpis 6: nośnik inny niż CD i kaseta (DVD)\n"
                          "wpis 7: brak wykonawcy i tytułu"});
    ASSERT_EQ(form_.albumy.liczbaalbumow(), 4);
    EXPECT_EQ(form_.albumy.row(2),
              (Row{"00002", "Republika", "Nowe sytuacje", "New wave", "-", "O", "-", "00001"}));
    EXPECT_EQ(form_.statusPanels[0]->text(), "wpisów: 4");
    EXPECT_EQ(form_.gatunki.count(), 3);
    EXPECT_EQ(form_.Cofnij1->text(), "Cofnij: Importuj z programu Tellico (4 albumy)");

    DialogSeam::setNextFileName(copy("books.xml"));
    form_.Importujztellico1Click();
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList{"To nie jest kolekcja muzyczna; nie zaimportowano żadnego albumu."});
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 4);
    EXPECT_EQ(form_.historia->count(), 1);
}

TEST_F(CsvCommands, FilesThatCannotBeUsedAreReported)
{
    const QString fifo = QString::fromStdString(dir_.file("p.csv"));
    ASSERT_EQ(::mkfifo(dir_.file("p.csv").c_str(), 0644), 0);
    DialogSeam::setNextFileName(fifo);
    form_.Importujzcsv1Click();
    EXPECT_EQ(DialogSeam::takeMessages(), QStringList{"Błąd przy wczytywaniu pliku: " + fifo});
    DialogSeam::setNextFileName(fifo);
    form_.Eksportujdocsv1Click();
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList{"Błąd przy zapisywaniu pliku: " + fifo +
                          "\nPod tą nazwą jest coś innego niż zwykły plik."});
}

} // namespace
} // namespace alborx::test
