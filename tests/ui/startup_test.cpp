#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "dialogs.h"
#include "settings.h"
#include "uifixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>

namespace alborx::test {
namespace {

using ui::DialogSeam;

class Startup : public WindowTest
{
protected:
    void writeSettings(bool autoodczyt, const std::string& plikbazy)
    {
        TUstawienia settings;
        ustawdomyslne(settings);
        settings.autoodczyt = autoodczyt;
        settings.plikbazy = plikbazy;
        ASSERT_TRUE(writeSettingsFile(kSettingsFileName, settings));
    }
};

TEST_F(Startup, FirstStartInAnEmptyFolderWritesBothFilesAtExit)
{
    {
        TForm1 form;
        form.poczatek({});
        EXPECT_EQ(form.windowTitle(), "ALBORX!");
        EXPECT_EQ(form.size(), QSize(649, 511));
        EXPECT_EQ(form.minimumSize(), QSize(640, 300));
        EXPECT_EQ(form.albumy.rowCount(), 2);
        EXPECT_EQ(form.albumy.liczbaalbumow(), 0);
        EXPECT_EQ(form.listacdModel->rowCount(), 1);
        EXPECT_EQ(form.statusPanels[0]->text(), "wpisów: 0");
        EXPECT_EQ(form.statusPanels[1]->text(), "");
        EXPECT_EQ(form.listy->currentIndex(), 0);
        EXPECT_FALSE(form.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(form.listy->tabText(1), "   Spis przefiltrowany   ");
        form.close();
    }
    EXPECT_EQ(readBytes(dir_.file("alborx.cfg")).size(), 3866u);
    EXPECT_TRUE(fileExists(dir_.file("alborx-gatunki.cfg")));
    EXPECT_TRUE(readBytes(dir_.file("alborx-gatunki.cfg")).empty());
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());
}

TEST_F(Startup, TheMenuIsCompleteAndInOrder)
{
    TForm1 form;
    QStringList seen;
    const auto walk = [&](auto&& self, const QList<QAction*>& actions,
                          const QString& indent) -> void {
        for (QAction* action : actions) {
            if (action->isSeparator()) {
                seen << indent + "-";
                continue;
            }
            QString line = indent + action->text();
            if (!action->shortcut().isEmpty())
                line += " [" + action->shortcut().toString() + "]";
            if (action->isCheckable())
                line += " (check)";
            if (!action->objectName().isEmpty() && !action->menu())
                line += " " + action->objectName();
            seen << line;
            if (action->menu())
                self(self, action->menu()->actions(), indent + "  ");
        }
    };
    walk(walk, form.menuBar()->actions(), "");
    // Within one menu no two items share their access letter.
    const auto letters = [&](auto&& self, const QList<QAction*>& actions) -> void {
        QStringList taken;
        for (QAction* action : actions) {
            const qsizetype at = action->text().indexOf(QLatin1Char('&'));
            if (at >= 0 && !action->isSeparator()) {
                const QString letter = action->text().mid(at + 1, 1).toLower();
                EXPECT_FALSE(taken.contains(letter)) << action->text().toStdString();
                taken << letter;
            }
            if (action->menu())
                self(self, action->menu()->actions());
        }
    };
    letters(letters, form.menuBar()->actions());
    QStringList expected = {"&Plik", "  &Nowa baza Nowabaza1", "  &Otwórz bazę [Ctrl+O] Otwrzbaz1",
                            "  Ostatnie p&liki"};
    for (int k = 1; k <= 8; ++k)
        expected << QStringLiteral("     oplik%1").arg(k); // no caption while empty
    expected << "  &Dołącz bazę Doczbaz1"
             << "  Zapisz bazę j&ako Zapiszbazjako1"
             << "  &Zapisz bazę [Ctrl+S] Zapiszbaz1"
             << "  -"
             << "  &Importuj z CSV… Importujzcsv1"
             << "  Importuj z programu &Tellico… Importujztellico1"
             << "  &Eksportuj do CSV… Eksportujdocsv1"
             << "  Dr&ukuj… [Ctrl+P] Drukuj1"
             << "  Eksportuj do PD&F… Eksportujdopdf1"
             << "  -"
             << "  &Wyjście Wyjcie1"
             << "&Edycja"
             << "  Cofnij [Ctrl+Z] Cofnij1"
             << "  Ponów [Ctrl+Y] Ponow1"
             << "&Wyszukiwanie"
             << "  &Szukaj (i zamień) [F7] Szukaj1"
             << "  &Znajdź następny... [F3] Znajdnastpny1"
             << "  Zamień &następny... [Shift+F3] Zamienastpny1"
             << "  -"
             << "  Szukaj w &MusicBrainz… [Ctrl+M] Szukajwmusicbrainz1"
             << "&Opcje"
             << "  &Ustawienia programu Ustawieniaprogramu1"
             << "  Zawsze na &wierzchu [Ctrl+A] (check) Zawszenawierzchu1"
             << "  -"
             << "  Zapisz do pliku &tekstowego Zapiszdoplikutekstowego1"
             << "  &Format pliku tekstowego Formatplikutekstowego1"
             << "  -"
             << "  &Kopiuj szerokości kolumn"
             << "    &spis->przefiltrowany Szerokocikolumnspisprzefiltrowany1"
             << "    &przefiltrowany->spis Szerokocikolumnprzefiltrowanyspis1"
             << "Po&moc"
             << "  &O programie Oprogramie1"
             << "  &Pomoc [F1] Pomoc2";
    EXPECT_EQ(seen, expected);
}

TEST_F(Startup, AutoOpenOpensTheRememberedFile)
{
    const std::string name = writeCatalogue("k.abx", {albumRow("00001", "A", "T")});
    writeSettings(true, name);
    TForm1 form;
    form.poczatek({});
    EXPECT_EQ(form.albumy.liczbaalbumow(), 1);
    EXPECT_EQ(form.ustawienia.plikbazy, name);
    EXPECT_EQ(form.statusPanels[1]->text(), QString::fromStdString(name));
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());
}

TEST_F(Startup, AutoOpenPrefersTheCommandLineArgument)
{
    const std::string remembered = writeCatalogue("r.abx", {albumRow("00001", "A", "T")});
    const std::string given =
        writeCatalogue("g.abx", {albumRow("00001", "A", "T"), albumRow("00002", "B", "U")});
    writeSettings(true, remembered);
    TForm1 form;
    form.poczatek({QString::fromStdString(given)});
    EXPECT_EQ(form.albumy.liczbaalbumow(), 2);
    EXPECT_EQ(form.ustawienia.plikbazy, given);
    EXPECT_EQ(form.ustawienia.ostatnie[0], given);
}

TEST_F(Startup, WithoutAutoOpenTheArgumentIsForgotten)
{
    const std::string given = writeCatalogue("g.abx", {albumRow("00001", "A", "T")});
    writeSettings(false, given);
    TForm1 form;
    form.poczatek({QString::fromStdString(given)});
    EXPECT_EQ(form.albumy.liczbaalbumow(), 0);
    EXPECT_EQ(form.ustawienia.plikbazy, "");
    EXPECT_EQ(form.statusPanels[1]->text(), "");
}

TEST_F(Startup, OtworzOpensTheFileWithoutAutomaticOpening)
{
    const std::string remembered = writeCatalogue("r.abx", {albumRow("00001", "A", "T")});
    const std::string given =
        writeCatalogue("R&B.abx", {albumRow("00001", "A", "T"), albumRow("00002", "B", "U")});
    writeSettings(false, remembered);
    TForm1 form;
    form.poczatek({}, QString::fromStdString(given));
    EXPECT_EQ(form.albumy.liczbaalbumow(), 2);
    EXPECT_EQ(form.ustawienia.plikbazy, given);
    EXPECT_EQ(form.aid->text(), "00001"); // the editor shows row 1
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());

    TForm1 missing;
    missing.poczatek({}, QString::fromStdString(dir_.file("brak.abx")));
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList{"Błąd przy wczytywaniu pliku: " +
                          QString::fromStdString(dir_.file("brak.abx"))});
    EXPECT_EQ(missing.albumy.liczbaalbumow(), 0);
    EXPECT_EQ(missing.ustawienia.plikbazy, "");
}

TEST_F(Startup, AVanishedRememberedFileIsReportedThenANewCatalogueStarts)
{
    writeSettings(true, dir_.file("gone.abx"));
    TForm1 form;
    form.poczatek({});
    EXPECT_EQ(DialogSeam::takeMessages(),
              QStringList{"Błąd przy wczytywaniu pliku: " +
                          QString::fromStdString(dir_.file("gone.abx"))});
    EXPECT_EQ(form.albumy.liczbaalbumow(), 0);
    EXPECT_EQ(form.albumy.cell(0, 0), "ID");
    EXPECT_EQ(form.statusPanels[1]->text(), "");
}

TEST_F(Startup, AutoOpenWithNoRememberedFileStartsQuietly)
{
    writeSettings(true, "");
    TForm1 form;
    form.poczatek({});
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());
    EXPECT_EQ(form.albumy.liczbaalbumow(), 0);
}

TEST_F(Startup, AlwaysOnTopLastsOnlyForTheRun)
{
    {
        TForm1 form;
        form.poczatek({});
        form.Zawszenawierzchu1->trigger();
        EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(form.ustawienia.nawierzchu);
        form.close();
    }
    TForm1 again;
    again.poczatek({});
    EXPECT_FALSE(again.Zawszenawierzchu1->isChecked());
    EXPECT_FALSE(again.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(again.ustawienia.nawierzchu);
}

TEST_F(Startup, LayoutComesBackAtTheNextStart)
{
    {
        TForm1 form;
        form.poczatek({});
        form.setGeometry(30, 40, 700, 420);
        form.listacd->setColumnWidth(2, 150);
        form.listafiltr->setColumnWidth(5, 44);
        form.listacd->setRowHeight(21);
        QFont font(QStringLiteral("Liberation Serif"), 11);
        font.setItalic(true);
        form.listacd->setListFont(font);
        form.close();
    }
    TForm1 form;
    form.poczatek({});
    EXPECT_EQ(form.geometry(), QRect(30, 40, 700, 420));
    EXPECT_EQ(form.listacd->columnWidth(2), 150);
    EXPECT_EQ(form.listacd->columnWidth(1), 188);
    EXPECT_EQ(form.listafiltr->columnWidth(5), 44);
    EXPECT_EQ(form.listacd->rowHeight(), 21);
    EXPECT_EQ(form.listafiltr->rowHeight(), 21);
    EXPECT_EQ(form.listacd->font().family(), "Liberation Serif");
    EXPECT_EQ(form.listacd->font().pointSize(), 11);
    EXPECT_TRUE(form.listafiltr->font().italic());
}

TEST_F(Startup, UnusableStoredValuesKeepTheBuiltInOnes)
{
    TUstawienia settings;
    ustawdomyslne(settings);
    settings.oknolewo = 50000;
    settings.oknogora = 50000;
    settings.oknoszerokosc = 700;
    settings.oknowysokosc = 500;
    settings.kolumny.fill(0);
    settings.kolumny[1] = 5000;
    settings.wysokoscwiersza = 2;
    settings.czcionkarozmiar = 500;
    ASSERT_TRUE(writeSettingsFile(kSettingsFileName, settings));

    TForm1 form;
    form.poczatek({});
    EXPECT_EQ(form.listacd->columnWidth(0), 36);
    EXPECT_EQ(form.listacd->columnWidth(1), 188);
    EXPECT_EQ(form.listacd->rowHeight(), 17);
    EXPECT_EQ(form.listacd->font().family(), "Arial");
    EXPECT_EQ(form.listacd->font().pointSize(), 8);
    // Brought back onto the screen.
    EXPECT_LT(form.x(), 5000);
    EXPECT_LT(form.y(), 5000);
}

TEST_F(Startup, EditorAndListsAreThreePixelsApart)
{
    TForm1 form;
    form.poczatek({});
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(form.Splitter1->handleWidth(), 3);
    // Qt lets a thin handle be grabbed 1 px beyond each side; what it draws,
    // and the gap between the editor and the lists, is 3 px.
    EXPECT_EQ(form.Splitter1->handle(1)->contentsRect().height(), 3);
    EXPECT_EQ(form.listy->geometry().top() - form.Panel1->geometry().bottom() - 1, 3);
}

TEST_F(Startup, GenresAreReadAndWrittenBack)
{
    writeBytes(dir_.file("alborx-gatunki.cfg"), {'R', 'o', 'c', 'k', '\r', '\n', ' ', '\r', '\n',
                                                 'J', 'a', 'z', 'z', ' ', '\r', '\n'});
    {
        TForm1 form;
        form.poczatek({});
        EXPECT_EQ(form.gatunki.count(), 2);
        EXPECT_EQ(form.genrePanels[1]->text(), "2");
        form.close();
    }
    EXPECT_EQ(readBytes(dir_.file("alborx-gatunki.cfg")),
              std::vector<std::uint8_t>(
                  {'J', 'a', 'z', 'z', ' ', '\r', '\n', 'R', 'o', 'c', 'k', '\r', '\n'}));
}

TEST_F(Startup, ExitSavesTheCatalogueOnlyWithAutoSaveAndACurrentFile)
{
    const std::string name = writeCatalogue("k.abx", {albumRow("00001", "A", "T")});
    {
        TForm1 form;
        form.poczatek({});
        form.ustawienia.autozapis = true;
        form.close(); // no current file: nothing saved, nothing asked
    }
    EXPECT_FALSE(fileExists(name + ".bak"));
    {
        TForm1 form;
        form.poczatek({});
        form.ustawienia.autozapis = true;
        ASSERT_TRUE(form.otworzbaze(name));
        form.albumy.setCell(ColumnTitle, 1, "Zmieniony");
        form.close();
    }
    EXPECT_TRUE(fileExists(name + ".bak"));
    TForm1 form;
    form.poczatek({});
    ASSERT_TRUE(form.otworzbaze(name));
    EXPECT_EQ(form.albumy.cell(ColumnTitle, 1), "Zmieniony");
    EXPECT_TRUE(DialogSeam::takeMessages().isEmpty());
}

} // namespace
} // namespace alborx::test
