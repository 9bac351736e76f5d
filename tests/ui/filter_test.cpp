#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "Unit5.h"
#include "Unit7.h"
#include "dialogs.h"
#include "uifixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace alborx::test {
namespace {

using ui::DialogSeam;

Row onMedia(const std::string& id, const std::string& band, const std::string& title,
            const std::string& cd, const std::string& mc)
{
    return {id, band, title, "Rock", cd, mc, cd == "-" ? "-" : id, mc == "-" ? "-" : id};
}

class FilterAndSearch : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form_.poczatek({});
        ASSERT_TRUE(form_.otworzbaze(
            writeCatalogue("k.abx", {onMedia("00001", "ABBA", "Gold", "O", "-"),
                                     onMedia("00002", "Kult", "Spokojnie", "-", "K"),
                                     onMedia("00003", "Abba", "Arrival", "P", "K"),
                                     onMedia("00004", "The The", "Dusk", "O", "O")})));
    }

    QStringList filteredIds() const
    {
        QStringList ids;
        for (int r = 0; r < form_.listafiltrModel->rowCount(); ++r)
            ids << form_.listafiltrModel->index(r, 0).data().toString();
        return ids;
    }

    TForm1 form_;
    ListWatch watch_{form_};
};

TEST_F(FilterAndSearch, ThePanelStartsWithCdAndEveryKind)
{
    EXPECT_TRUE(form_.f_tylkocd->isChecked());
    EXPECT_FALSE(form_.f_tylkomc->isChecked());
    EXPECT_TRUE(form_.f_oryg->isChecked() && form_.f_pir->isChecked() && form_.f_kop->isChecked() &&
                form_.f_mp3->isChecked());
    EXPECT_EQ(form_.f_suma->text(), "Suma:");
    EXPECT_EQ(form_.listafiltrModel->rowCount(), 0);
    form_.f_odswiez->click();
    EXPECT_EQ(filteredIds(), QStringList({"00001", "00003", "00004"}));
    EXPECT_EQ(form_.f_suma->text(), "Suma: 3");
    EXPECT_FALSE(form_.Form5->isVisible());
}

TEST_F(FilterAndSearch, MediumKindAndWordNarrowTheList)
{
    form_.f_tylkocd->setChecked(false);
    form_.f_tylkomc->setChecked(true);
    form_.f_oryg->setChecked(false);
    form_.f_pir->setChecked(false);
    form_.f_mp3->setChecked(false);
    form_.f_odswiez->click();
    EXPECT_EQ(filteredIds(), QStringList({"00002", "00003"}));
    form_.slowofiltr->setText("abba");
    form_.f_odswiez->click();
    EXPECT_EQ(filteredIds(), QStringList({"00003"}));
    form_.f_kop->setChecked(false);
    form_.f_odswiez->click();
    EXPECT_EQ(form_.f_suma->text(), "Suma: 0");
    EXPECT_EQ(form_.przefiltrowane.rowCount(), 2); // header and a blank row
}

TEST_F(FilterAndSearch, EnterInTheWordBoxRebuildsAndIsConsumed)
{
    form_.slowofiltr->setText("kult");
    form_.f_tylkomc->setChecked(true);
    QTest::keyClick(form_.slowofiltr, Qt::Key_Return);
    EXPECT_EQ(filteredIds(), QStringList({"00002"}));
    EXPECT_EQ(form_.slowofiltr->text(), "kult");
}

TEST_F(FilterAndSearch, AnEmptyCatalogueLeavesThePreviousResult)
{
    form_.f_odswiez->click();
    form_.Nowabaza1Click();
    form_.f_odswiez->click();
    EXPECT_EQ(form_.f_suma->text(), "Suma: 3");
    EXPECT_EQ(filteredIds().size(), 3);
}

TEST_F(FilterAndSearch, SelectingAFilteredRowBindsTheMainList)
{
    form_.f_odswiez->click();
    form_.listacd->selectAlbumRow(1);
    form_.listafiltr->selectAlbumRow(2); // 00003
    EXPECT_EQ(form_.binding.wierszfiltru, 2);
    EXPECT_EQ(form_.binding.wybranywiersz, 3);
    EXPECT_TRUE(form_.binding.zfiltru); // the main list's move did not count
    EXPECT_EQ(form_.listacd->currentAlbumRow(), 3);
    EXPECT_EQ(form_.aid->text(), "00003");
    EXPECT_TRUE(form_.poprawguz->isEnabled());

    // The list still shows the albums of the catalogue opened before this
    // one, with the same IDs: they bind nothing in the main list.
    ASSERT_TRUE(form_.otworzbaze(
        writeCatalogue("inny.abx", {onMedia("00001", "Inny", "Tytul", "O", "-"),
                                    onMedia("00003", "Inny", "Arrival", "O", "-")})));
    form_.listafiltr->selectAlbumRow(1);
    EXPECT_EQ(form_.binding.wybranywiersz, 0);
    EXPECT_EQ(form_.azespol->text(), "ABBA");
    form_.usunguz->click();
    form_.poprawguz->click();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 2);
    EXPECT_EQ(form_.albumy.cell(ColumnPerformer, 1), "Inny");
}

TEST_F(FilterAndSearch, AnAlbumChosenInTheFilteredListIsTheOneCorrected)
{
    // Two albums share an ID, as a multi-disc album or a joined catalogue
    // does; the second is chosen in the filtered list.
    ASSERT_TRUE(
        form_.otworzbaze(writeCatalogue("k2.abx", {onMedia("00007", "Alfa", "Alfa", "O", "-"),
                                                   onMedia("00007", "Beta", "Beta", "O", "-")})));
    form_.f_odswiez->click();
    form_.listafiltr->selectAlbumRow(2);
    EXPECT_EQ(form_.binding.wybranywiersz, 2);
    EXPECT_EQ(form_.listacd->currentAlbumRow(), 2);
    form_.aalbum->setText("Beta (reedycja)");
    form_.poprawguz->click();
    EXPECT_EQ(form_.albumy.cell(ColumnTitle, 1), "Alfa");
    EXPECT_EQ(form_.albumy.cell(ColumnTitle, 2), "Beta (reedycja)");
    EXPECT_EQ(filteredIds().size(), 2);
    EXPECT_EQ(form_.przefiltrowane.cell(ColumnTitle, 2), "Beta (reedycja)");
    form_.usunguz->click();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 1);
    EXPECT_EQ(form_.albumy.cell(ColumnTitle, 1), "Alfa");
    EXPECT_EQ(filteredIds().size(), 1);
}

TEST_F(FilterAndSearch, ZaawansowaneThenAnulujKeepsTheWordAsThePhrase)
{
    form_.slowofiltr->setText("rock");
    form_.SpeedButton1->click();
    EXPECT_TRUE(form_.Form7->isVisible());
    EXPECT_EQ(form_.Form7->windowTitle(), "Szukaj");
    EXPECT_EQ(QApplication::activeModalWidget(), form_.Form7);
    EXPECT_TRUE(form_.Form7->wpisywaniewfiltr->isChecked());
    EXPECT_FALSE(form_.Form7->jestzamiana->isEnabled());
    EXPECT_EQ(form_.Form7->szukaneslowo->text(), "rock");
    form_.Form7->szukaneslowo->setText("inne");
    form_.Form7->Anuluj->click();
    EXPECT_FALSE(form_.Form7->isVisible());
    EXPECT_EQ(form_.ustawienia.szukane, "rock");
}

TEST_F(FilterAndSearch, TheDialogsEnablingRule)
{
    form_.Szukaj1Click();
    TForm7& dialog = *form_.Form7;
    EXPECT_FALSE(dialog.zamiennaslowo->isEnabled());
    dialog.jestzamiana->setChecked(true);
    EXPECT_TRUE(dialog.zamiennaslowo->isEnabled());
    EXPECT_TRUE(dialog.pytanieozamiane->isEnabled());
    dialog.wpisywaniewfiltr->setChecked(true);
    EXPECT_FALSE(dialog.jestzamiana->isEnabled());
    EXPECT_FALSE(dialog.zamiennaslowo->isEnabled());
    EXPECT_TRUE(dialog.jestzamiana->isChecked());
    dialog.jestzamiana->setChecked(false);
    dialog.wpisywaniewfiltr->setChecked(false);
    EXPECT_TRUE(dialog.jestzamiana->isEnabled());
    EXPECT_FALSE(dialog.pytanieozamiane->isEnabled());
    dialog.Anuluj->click();
}

TEST_F(FilterAndSearch, FindNextWrapsAndReportsNothingFound)
{
    form_.ustawienia.szukane = "abba";
    form_.Znajdnastpny1Click();
    EXPECT_EQ(form_.binding.wybranywiersz, 1);
    form_.Znajdnastpny1Click();
    EXPECT_EQ(form_.binding.wybranywiersz, 3);
    form_.Znajdnastpny1Click();
    EXPECT_EQ(form_.binding.wybranywiersz, 1);
    EXPECT_EQ(form_.listacd->currentAlbumRow(), 1);
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());
    form_.ustawienia.szukane = "zzz";
    form_.listy->setCurrentIndex(2);
    form_.Znajdnastpny1Click();
    EXPECT_EQ(DialogSeam::takeMessages(), QStringList{"Nie znaleziono szukanego zwrotu"});
    EXPECT_EQ(form_.listy->currentIndex(), 0);
    EXPECT_EQ(form_.binding.wybranywiersz, 1);
}

TEST_F(FilterAndSearch, ReplaceNextWithAndWithoutTheQuestion)
{
    form_.ustawienia.szukane = "the";
    form_.ustawienia.zamiana = "Die";
    form_.Zamienastpny1Click(); // the box is not ticked before the dialog was shown
    EXPECT_EQ(form_.albumy.cell(ColumnPerformer, 4), "Die The");
    EXPECT_EQ(form_.azespol->text(), "Die The"); // the editor shows the album as it is now
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());

    form_.Form7->pytanieozamiane->setChecked(true);
    DialogSeam::setNextAnswer(QMessageBox::Cancel);
    form_.Zamienastpny1Click();
    EXPECT_EQ(DialogSeam::takeMessages(), QStringList{"Czy zamienić?"});
    EXPECT_EQ(form_.albumy.cell(ColumnPerformer, 4), "Die The");
    EXPECT_EQ(form_.binding.wybranywiersz, 4);

    DialogSeam::setNextAnswer(QMessageBox::Ok);
    form_.Zamienastpny1Click();
    EXPECT_EQ(form_.albumy.cell(ColumnPerformer, 4), "Die Die");
    EXPECT_EQ(form_.listacdModel->index(3, 1).data().toString(), "Die Die");
}

TEST_F(FilterAndSearch, OkWithWritingIntoTheListFindsAllThatPassThePanel)
{
    form_.Szukaj1Click();
    TForm7& dialog = *form_.Form7;
    dialog.szukaneslowo->setText("ult");
    dialog.wpisywaniewfiltr->setChecked(true);
    dialog.OK->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(form_.slowofiltr->text(), "ult");
    EXPECT_EQ(form_.listy->currentIndex(), 1);
    // Only "Kult" holds the phrase, and it is on cassette only: the panel's
    // CD test keeps it out, and the list shows its header alone: no row to
    // select that would blank the editor.
    EXPECT_TRUE(filteredIds().isEmpty());
    EXPECT_FALSE(form_.poprawguz->isEnabled());
    EXPECT_EQ(DialogSeam::takeMessages(), QStringList{"Nie znaleziono szukanego zwrotu"});
    form_.f_tylkomc->setChecked(true);
    form_.Szukaj1Click();
    dialog.OK->click();
    EXPECT_EQ(filteredIds(), QStringList({"00002"}));
    EXPECT_EQ(form_.f_suma->text(), "Suma: 1");
    EXPECT_EQ(form_.ustawienia.szukane, "ult");
    EXPECT_EQ(form_.albumy.cell(ColumnPerformer, 2), "Kult");
}

} // namespace
} // namespace alborx::test
