#include "AlbumTableModel.h"
#include "Unit1.h"
#include "Unit5.h"
#include "uifixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace alborx::test {
namespace {

class Genres : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        writeBytes(dir_.file("alborx-gatunki.cfg"), bytes("Rock\r\nBlues\r\nJazz\r\n"));
        form_.poczatek({});
    }

    static std::vector<std::uint8_t> bytes(const std::string& text)
    {
        return {text.begin(), text.end()};
    }

    QStringList boxItems() const
    {
        QStringList items;
        for (int i = 0; i < form_.agatunek->count(); ++i)
            items << form_.agatunek->itemText(i);
        return items;
    }

    QStringList listItems() const
    {
        QStringList items;
        for (int i = 0; i < form_.listagatunkow->count(); ++i)
            items << form_.listagatunkow->item(i)->text();
        return items;
    }

    void pick(int entry)
    {
        form_.listagatunkow->setCurrentRow(entry);
        form_.listagatunkow->item(entry)->setSelected(true);
    }

    TForm1 form_;
    ListWatch watch_{form_};
};

TEST_F(Genres, TheGenreBoxHoldsTheSortedList)
{
    EXPECT_EQ(boxItems(), QStringList({"Blues", "Jazz", "Rock"}));
    form_.listy->setCurrentIndex(2);
    EXPECT_EQ(listItems(), QStringList({"Blues", "Jazz", "Rock"}));
    EXPECT_EQ(form_.genrePanels[0]->text(), "Liczba gatunków w bazie:");
    EXPECT_EQ(form_.genrePanels[1]->text(), "3");
}

TEST_F(Genres, LeavingTheGenreBoxOffersItsText)
{
    form_.agatunek->setEditText("rock  ");
    form_.agatunekEnter();
    EXPECT_EQ(form_.gatunki.count(), 3);
    form_.agatunek->setEditText("Łupanka");
    form_.agatunekEnter();
    EXPECT_EQ(boxItems(), QStringList({"Blues", "Jazz", "Łupanka", "Rock"}));
    EXPECT_EQ(form_.agatunek->currentText(), "Łupanka");
    EXPECT_EQ(form_.genrePanels[1]->text(), "4");
}

TEST_F(Genres, FocusMovingOutOfTheBoxRunsTheHook)
{
    form_.show();
    QApplication::setActiveWindow(&form_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
    form_.agatunek->setFocus(Qt::TabFocusReason);
    form_.agatunek->setEditText("Metal");
    form_.azespol->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(boxItems().contains("Metal"));
}

TEST_F(Genres, PoprawNaLiscieRenamesTheEntryButNotTheAlbums)
{
    ASSERT_TRUE(form_.otworzbaze(writeCatalogue(
        "k.abx", {albumRow("00001", "A", "T", "Blues"), albumRow("00002", "B", "U", "blues")})));
    form_.listy->setCurrentIndex(2);
    pick(0);
    EXPECT_EQ(form_.gnazwagatunku->text(), "Blues");
    EXPECT_TRUE(form_.Button1->isEnabled());
    form_.gnazwagatunku->setText("Bluez");
    form_.Button1->click();
    EXPECT_EQ(listItems().first(), "Bluez");
    EXPECT_TRUE(boxItems().contains("Bluez"));
    EXPECT_EQ(form_.albumy.cell(ColumnGenre, 1), "Blues");
}

TEST_F(Genres, PoprawNaLiscieIWBazieRenamesOnlyExactMatches)
{
    ASSERT_TRUE(form_.otworzbaze(writeCatalogue("k.abx", {albumRow("00001", "A", "T", "Blues"),
                                                          albumRow("00002", "B", "U", "blues"),
                                                          albumRow("00003", "C", "V", "Blues ")})));
    form_.listy->setCurrentIndex(2);
    pick(0); // Blues
    form_.gnazwagatunku->setText("Bluez");
    form_.Button1a->click();
    EXPECT_EQ(form_.albumy.cell(ColumnGenre, 1), "Bluez");
    EXPECT_EQ(form_.albumy.cell(ColumnGenre, 2), "blues");
    EXPECT_EQ(form_.albumy.cell(ColumnGenre, 3), "Blues ");
    EXPECT_EQ(form_.listacdModel->index(0, ColumnGenre).data().toString(), "Bluez");
}

TEST_F(Genres, RemovingAndAddingEntries)
{
    form_.listy->setCurrentIndex(2);
    pick(1); // Jazz
    form_.Button2->click();
    EXPECT_EQ(listItems(), QStringList({"Blues", "Rock"}));
    EXPECT_EQ(form_.gnazwagatunku->text(), "");
    EXPECT_FALSE(form_.Button1->isEnabled());
    form_.gnazwagatunku->setText("Ambient");
    form_.Button3->click();
    EXPECT_EQ(listItems(), QStringList({"Ambient", "Blues", "Rock"}));
    EXPECT_EQ(form_.gnazwagatunku->text(), "Ambient");
    // With no entry selected the buttons change nothing.
    form_.Button2->click();
    form_.gnazwagatunku->setText("X");
    form_.Button1->click();
    EXPECT_EQ(listItems(), QStringList({"Ambient", "Blues", "Rock"}));
}

TEST_F(Genres, SearchingTheCatalogueAddsEachNewGenreOnce)
{
    form_.ustawienia.gatunkiprzyladowaniu = false;
    ASSERT_TRUE(form_.otworzbaze(writeCatalogue("k.abx", {albumRow("00001", "A", "T", "Pop"),
                                                          albumRow("00002", "B", "U", "pop"),
                                                          albumRow("00003", "C", "V", "Pop ")})));
    EXPECT_EQ(form_.gatunki.count(), 3);
    form_.SpeedButton2->click();
    EXPECT_EQ(boxItems(), QStringList({"Blues", "Jazz", "Pop", "Rock"}));
    EXPECT_FALSE(form_.Form5->isVisible());
}

TEST_F(Genres, SearchingAnEmptyCatalogueChangesNothing)
{
    form_.SpeedButton2->click();
    EXPECT_EQ(form_.gatunki.count(), 3);
    EXPECT_FALSE(form_.Form5->isVisible());
}

TEST_F(Genres, OpeningCollectsGenresAndExitWritesThem)
{
    ASSERT_TRUE(form_.otworzbaze(writeCatalogue("k.abx", {albumRow("00001", "A", "T",
                                                                   "\xAF"
                                                                   "eglarska")})));
    EXPECT_TRUE(boxItems().contains("Żeglarska"));
    form_.close();
    EXPECT_EQ(readBytes(dir_.file("alborx-gatunki.cfg")), bytes("Blues\r\nJazz\r\nRock\r\n\xAF"
                                                                "eglarska\r\n"));
}

} // namespace
} // namespace alborx::test
