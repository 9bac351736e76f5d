// Search and replace: find next, replace next and find all into the
// filtered list, with the options of the search dialog.
#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "Unit5.h"
#include "Unit7.h"
#include "dialogs.h"
#include "historytexts.h"
#include "qtext.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>

void TForm1::notFound()
{
    alborx::ui::informacja(this, QStringLiteral("Nie znaleziono szukanego zwrotu"),
                           QStringLiteral("Szukanie"));
}

void TForm1::szukaj(bool replace)
{
    const int row =
        alborx::findNext(albumy, ustawienia.szukane, ustawienia.szukajw, binding.wybranywiersz);
    if (row > 0) {
        listacd->selectAlbumRow(row);
        listacdSelectCell(row);
        if (replace) {
            const bool asked = Form7->pytanieozamiane->isChecked();
            if (!asked || alborx::ui::pytanie(this, QStringLiteral("Zamienić?"),
                                              QStringLiteral("Czy zamienić?")) == QMessageBox::Ok) {
                alborx::Row after = alborx::rowOf(albumy.row(row));
                alborx::replaceInRow(after, ustawienia.szukane, ustawienia.zamiana,
                                     ustawienia.szukajw);
                makeChange(
                    alborx::albumRewritten(albumy, row, after, alborx::countersOf(ustawienia),
                                           alborx::countersOf(ustawienia)),
                    QStringLiteral("Zamień (") + alborx::ui::fieldCount(1) + QLatin1Char(')'));
                // The editor shows the album as it is now, so that a Popraw
                // after it does not write the old text back.
                listacdSelectCell(row);
            }
        }
    }
    listy->setCurrentIndex(0);
    if (row == 0)
        notFound();
}

void TForm1::szukajwpisz()
{
    bool found = false;
    if (albumy.liczbaalbumow() >= 1) {
        std::vector<int> matches;
        {
            ProgressScope progress(*Form5, QStringLiteral("Filtrowanie..."));
            matches = alborx::findAll(albumy, mediumFilter(), ustawienia.szukane,
                                      ustawienia.szukajw, progress.get());
        }
        found = !matches.empty();
        odswiezlistecd();
        showFilteredAlbums(matches);
    }
    listy->setCurrentIndex(1);
    if (!found)
        notFound();
}

void TForm1::Szukaj1Click()
{
    Form7->show();
}

void TForm1::Znajdnastpny1Click()
{
    szukaj(false);
}

void TForm1::Zamienastpny1Click()
{
    szukaj(true);
}
