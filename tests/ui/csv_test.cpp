#include "CsvImportDialog.h"
#include "Unit1.h"
#include "Unit5.h"
#include "dialogs.h"
#include "uifixture.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <sys/stat.h>
#include <unistd.h>

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
              QStringList{"Dodano albumów: 4.\nKarty albumów: 1.\nPominięte wpisy: 3\n"
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

TEST_F(CsvCommands, AnOverLargeFileIsRefusedUnreadAndAHugeFieldIsPreviewedCut)
{
    // A sparse file over the size any import takes: refused by its size.
    const std::string large = dir_.file("large.csv");
    writeBytes(large, {'a', ';', 'b', '\n'});
    ASSERT_EQ(::truncate(large.c_str(), 257L << 20), 0);
    DialogSeam::setNextFileName(QString::fromStdString(large));
    form_.Importujzcsv1Click();
    EXPECT_EQ(DialogSeam::takeMessages(), QStringList{"Plik jest za duży, by go zaimportować: " +
                                                      QString::fromStdString(large)});

    const std::string text = std::string(16 << 20, 'x') + ";b\nc;d\n";
    CsvImportDialog dialog(text, detectImportOptions(text));
    ASSERT_GT(dialog.podglad->columnCount(), 0);
    for (int c = 0; c < dialog.podglad->columnCount(); ++c) {
        EXPECT_LE(dialog.podglad->horizontalHeaderItem(c)->text().size(), 101);
        for (int r = 0; r < dialog.podglad->rowCount(); ++r) {
            if (const QTableWidgetItem* item = dialog.podglad->item(r, c)) {
                EXPECT_LE(item->text().size(), 101);
            }
        }
    }
    EXPECT_LE(dialog.kolumny[1]->itemText(1).size(), 120);
}

TEST_F(CsvCommands, AnulujDuringTheImportAddsNothingAndTheWindowIsReadAsAProgressBar)
{
    // Every album has the same ID, so that the import does not end early
    // when the free IDs run out.
    std::string text = "ID;Wykonawca;Album\n";
    for (int i = 0; i < 300000; ++i)
        text += "1;Wykonawca " + std::to_string(i) + ";Album\n";
    writeBytes(dir_.file("big.csv"), std::vector<std::uint8_t>(text.begin(), text.end()));

    // While the import runs: the window is a dialog named by its title, its
    // bar a progress bar whose value moves; then Anuluj is pressed.
    QString name;
    QAccessible::Role role = QAccessible::NoRole;
    std::vector<double> values;
    QTimer watcher;
    watcher.setInterval(1);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!form_.Form5->isVisible() || form_.Form5->position() == 0 ||
            form_.Form5->windowTitle() != "Importowanie z pliku CSV...")
            return;
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form_.Form5);
        QAccessibleInterface* bar =
            QAccessible::queryAccessibleInterface(form_.Form5->ProgressBar1);
        name = window->text(QAccessible::Name);
        role = bar->role();
        values.push_back(bar->valueInterface()->currentValue().toDouble());
        if (values.size() == 2)
            QTest::mouseClick(form_.Form5->Anuluj, Qt::LeftButton);
    });
    watcher.start();
    DialogSeam::setNextFileName(QString::fromStdString(dir_.file("big.csv")));
    form_.Importujzcsv1Click();
    watcher.stop();

    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList{"Import przerwano; nie dodano żadnego albumu."});
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 0);
    EXPECT_EQ(name, "Importowanie z pliku CSV...");
    EXPECT_EQ(role, QAccessible::ProgressBar);
    ASSERT_GE(values.size(), 2u);
    EXPECT_LT(values.front(), values.back());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form_.Form5)->role(), QAccessible::Dialog);
}

} // namespace
} // namespace alborx::test
