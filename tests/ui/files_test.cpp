#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "Unit5.h"
#include "dialogs.h"
#include "uifixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoStack>
#include <sys/stat.h>

namespace alborx::test {
namespace {

using ui::DialogSeam;

class FileCommands : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form_.poczatek({});
    }

    QString q(const std::string& text) { return QString::fromStdString(text); }

    TForm1 form_;
    ListWatch watch_{form_};
};

TEST_F(FileCommands, OpenShowsTheAlbumsAndTheFile)
{
    const std::string name =
        writeCatalogue("k.abx", {albumRow("00001", "Kult", "Spokojnie", "Rock"),
                                 albumRow("00002", "Dżem", "Cegła")});
    DialogSeam::setNextFileName(q(name));
    form_.Otwrzbaz1Click();
    EXPECT_EQ(form_.listacdModel->rowCount(), 2);
    EXPECT_EQ(form_.listacdModel->index(0, 1).data().toString(), "Kult");
    EXPECT_EQ(form_.statusPanels[0]->text(), "wpisów: 2");
    EXPECT_EQ(form_.statusPanels[1]->text(), q(name));
    EXPECT_EQ(form_.oplik[0]->text(), q(name));
    EXPECT_TRUE(form_.oplik[0]->isVisible());
    EXPECT_FALSE(form_.oplik[1]->isVisible());
    EXPECT_FALSE(form_.Form5->isVisible());
    EXPECT_EQ(form_.gatunki.count(), 1); // the genres of loaded albums join the list
}

TEST_F(FileCommands, ChangedAlbumsAreNotThrownAwayUnasked)
{
    const std::string name = writeCatalogue("k.abx", {albumRow("00001", "Kult", "Spokojnie")});
    ASSERT_TRUE(form_.otworzbaze(name));
    // Nothing changed: no question.
    form_.Nowabaza1Click();
    ASSERT_TRUE(form_.otworzbaze(name));
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());

    const auto addAlbum = [&] {
        form_.azespol->setText("Nowy");
        form_.nosnikcd->setChecked(true);
        form_.dodajguz->click();
    };
    addAlbum();
    DialogSeam::setNextAnswer(QMessageBox::Cancel);
    form_.Nowabaza1Click();
    EXPECT_EQ(DialogSeam::takeMessages(), QStringList{"Zapisać zmiany w katalogu?"});
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 2);
    DialogSeam::setNextAnswer(QMessageBox::Cancel);
    form_.oplikClick(0);
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 2);

    DialogSeam::setNextAnswer(QMessageBox::Save);
    form_.Nowabaza1Click();
    DialogSeam::takeMessages();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 0);
    ASSERT_TRUE(form_.otworzbaze(name));
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 2);

    // Closing without automatic saving asks too; Nie zapisuj leaves the file.
    form_.ustawienia.autozapis = false;
    addAlbum();
    DialogSeam::setNextAnswer(QMessageBox::Cancel);
    EXPECT_FALSE(form_.close());
    DialogSeam::setNextAnswer(QMessageBox::Discard);
    EXPECT_TRUE(form_.close());
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList({"Zapisać zmiany w katalogu?", "Zapisać zmiany w katalogu?"}));
    AlbumTable saved;
    TUstawienia settings;
    otworzbaze(saved, settings, name);
    EXPECT_EQ(saved.liczbaalbumow(), 2);
}

TEST_F(FileCommands, PolishTextIsShownAndKeptAsWindows1250)
{
    const std::string name = dir_.file("pl.abx");
    form_.albumy.assignAlbums({albumRow("00001",
                                        "D\xBF"
                                        "em",
                                        "Ceg\xB3"
                                        "a")});
    ASSERT_TRUE(form_.zapiszbaze(name));
    ASSERT_TRUE(form_.otworzbaze(name));
    EXPECT_EQ(form_.listacdModel->index(0, 1).data().toString(), "Dżem");
    EXPECT_EQ(form_.listacdModel->index(0, 2).data().toString(), "Cegła");
}

TEST_F(FileCommands, CancelledDialogsChangeNothing)
{
    DialogSeam::setNextFileName({});
    form_.Otwrzbaz1Click();
    DialogSeam::setNextFileName({});
    form_.Zapiszbaz1Click();
    EXPECT_EQ(dir_.entries(), std::vector<std::string>());
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());
}

TEST_F(FileCommands, OpenFailuresAreReportedAndKeepTheAlbums)
{
    const std::string good = writeCatalogue("k.abx", {albumRow("00001", "A", "T")});
    ASSERT_TRUE(form_.otworzbaze(good));
    writeBytes(dir_.file("bad.abx"), {'X', 'Y', 'Z'});

    EXPECT_FALSE(form_.otworzbaze(dir_.file("bad.abx")));
    EXPECT_FALSE(form_.otworzbaze(dir_.file("none.abx")));
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList({"Zły nagłówek w pliku.",
                           "Błąd przy wczytywaniu pliku: " + q(dir_.file("none.abx"))}));
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 1);
    EXPECT_EQ(form_.statusPanels[1]->text(), "");
    EXPECT_FALSE(form_.Form5->isVisible());

    // A join says the same and changes nothing.
    form_.dolaczbaze(dir_.file("bad.abx"));
    form_.dolaczbaze(dir_.file("none.abx"));
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList({"Zły nagłówek w pliku.",
                           "Błąd przy wczytywaniu pliku: " + q(dir_.file("none.abx"))}));
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 1);
    EXPECT_FALSE(form_.historia->canUndo());
}

TEST_F(FileCommands, ADamagedFileLoadsWhatIsWholeAndSaysSo)
{
    const std::string name =
        writeCatalogue("d.abx", {albumRow("00001", "A", "T"), albumRow("00002", "B", "U")});
    auto bytes = readBytes(name);
    bytes.resize(bytes.size() - 10);
    writeBytes(name, bytes);
    EXPECT_TRUE(form_.otworzbaze(name));
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList{"Plik bazy jest uszkodzony. Wczytano albumów: 1"});
    EXPECT_EQ(form_.listacdModel->rowCount(), 1);
}

TEST_F(FileCommands, ANameWithAnAmpersandFromTheDialogOpensThatFile)
{
    const std::string name = writeCatalogue("R&B.abx", {albumRow("00001", "A", "T")});
    DialogSeam::setNextFileName(q(name));
    form_.Otwrzbaz1Click();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 1);
    EXPECT_EQ(form_.ustawienia.plikbazy, name);
    // The recent item shows the "&" and opens the same file again.
    EXPECT_EQ(form_.oplik[0]->text(), q(dir_.file("R&&B.abx")));
    form_.Nowabaza1Click();
    form_.oplik[0]->trigger();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 1);
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());
}

TEST_F(FileCommands, JoinAppendsAndKeepsTheCurrentFile)
{
    const std::string mine = writeCatalogue("m.abx", {albumRow("00001", "A", "T")});
    const std::string other =
        writeCatalogue("o.abx", {albumRow("00007", "B", "U"), albumRow("00008", "C", "V")});
    ASSERT_TRUE(form_.otworzbaze(mine));
    DialogSeam::setNextFileName(q(other));
    form_.Doczbaz1Click();
    EXPECT_EQ(form_.listacdModel->rowCount(), 3);
    EXPECT_EQ(form_.albumy.cell(ColumnId, 3), "00008");
    EXPECT_EQ(form_.statusPanels[0]->text(), "wpisów: 3");
    EXPECT_EQ(form_.ustawienia.plikbazy, mine);
    EXPECT_EQ(form_.ustawienia.ostatnie[0], other);
    EXPECT_EQ(form_.ustawienia.ostatnie[1], mine);
}

TEST_F(FileCommands, SaveAfterNewCatalogueAsksForANameThenSavesThere)
{
    form_.albumy.assignAlbums({albumRow("00001", "A", "T")});
    form_.Nowabaza1Click();
    form_.albumy.assignAlbums({albumRow("00001", "A", "T")});
    DialogSeam::setNextFileName(q(dir_.file("nowa.abx")));
    form_.Zapiszbaz1Click();
    EXPECT_EQ(readBytes(dir_.file("nowa.abx")).size(), 15u + 144);
    EXPECT_EQ(form_.ustawienia.plikbazy, dir_.file("nowa.abx"));
    // The second save goes to the current file without a dialog.
    form_.Zapiszbaz1Click();
    EXPECT_TRUE(fileExists(dir_.file("nowa.abx.bak")));
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());
}

TEST_F(FileCommands, AFailedSaveIsReportedAndChangesNothing)
{
    const std::string name = dir_.file("folder.abx");
    ASSERT_EQ(::mkdir(name.c_str(), 0755), 0);
    form_.ustawienia.plikbazy = "";
    DialogSeam::setNextFileName(q(name));
    form_.Zapiszbazjako1Click();
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList{"Błąd przy zapisywaniu pliku: " + q(name) +
                          "\nPod tą nazwą jest coś innego niż zwykły plik."});
    EXPECT_EQ(form_.ustawienia.plikbazy, "");
    EXPECT_FALSE(form_.oplik[0]->isVisible());
    EXPECT_FALSE(form_.Form5->isVisible());
}

TEST_F(FileCommands, ANameTheCodePageCannotHoldIsRefused)
{
    DialogSeam::setNextFileName(q(dir_.file("日本.abx")));
    form_.Zapiszbazjako1Click();
    EXPECT_EQ(DialogSeam::takeMessages().size(), 1);
    EXPECT_EQ(dir_.entries(), std::vector<std::string>());
}

TEST_F(FileCommands, RecentListFollowsOpens)
{
    std::vector<std::string> names;
    for (int i = 0; i < 9; ++i)
        names.push_back(
            writeCatalogue(std::string("f").append(std::to_string(i)).append(".abx"), {}));
    for (const std::string& name : names)
        ASSERT_TRUE(form_.otworzbaze(name));
    EXPECT_EQ(form_.oplik[0]->text(), q(names[8]));
    EXPECT_EQ(form_.oplik[7]->text(), q(names[1]));
    ASSERT_TRUE(form_.otworzbaze(names[5]));
    EXPECT_EQ(form_.oplik[0]->text(), q(names[5]));
    EXPECT_EQ(form_.oplik[1]->text(), q(names[8]));
    form_.oplik[7]->trigger();
    EXPECT_EQ(form_.ustawienia.plikbazy, names[1]);
}

TEST_F(FileCommands, NewCatalogueEmptiesTheListAndTheStatus)
{
    const std::string name = writeCatalogue("k.abx", {albumRow("00001", "A", "T")});
    ASSERT_TRUE(form_.otworzbaze(name));
    form_.setWindowTitle("x");
    form_.Nowabaza1Click();
    EXPECT_EQ(form_.windowTitle(), "ALBORX!");
    EXPECT_EQ(form_.listacdModel->rowCount(), 1);
    EXPECT_EQ(form_.statusPanels[0]->text(), "wpisów: 0");
    EXPECT_EQ(form_.statusPanels[1]->text(), "");
}

TEST_F(FileCommands, TheSampleCatalogueOpensWithItsSummary)
{
    ASSERT_TRUE(form_.otworzbaze(ALBORX_EXAMPLES "/przyklad.abx"));
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 40);
    EXPECT_EQ(form_.listacdModel->index(0, 1).data().toString(), "Stare Dęby");
    // Two two-disc albums and two shared discs: 38 albums on 32 CDs.
    EXPECT_EQ(form_.summaryFigures[1]->text(), "38");
    EXPECT_EQ(form_.summaryFigures[2]->text(), "32");
    EXPECT_EQ(form_.summaryFigures[3]->text(), "14");
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());
}

TEST_F(FileCommands, ColumnWidthsCopyBetweenTheLists)
{
    form_.listacd->setColumnWidth(3, 99);
    form_.Szerokocikolumnspisprzefiltrowany1Click();
    EXPECT_EQ(form_.listafiltr->columnWidth(3), 99);
    EXPECT_EQ(form_.listafiltr->columnWidth(0), 36);
    form_.listafiltr->setColumnWidth(2, 12);
    form_.Szerokocikolumnprzefiltrowanyspis1Click();
    EXPECT_EQ(form_.listacd->columnWidth(2), 12);
}

} // namespace
} // namespace alborx::test
