// The catalogue commands of the main window: new, open, join, save, save as
// and the recent-file submenu.
#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "Unit5.h"
#include "cataloguefile.h"
#include "cp1250.h"
#include "dialogs.h"
#include "historytexts.h"
#include "qtext.h"
#include "textfunctions.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QUndoStack>

using alborx::ui::fromQt;
using alborx::ui::informacja;
using alborx::ui::toQt;

namespace {

const QString kCatalogueFilter = QStringLiteral("Baza ALBORX! (*.abx)");
const QString kAllFilesFilter = QStringLiteral("Wszystkie pliki (*.*)");

} // namespace

void TForm1::buildFileDialogs()
{
    const auto setUp = [this](QFileDialog* dialog, const char* name) {
        dialog->setObjectName(QString::fromLatin1(name));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setNameFilters({kCatalogueFilter, kAllFilesFilter});
        dialog->selectNameFilter(kCatalogueFilter);
        dialog->setDefaultSuffix(QStringLiteral("abx"));
        dialog->setDirectory(QDir::currentPath());
        dialog->setSizeGripEnabled(true);
    };
    OpenDialog1 = new QFileDialog(this);
    setUp(OpenDialog1, "OpenDialog1");
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setWindowTitle(QStringLiteral("Otwórz bazę"));

    SaveDialog1 = new QFileDialog(this);
    setUp(SaveDialog1, "SaveDialog1");
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    SaveDialog1->setWindowTitle(QStringLiteral("Zapisz bazę jako"));
}

void TForm1::showNewCatalogue()
{
    setWindowTitle(QStringLiteral("ALBORX!"));
    przefiltrowane.setRow(0, alborx::viewOf(alborx::headerRow()));
    catalogueReplaced();
}

void TForm1::Nowabaza1Click()
{
    if (!askToSaveChanges())
        return;
    alborx::nowabaza(albumy, ustawienia);
    karty.clear();
    showNewCatalogue();
}

bool TForm1::otworzbaze(const std::string& name)
{
    if (alborx::obetnijspacje(name).empty())
        return false;
    alborx::OpenResult result;
    alborx::CardsOpened cards;
    {
        ProgressScope progress(*Form5, QStringLiteral("Wczytywanie bazy..."));
        result = alborx::otworzbaze(albumy, ustawienia, name, progress.get());
        if (result.status == alborx::OpenStatus::Opened)
            cards = karty.open(albumy, alborx::cp1250ToUtf8(result.name));
    }
    if (result.status == alborx::OpenStatus::Opened) {
        addOpenedGenres();
        showNewCatalogue();
        pokazostatnie();
    }
    sayWhyNotOpened(result.status, result.name);
    if (result.damaged)
        informacja(this, QStringLiteral("Plik bazy jest uszkodzony. Wczytano albumów: ") +
                             QString::number(result.loaded));
    if (result.status == alborx::OpenStatus::Opened) {
        sayWhatCardsOpened(cards);
        warnIfNotRemembered(result.name);
    } else
        odswiezlistecd(); // the catalogue's file name is forgotten
    return result.status == alborx::OpenStatus::Opened;
}

void TForm1::sayWhyNotOpened(alborx::OpenStatus status, const std::string& name)
{
    switch (status) {
    case alborx::OpenStatus::CannotOpen:
        informacja(this, QStringLiteral("Błąd przy wczytywaniu pliku: ") + toQt(name));
        break;
    case alborx::OpenStatus::BadHeader:
        informacja(this, QStringLiteral("Zły nagłówek w pliku."));
        break;
    default:
        break;
    }
}

void TForm1::dolaczbaze(const std::string& name)
{
    alborx::JoinResult result;
    {
        ProgressScope progress(*Form5, QStringLiteral("Wczytywanie bazy..."));
        result = alborx::dolaczbaze(albumy, ustawienia, name, progress.get());
    }
    if (result.joined) {
        result.change.cards =
            karty.cardsOfJoined(result.change.inserted, alborx::cp1250ToUtf8(name));
        makeChange(std::move(result.change),
                   QStringLiteral("Dołącz bazę (") + alborx::ui::albumCount(result.loaded) +
                       QLatin1Char(')'),
                   StepKind::Append);
        pokazostatnie();
    }
    // A file that is no catalogue is named as an open names it.
    sayWhyNotOpened(result.status, name);
    if (result.damaged)
        informacja(this, QStringLiteral("Plik bazy jest uszkodzony. Wczytano albumów: ") +
                             QString::number(result.loaded));
}

void TForm1::addOpenedGenres()
{
    if (!ustawienia.gatunkiprzyladowaniu)
        return;
    std::vector<std::string> genres;
    genres.reserve(static_cast<std::size_t>(std::max(0, albumy.liczbaalbumow())));
    for (int row = 1; row <= albumy.liczbaalbumow(); ++row)
        genres.emplace_back(albumy.cell(alborx::ColumnGenre, row));
    gatunki.dodajgatunki(genres);
    refillGenreBox();
    refillGenreListBox();
}

bool TForm1::zapiszbaze(const std::string& name)
{
    alborx::WriteError error = alborx::WriteError::None;
    // The cards are written first and put in place only once the catalogue
    // is, so that neither is saved without the other.
    QString failed = toQt(alborx::cardFilePath(name));
    {
        ProgressScope progress(*Form5, QStringLiteral("Zapisywanie bazy..."));
        error = karty.prepareSave(albumy, alborx::cp1250ToUtf8(name), progress.get());
        if (error == alborx::WriteError::None) {
            failed = toQt(name);
            error = alborx::zapiszbaze(albumy, ustawienia, name, progress.get());
        }
        if (error == alborx::WriteError::None) {
            failed = toQt(alborx::cardFilePath(name));
            error = karty.commitSave();
            pokazostatnie();
        } else {
            karty.discardSave();
        }
    }
    if (error != alborx::WriteError::None) {
        informacja(this, alborx::ui::writeFailureMessage(failed, error));
    } else {
        historia->setClean();
        warnIfNotRemembered(name);
    }
    odswiezlistecd();
    return error == alborx::WriteError::None;
}

void TForm1::warnIfNotRemembered(const std::string& name)
{
    if (alborx::fitsSettingsString(name) || toldNotRemembered_)
        return;
    toldNotRemembered_ = true;
    informacja(this, QStringLiteral("Nazwa pliku ma więcej niż 255 znaków: program nie "
                                    "zapamięta jej na liście ostatnich plików ani do "
                                    "następnego uruchomienia."));
}

bool TForm1::zapiszbazejako()
{
    QString chosen;
    if (!alborx::ui::chooseFile(*SaveDialog1, chosen))
        return false;
    const auto name = fromQt(chosen);
    if (!name) {
        // The settings keep names in Windows-1250; this one could not be kept.
        informacja(this, QStringLiteral("Błąd przy zapisywaniu pliku: ") + chosen);
        return false;
    }
    return zapiszbaze(*name);
}

bool TForm1::askToSaveChanges()
{
    if (historia->isClean())
        return true;
    switch (alborx::ui::pytanie(this, QStringLiteral("ALBORX!"),
                                QStringLiteral("Zapisać zmiany w katalogu?"),
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel)) {
    case QMessageBox::Save:
        return ustawienia.plikbazy.empty() ? zapiszbazejako() : zapiszbaze(ustawienia.plikbazy);
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void TForm1::Otwrzbaz1Click()
{
    if (!askToSaveChanges())
        return;
    QString chosen;
    if (alborx::ui::chooseFile(*OpenDialog1, chosen)) {
        if (const auto name = fromQt(chosen))
            otworzbaze(alborx::withAmpersandKept(*name));
        else
            informacja(this, QStringLiteral("Błąd przy wczytywaniu pliku: ") + chosen);
    }
}

void TForm1::Doczbaz1Click()
{
    QString chosen;
    if (alborx::ui::chooseFile(*OpenDialog1, chosen)) {
        if (const auto name = fromQt(chosen))
            dolaczbaze(*name);
    }
}

void TForm1::Zapiszbaz1Click()
{
    if (!ustawienia.plikbazy.empty())
        zapiszbaze(ustawienia.plikbazy);
    else
        zapiszbazejako();
}

void TForm1::Zapiszbazjako1Click()
{
    zapiszbazejako();
}

void TForm1::pokazostatnie()
{
    for (std::size_t k = 0; k < oplik.size(); ++k) {
        QString caption = toQt(ustawienia.ostatnie[k]);
        // In a menu caption "&&" shows one "&".
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        oplik[k]->setText(caption);
        oplik[k]->setVisible(!caption.isEmpty());
    }
}

void TForm1::oplikClick(int entry)
{
    const std::string name = ustawienia.ostatnie[static_cast<std::size_t>(entry)];
    if (!name.empty() && askToSaveChanges())
        otworzbaze(alborx::withAmpersandKept(name));
}

void TForm1::Wyjcie1Click()
{
    close();
}
