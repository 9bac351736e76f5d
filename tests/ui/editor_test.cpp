#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "dialogs.h"
#include "uifixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace alborx::test {
namespace {

using ui::DialogSeam;

class Editor : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form_.poczatek({});
    }

    void open(const std::vector<Row>& albums)
    {
        ASSERT_TRUE(form_.otworzbaze(writeCatalogue("k.abx", albums)));
    }

    void type(const char* performer, const char* title)
    {
        form_.azespol->setText(QString::fromUtf8(performer));
        form_.aalbum->setText(QString::fromUtf8(title));
    }

    void selectRow(int row) { form_.listacd->selectAlbumRow(row); }

    TForm1 form_;
    ListWatch watch_{form_};
};

TEST_F(Editor, StartsBlankWithCorrectingOff)
{
    EXPECT_FALSE(form_.poprawguz->isEnabled());
    EXPECT_FALSE(form_.nosnikcd->isChecked());
    EXPECT_FALSE(form_.nosnikmc->isChecked());
    EXPECT_FALSE(form_.idmc->isEnabled());
    EXPECT_FALSE(form_.kopiamc->isEnabled());
    EXPECT_EQ(form_.kopiacd->currentText(), "Oryginał (O)");
    EXPECT_EQ(form_.dodajguz->focusPolicy(), Qt::TabFocus); // a click takes no focus
    EXPECT_EQ(form_.czid->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(form_.azespol->toolTip(), "Nazwa zespołu");
    EXPECT_EQ(form_.azespol->accessibleName(), "Wykonawca");
    EXPECT_EQ(form_.kopiacd->count(), 4);
    EXPECT_EQ(form_.kopiamc->itemText(3), "Z MP3 (M)");
}

TEST_F(Editor, SelectingARowLoadsTheEditor)
{
    open({albumRow("00001", "Kult", "Spokojnie", "Rock"),
          {"00002",
           "D\xBF"
           "em",
           "Ceg\xB3"
           "a",
           "Blues", "x", "P", "00007", "00009"}});
    selectRow(2);
    EXPECT_EQ(form_.binding.wybranywiersz, 2);
    EXPECT_EQ(form_.aid->text(), "00002");
    EXPECT_EQ(form_.azespol->text(), "Dżem");
    EXPECT_EQ(form_.agatunek->currentText(), "Blues");
    EXPECT_TRUE(form_.nosnikcd->isChecked());
    EXPECT_EQ(form_.kopiacd->currentText(), "Z MP3 (M)");
    EXPECT_EQ(form_.idcd->text(), "00007");
    EXPECT_EQ(form_.kopiamc->currentIndex(), 1);
    EXPECT_TRUE(form_.idmc->isEnabled());
    EXPECT_TRUE(form_.poprawguz->isEnabled());
}

TEST_F(Editor, FirstDodajFillsTheBlankRowAndTheSecondAppends)
{
    type("Kult", "Spokojnie");
    form_.nosnikcd->setChecked(true);
    form_.dodajguz->click();
    EXPECT_EQ(form_.listacdModel->rowCount(), 1);
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 1);
    EXPECT_EQ(form_.aid->text(), "00001");
    EXPECT_EQ(form_.idcd->text(), "00001");
    EXPECT_EQ(form_.statusPanels[0]->text(), "wpisów: 1");
    form_.dodajguz->click();
    EXPECT_EQ(form_.listacdModel->rowCount(), 2);
    EXPECT_EQ(form_.albumy.row(1), form_.albumy.row(2));
    EXPECT_EQ(form_.listacd->currentAlbumRow(), 2);
    EXPECT_EQ(form_.binding.wybranywiersz, 2);
    EXPECT_TRUE(form_.poprawguz->isEnabled());
}

TEST_F(Editor, DodajGoesToTheEndOfASortedList)
{
    open({albumRow("00002", "B", "x"), albumRow("00001", "A", "y")});
    form_.albumy.sortByColumn(ColumnPerformer); // descending on the first click
    form_.listacdModel->reload();
    type("0", "z");
    form_.nosnikcd->setChecked(true);
    form_.dodajguz->click();
    EXPECT_EQ(form_.albumy.cell(ColumnPerformer, 3), "0");
    EXPECT_EQ(form_.albumy.cell(ColumnId, 3), "00003");
}

TEST_F(Editor, SelectPoprawUsunSequence)
{
    open(
        {albumRow("00001", "A", "T1"), albumRow("00002", "B", "T2"), albumRow("00003", "C", "T3")});
    selectRow(2);
    form_.aalbum->setText("Nowy tytuł  ");
    form_.poprawguz->click();
    EXPECT_EQ(form_.albumy.cell(ColumnTitle, 2), "Nowy tytu\xB3");
    EXPECT_EQ(form_.listacdModel->index(1, 2).data().toString(), "Nowy tytuł");
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 3);

    form_.usunguz->click();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 2);
    EXPECT_EQ(form_.albumy.cell(ColumnId, 2), "00003");
    // The album that moved up into the row is in the editor, bound.
    EXPECT_EQ(form_.binding.wybranywiersz, 2);
    EXPECT_EQ(form_.aid->text(), "00003");
    EXPECT_EQ(form_.statusPanels[0]->text(), "wpisów: 2");

    form_.usunguz->click(); // the last row: the editor moves to the new last album
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 1);
    EXPECT_EQ(form_.aid->text(), "00001");
    form_.usunguz->click();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 0);
    EXPECT_EQ(form_.listacdModel->rowCount(), 1);
    form_.usunguz->click(); // nothing left: nothing happens
    EXPECT_EQ(form_.albumy.rowCount(), 2);
    EXPECT_EQ(form_.albumy.cell(ColumnId, 0), "ID");
}

TEST_F(Editor, UsunAfterNowyAlbumRemovesTheBoundAlbum)
{
    open({albumRow("00001", "A", "T1"), albumRow("00002", "B", "T2")});
    selectRow(1);
    form_.nowyguz->click();
    EXPECT_FALSE(form_.poprawguz->isEnabled());
    EXPECT_EQ(form_.azespol->text(), "");
    form_.usunguz->click();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 1);
    EXPECT_EQ(form_.albumy.cell(ColumnId, 1), "00002");
}

TEST_F(Editor, AfterOpeningAnotherCatalogueNothingIsRemoved)
{
    open({albumRow("00001", "A", "T1"), albumRow("00002", "B", "T2")});
    selectRow(2);
    ASSERT_TRUE(form_.otworzbaze(
        writeCatalogue("o.abx", {albumRow("00005", "X", "Y"), albumRow("00006", "Z", "W")})));
    form_.usunguz->click();
    form_.poprawguz->click();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 2);
    EXPECT_EQ(form_.albumy.cell(ColumnTitle, 2), "W");
}

// The list gets the focus back after the open dialog closes, or by the first
// click on Usuń: that must neither make a row current nor load an album.
TEST_F(Editor, FocusAfterOpeningLoadsNothingAndUsunRemovesNothing)
{
    open({albumRow("00001", "A", "T1"), albumRow("00002", "B", "T2"), albumRow("00003", "C", "T3"),
          albumRow("00004", "D", "T4"), albumRow("00005", "E", "T5"),
          albumRow("00006", "F", "T6")});
    selectRow(6);
    DialogSeam::setNextFileName(QString::fromStdString(dir_.file("k.abx")));
    form_.Otwrzbaz1Click();
    for (QWidget* list :
         {static_cast<QWidget*>(form_.listacd), static_cast<QWidget*>(form_.listafiltr)}) {
        QFocusEvent focus(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(list, &focus);
    }
    EXPECT_FALSE(form_.listacd->currentIndex().isValid());
    EXPECT_TRUE(form_.listacd->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(form_.azespol->text(), "");
    EXPECT_FALSE(form_.poprawguz->isEnabled());
    form_.usunguz->click();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 6);
    EXPECT_EQ(form_.albumy.cell(ColumnTitle, 1), "T1");
    // The user's own pick still loads and binds.
    selectRow(3);
    EXPECT_EQ(form_.azespol->text(), "C");
    form_.usunguz->click();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 5);
    EXPECT_EQ(form_.albumy.cell(ColumnTitle, 3), "T4");
}

TEST_F(Editor, RemovalWhileBoundThroughTheFilteredList)
{
    open(
        {albumRow("00001", "A", "T1"), albumRow("00002", "B", "T2"), albumRow("00003", "C", "T3")});
    // The filtered list shows albums 2 and 3; the editor is bound to 2 there.
    form_.przefiltrowane.assignRowsOf(form_.albumy, {2, 3});
    form_.listafiltrModel->reload();
    form_.listacdSelectCell(2);
    form_.binding.wierszfiltru = 1;
    form_.binding.zfiltru = true;

    form_.usunguz->click();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 2);
    EXPECT_EQ(form_.albumy.cell(ColumnId, 1), "00001");
    EXPECT_EQ(form_.albumy.cell(ColumnId, 2), "00003");
    EXPECT_EQ(form_.przefiltrowane.rowCount(), 2);
    EXPECT_EQ(form_.przefiltrowane.cell(ColumnId, 1), "00003");
    // The editor shows exactly the album it is bound to.
    const int bound = form_.binding.wybranywiersz;
    ASSERT_GE(bound, 1);
    EXPECT_EQ(form_.aid->text().toStdString(), form_.albumy.cell(ColumnId, bound));
}

TEST_F(Editor, PoprawKeepsTheFilteredRowInStep)
{
    open({albumRow("00001", "A", "T1"), albumRow("00002", "B", "T2")});
    form_.przefiltrowane.assignRowsOf(form_.albumy, {2, 1});
    form_.listafiltrModel->reload();
    form_.listacdSelectCell(2);
    form_.binding.wierszfiltru = 1;
    form_.binding.zfiltru = true;
    form_.aalbum->setText("Zmiana");
    form_.poprawguz->click();
    EXPECT_EQ(form_.przefiltrowane.cell(ColumnTitle, 1), "Zmiana");
    // The filtered row of another album is left alone, and an album
    // corrected through the main list is corrected in the filtered list too.
    EXPECT_EQ(form_.przefiltrowane.cell(ColumnTitle, 2), "T1");
    form_.listacdSelectCell(1);
    form_.aalbum->setText("Druga");
    form_.poprawguz->click();
    EXPECT_EQ(form_.albumy.cell(ColumnTitle, 1), "Druga");
    EXPECT_EQ(form_.przefiltrowane.cell(ColumnTitle, 1), "Zmiana");
    EXPECT_EQ(form_.przefiltrowane.cell(ColumnTitle, 2), "Druga");
}

TEST_F(Editor, NoFreeIdIsReported)
{
    std::vector<Row> rows;
    for (int id = 1; id <= 99999; ++id) {
        const std::string text =
            std::string(5 - std::to_string(id).size(), '0') + std::to_string(id);
        rows.push_back({text, "P", "T", "", "O", "-", "00001", "-"});
    }
    form_.albumy.assignAlbums(rows);
    form_.listacdModel->reload();
    type("Nowy", "");
    form_.nosnikcd->setChecked(true);
    form_.idcd->setText("5");
    form_.dodajguz->click();
    EXPECT_EQ(DialogSeam::takeMessages(), QStringList{"Brak wolnego numeru ID."});
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 99999);
}

TEST_F(Editor, FieldsTakeTheNearestCharacterTheCodePageHolds)
{
    // insert() goes through the field's checks as typing and pasting do.
    form_.azespol->insert("Zaż");
    form_.azespol->insert("ółć€");
    form_.azespol->insert("R");
    form_.azespol->insert("øyksopp");
    EXPECT_EQ(form_.azespol->text(), "Zażółć€Royksopp");
    EXPECT_EQ(form_.azespol->cursorPosition(), form_.azespol->text().size());
    EXPECT_EQ(form_.StatusBar1->currentMessage(),
              "Znaki spoza Windows-1250 zastąpiono najbliższymi: ø → o");
    form_.aalbum->setText("Le");
    form_.aalbum->setCursorPosition(1);
    form_.aalbum->insert("日Æ");
    EXPECT_EQ(form_.aalbum->text(), "L?Ae");
    EXPECT_EQ(form_.aalbum->cursorPosition(), 3);
    form_.aid->setText("");
    QTest::keyClicks(form_.aid, "1234567");
    EXPECT_EQ(form_.aid->text(), "12345");
    // Text put in by the program may be longer than typing allows.
    form_.aalbum->setText(QString(70, 'x'));
    EXPECT_EQ(form_.aalbum->text().size(), 70);
}

TEST_F(Editor, AlbumsGoInFromTheKeyboardAlone)
{
    form_.show();
    form_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
    form_.azespol->setFocus();
    QTest::keyClicks(form_.azespol, "Kult");
    QTest::keyClick(form_.azespol, Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "Spokojnie");
    form_.nosnikcd->setChecked(true);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
    ASSERT_EQ(form_.albumy.liczbaalbumow(), 1);
    EXPECT_EQ(form_.albumy.cell(ColumnTitle, 1), "Spokojnie");
    // From the last field of the form Tab goes on to the buttons.
    form_.kopiamc->setEnabled(true);
    form_.kopiamc->setFocus();
    for (QPushButton* button : {form_.dodajguz, form_.poprawguz, form_.usunguz, form_.nowyguz,
                                form_.nowyttensamguz, form_.musicbrainzguz}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), button) << button->text().toStdString();
    }
}

TEST_F(Editor, ScreenReadersHearWhatEachControlIs)
{
    const auto name = [](QObject* object) {
        return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
    };
    const auto labels = [](QObject* object) {
        QStringList texts;
        for (const auto& [label, relation] :
             QAccessible::queryAccessibleInterface(object)->relations(QAccessible::Label))
            texts << label->text(QAccessible::Name);
        return texts;
    };
    EXPECT_EQ(name(form_.idcd), "ID CD");
    EXPECT_EQ(name(form_.idmc), "ID MC");
    EXPECT_EQ(name(form_.agatunek->lineEdit()), "Gatunek");
    EXPECT_TRUE(labels(form_.agatunek).contains("Gatunek"));
    EXPECT_TRUE(labels(form_.kopiacd).contains("Rodzaj kopii na tym CD"));
    EXPECT_TRUE(labels(form_.kopiamc).contains("Rodzaj kopii na tej kasecie"));
    QAccessibleInterface* tabs = QAccessible::queryAccessibleInterface(form_.listy->tabBar());
    QStringList tabNames;
    for (int i = 0; i < form_.listy->count(); ++i)
        tabNames << tabs->child(i)->text(QAccessible::Name);
    EXPECT_EQ(tabNames, QStringList({"Spis albumów", "Spis przefiltrowany", "Gatunki muzyki",
                                     "Podsumowanie", "Karta albumu"}));
}

TEST_F(Editor, TheMediumRuleAndTheClearButtons)
{
    form_.nosnikcd->setChecked(true);
    EXPECT_TRUE(form_.idcd->isEnabled());
    form_.idcd->setText("7");
    form_.nosnikcd->setChecked(false);
    EXPECT_FALSE(form_.kopiacd->isEnabled());
    EXPECT_EQ(form_.idcd->text(), "7"); // disabling keeps the contents
    form_.azespol->setText("A");
    form_.czzespol->click();
    EXPECT_EQ(form_.azespol->text(), "");
    form_.agatunek->setEditText("Rock");
    form_.czgatunek->click();
    EXPECT_EQ(form_.agatunek->currentText(), "");
}

TEST_F(Editor, InnyAlbumKeepsPerformerAndGenre)
{
    open({albumRow("00001", "Kult", "Spokojnie", "Rock")});
    selectRow(1);
    form_.nowyttensamguz->click();
    EXPECT_EQ(form_.azespol->text(), "Kult");
    EXPECT_EQ(form_.agatunek->currentText(), "Rock");
    EXPECT_EQ(form_.aalbum->text(), "");
    EXPECT_EQ(form_.aid->text(), "");
    EXPECT_FALSE(form_.poprawguz->isEnabled());
}

TEST_F(Editor, SortingKeepsTheBindingOnItsAlbum)
{
    open(
        {albumRow("00001", "C", "T1"), albumRow("00002", "A", "T2"), albumRow("00003", "B", "T3")});
    form_.show();
    selectRow(1); // C
    QHeaderView* header = form_.listacd->horizontalHeader();
    const QPoint idHeader(header->sectionViewportPosition(ColumnId) + 5, 5);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, idHeader); // ascending: no change
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, idHeader); // descending
    ASSERT_EQ(form_.albumy.cell(ColumnId, 1), "00003");
    EXPECT_EQ(form_.binding.wybranywiersz, 3);
    form_.aalbum->setText("Poprawiony");
    form_.poprawguz->click();
    EXPECT_EQ(form_.albumy.cell(ColumnPerformer, form_.binding.wybranywiersz), "C");
    EXPECT_EQ(form_.albumy.cell(ColumnTitle, form_.binding.wybranywiersz), "Poprawiony");
}

} // namespace
} // namespace alborx::test
