#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "cp1250.h"
#include "dialogs.h"
#include "textfunctions.h"
#include "uifixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>
#include <array>
#include <functional>

namespace alborx::test {
namespace {

using ui::DialogSeam;

class History : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form_.poczatek({});
        ASSERT_TRUE(form_.otworzbaze(
            // Texts in the catalogue are Windows-1250: "Stare Dęby", "Łąka".
            writeCatalogue("k.abx", {albumRow("00001",
                                              "Stare D\xEA"
                                              "by",
                                              "Korzenie", "Rock"),
                                     albumRow("00002", "\xA3\xB9ka", "Trawy", "Pop"),
                                     albumRow("00003", "Grzmot", "Burza", "Rock")})));
    }

    std::vector<Row> rows() const
    {
        std::vector<Row> all;
        for (int r = 0; r < form_.albumy.rowCount(); ++r)
            all.push_back(rowOf(form_.albumy.row(r)));
        return all;
    }

    // The whole state a step must put back and make again: every row, the
    // ID counters, the filtered list and the genre list.
    struct State
    {
        std::vector<Row> rows;
        std::array<std::int32_t, 3> counters;
        std::vector<Row> filtered;
        std::vector<std::string> genres;
        bool operator==(const State&) const = default;
    };
    State state() const
    {
        std::vector<Row> filtered;
        for (int r = 1; r <= form_.przefiltrowane.liczbaalbumow(); ++r)
            filtered.push_back(rowOf(form_.przefiltrowane.row(r)));
        return {rows(),
                {form_.ustawienia.nastid, form_.ustawienia.nastidcd, form_.ustawienia.nastidmc},
                filtered,
                form_.gatunki.items()};
    }

    TForm1 form_;
    ListWatch watch_{form_};
};

TEST_F(History, EveryCommandIsMadeUndoneAndRedoneAsOneStep)
{
    const auto typeAlbum = [this] {
        form_.aid->clear();
        form_.azespol->setText("Nowy");
        form_.aalbum->setText("Album");
        form_.nosnikcd->setChecked(true);
        form_.idcd->clear();
    };
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"Dodaj",
         [&] {
             typeAlbum();
             form_.dodajguz->click();
         }},
        {"Popraw with new IDs",
         [&] {
             form_.listacd->selectAlbumRow(2);
             typeAlbum();
             form_.poprawguz->click();
         }},
        {"Usuń",
         [&] {
             form_.listacd->selectAlbumRow(3);
             form_.usunguz->click();
         }},
        {"Zamień następny",
         [&] {
             form_.ustawienia.szukane = "trawy";
             form_.ustawienia.zamiana = "Laki";
             form_.Zamienastpny1Click();
         }},
        {"genre renamed in the albums",
         [&] {
             const auto rock = form_.listagatunkow->findItems("Rock", Qt::MatchExactly);
             ASSERT_EQ(rock.size(), 1);
             form_.listagatunkow->setCurrentItem(rock.front());
             form_.listagatunkowClick();
             form_.gnazwagatunku->setText("Metal");
             form_.Button1a->click();
         }},
        {"Dołącz bazę", [&] { form_.dolaczbaze(dir_.file("k.abx")); }},
        {"Importuj z CSV, with a new genre",
         [&] {
             const std::string csv = "Wykonawca;Album;MC;Gatunek\nX;Y;P;Jazz\nZ;W;;\n";
             writeBytes(dir_.file("n.csv"), std::vector<std::uint8_t>(csv.begin(), csv.end()));
             DialogSeam::setNextFileName(QString::fromStdString(dir_.file("n.csv")));
             form_.Importujzcsv1Click();
         }},
        // Albums identical to those there: undo takes out the new ones only.
        {"Importuj z CSV of the catalogue's own export",
         [&] {
             const QString csv = QString::fromStdString(dir_.file("own.csv"));
             DialogSeam::setNextFileName(csv);
             form_.Eksportujdocsv1Click();
             DialogSeam::setNextFileName(csv);
             form_.Importujzcsv1Click();
         }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(form_.otworzbaze(dir_.file("k.abx")));
        form_.ustawienia.gatunkiprzyladowaniu = true;
        form_.f_odswiezClick();
        ASSERT_EQ(form_.przefiltrowane.liczbaalbumow(), 3);
        const auto before = state();
        command();
        DialogSeam::takeMessages();
        ASSERT_EQ(form_.historia->count(), 1);
        const auto after = state();
        ASSERT_NE(after, before);
        for (int round = 0; round < 2; ++round) {
            form_.Cofnij1->trigger();
            EXPECT_EQ(state(), before);
            form_.Ponow1->trigger();
            EXPECT_EQ(state(), after);
        }
        // The album list shows the table as it is.
        ASSERT_EQ(form_.listacdModel->rowCount(), form_.albumy.liczbaalbumow());
        for (int r = 1; r <= form_.albumy.liczbaalbumow(); ++r)
            EXPECT_EQ(form_.listacdModel->index(r - 1, ColumnPerformer).data().toString(),
                      QString::fromStdString(cp1250ToUtf8(form_.albumy.cell(ColumnPerformer, r))));
    }
}

TEST_F(History, OneAlbumAddedRemovedOrChangedIsToldToTheListsWithoutAReset)
{
    std::vector<Row> many;
    for (int i = 1; i <= 20000; ++i)
        many.push_back(albumRow(l2t(i, 5), "Wykonawca", "Album " + std::to_string(i), "Rock"));
    ASSERT_TRUE(form_.otworzbaze(writeCatalogue("duza.abx", many)));
    form_.f_odswiezClick();
    QSignalSpy albumListResets(form_.listacdModel, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy filteredResets(form_.listafiltrModel, &QAbstractItemModel::modelAboutToBeReset);
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"Dodaj",
         [&] {
             form_.aid->clear();
             form_.azespol->setText("Nowy");
             form_.dodajguz->click();
         }},
        {"Popraw",
         [&] {
             form_.listacd->selectAlbumRow(500);
             form_.aalbum->setText("Inny");
             form_.poprawguz->click();
         }},
        {"Usuń",
         [&] {
             form_.listacd->selectAlbumRow(700);
             form_.usunguz->click();
         }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        command();
        form_.Cofnij1->trigger();
        form_.Ponow1->trigger();
        EXPECT_EQ(albumListResets.count(), 0);
        EXPECT_EQ(filteredResets.count(), 0);
    }
    EXPECT_EQ(form_.przefiltrowane.cell(ColumnTitle, 500), "Inny");
    EXPECT_EQ(form_.przefiltrowane.liczbaalbumow(), 19999);
}

TEST_F(History, UsunIsUndoneAndRedoneThroughTheMenu)
{
    EXPECT_FALSE(form_.Cofnij1->isEnabled());
    EXPECT_EQ(form_.Cofnij1->text(), "Cofnij");
    const std::vector<Row> before = rows();
    form_.listacd->selectAlbumRow(1);
    form_.usunguz->click();
    const std::vector<Row> after = rows();
    ASSERT_EQ(form_.albumy.liczbaalbumow(), 2);
    EXPECT_TRUE(form_.Cofnij1->isEnabled());
    EXPECT_EQ(form_.Cofnij1->text(), "Cofnij: Usuń album «Stare Dęby – Korzenie»");
    EXPECT_FALSE(form_.Ponow1->isEnabled());

    form_.Cofnij1->trigger();
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(form_.statusPanels[0]->text(), "wpisów: 3");
    EXPECT_EQ(form_.listacdModel->index(0, ColumnTitle).data().toString(), "Korzenie");
    // The album that came back is the editor's again.
    EXPECT_EQ(form_.aalbum->text(), "Korzenie");
    EXPECT_TRUE(form_.poprawguz->isEnabled());
    EXPECT_EQ(form_.Ponow1->text(), "Ponów: Usuń album «Stare Dęby – Korzenie»");

    form_.Ponow1->trigger();
    EXPECT_EQ(rows(), after);
    EXPECT_EQ(form_.statusPanels[0]->text(), "wpisów: 2");
}

TEST_F(History, ShortcutsUndoTheCatalogueButTypingInAField)
{
    form_.show();
    QApplication::setActiveWindow(&form_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
    const std::vector<Row> before = rows();
    form_.azespol->setText("Nowy");
    form_.aalbum->setText("Album");
    form_.nosnikcd->setChecked(true);
    form_.dodajguz->click();
    ASSERT_EQ(form_.albumy.liczbaalbumow(), 4);
    EXPECT_EQ(form_.Cofnij1->text(), "Cofnij: Dodaj album «Nowy – Album»");
    const std::vector<Row> after = rows();

    // In a text field Ctrl+Z takes back the typing only.
    form_.aalbum->setFocus();
    QTest::keyClicks(form_.aalbum, "X");
    QTest::keyClick(form_.aalbum, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form_.aalbum->text(), "Album");
    EXPECT_EQ(rows(), after);

    form_.listacd->setFocus();
    QTest::keyClick(form_.listacd, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(form_.ustawienia.nastid, 0);
    QTest::keyClick(form_.listacd, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(rows(), after);
    QTest::keyClick(form_.listacd, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(form_.listacd, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(rows(), after);
}

TEST_F(History, ReplacementsAndGenresAreStepsAndFollowTheFilteredList)
{
    form_.f_tylkocd->setChecked(true);
    form_.f_odswiezClick();
    ASSERT_EQ(form_.przefiltrowane.liczbaalbumow(), 3);

    form_.ustawienia.szukane = "burza";
    form_.ustawienia.zamiana = "Grad";
    form_.Zamienastpny1Click();
    EXPECT_EQ(form_.albumy.cell(ColumnTitle, 3), "Grad");
    EXPECT_EQ(form_.Cofnij1->text(), "Cofnij: Zamień (1 pole)");

    form_.listy->setCurrentIndex(2);
    const auto rock = form_.listagatunkow->findItems("Rock", Qt::MatchExactly);
    ASSERT_EQ(rock.size(), 1);
    form_.listagatunkow->setCurrentItem(rock.front());
    form_.listagatunkowClick();
    form_.gnazwagatunku->setText("Rock i blues");
    form_.Button1a->click();
    EXPECT_EQ(form_.Cofnij1->text(), "Cofnij: Popraw gatunek «Rock» (2 pola)");

    form_.Cofnij1->trigger();
    EXPECT_EQ(form_.albumy.cell(ColumnGenre, 1), "Rock");
    EXPECT_EQ(form_.albumy.cell(ColumnGenre, 3), "Rock");
    form_.Cofnij1->trigger();
    EXPECT_EQ(form_.albumy.cell(ColumnTitle, 3), "Burza");
    // The filtered list shows the albums as they are again.
    EXPECT_EQ(form_.przefiltrowane.cell(ColumnTitle, 3), "Burza");
    form_.Ponow1->trigger();
    EXPECT_EQ(form_.przefiltrowane.cell(ColumnTitle, 3), "Grad");
}

TEST_F(History, AJoinIsOneStepAndOpeningClearsTheHistory)
{
    const std::vector<Row> before = rows();
    form_.dolaczbaze(dir_.file("k.abx"));
    ASSERT_EQ(form_.albumy.liczbaalbumow(), 6);
    EXPECT_EQ(form_.Cofnij1->text(), "Cofnij: Dołącz bazę (3 albumy)");
    form_.Cofnij1->trigger();
    EXPECT_EQ(rows(), before);
    form_.Ponow1->trigger();
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 6);

    // Saving keeps the history; another catalogue ends it.
    form_.Zapiszbaz1Click();
    EXPECT_TRUE(form_.Cofnij1->isEnabled());
    ASSERT_TRUE(form_.otworzbaze(dir_.file("k.abx")));
    EXPECT_FALSE(form_.Cofnij1->isEnabled());
    EXPECT_FALSE(form_.Ponow1->isEnabled());
    form_.listacd->selectAlbumRow(1);
    form_.usunguz->click();
    DialogSeam::setNextAnswer(QMessageBox::Discard);
    form_.Nowabaza1Click();
    EXPECT_FALSE(form_.Cofnij1->isEnabled());
}

TEST_F(History, AlbumsAnUndoTookOutOfTheFilteredListComeBackWithTheRedo)
{
    form_.dolaczbaze(dir_.file("k.abx"));
    form_.f_odswiezClick();
    ASSERT_EQ(form_.przefiltrowane.liczbaalbumow(), 6);
    const State joined = state();
    form_.Cofnij1->trigger();
    EXPECT_EQ(form_.przefiltrowane.liczbaalbumow(), 3);
    form_.Ponow1->trigger();
    EXPECT_EQ(state(), joined);
    EXPECT_EQ(form_.listafiltrModel->rowCount(), 6);
}

TEST_F(History, KeepsTheLastHundredSteps)
{
    form_.nosnikcd->setChecked(true);
    for (int i = 0; i < 105; ++i) {
        form_.azespol->setText(QStringLiteral("Wykonawca %1").arg(i));
        form_.aid->clear();
        form_.idcd->clear();
        form_.dodajguz->click();
    }
    ASSERT_EQ(form_.albumy.liczbaalbumow(), 108);
    EXPECT_EQ(form_.historia->count(), 100);
    while (form_.historia->canUndo())
        form_.Cofnij1->trigger();
    // The five oldest steps could not be kept.
    EXPECT_EQ(form_.albumy.liczbaalbumow(), 8);
    EXPECT_EQ(form_.albumy.cell(ColumnPerformer, 8), "Wykonawca 4");
}

} // namespace
} // namespace alborx::test
