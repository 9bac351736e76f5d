// The catalogue's history of changes: the menu "Edycja" with "Cofnij" and
// "Ponów", and the steps that make a change of the album table, take it back
// and do it again. A step keeps only what its command changes
// (alborx::TableChange, with what it did to the genre list). Every step,
// made, taken back or done again, ends in applyStep: the one place from
// which the lists, the genre list, the editor, the status bar and the
// summary follow the table.
#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "keyindex.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QUndoStack>
#include <algorithm>
#include <unordered_set>

namespace {

// The history keeps this many steps; older ones are dropped.
constexpr int kHistorySteps = 100;

class CatalogueStep : public QUndoCommand
{
public:
    CatalogueStep(TForm1& form, alborx::TableChange change, TForm1::StepKind kind,
                  alborx::GenreListChange genres, const QString& text)
        : QUndoCommand(text), form_(form), change_(std::move(change)),
          kind_(kind), trail_{std::move(genres), 0, {}}
    {}

    void undo() override { form_.applyStep(change_, kind_, trail_, TForm1::StepMove::Undo); }

    // The first redo, when the command pushes the step, makes the change;
    // later ones redo it from the menu.
    void redo() override
    {
        form_.applyStep(change_, kind_, trail_,
                        made_ ? TForm1::StepMove::Redo : TForm1::StepMove::FirstRedo);
        made_ = true;
    }

private:
    TForm1& form_;
    alborx::TableChange change_;
    TForm1::StepKind kind_;
    TForm1::StepTrail trail_;
    bool made_ = false;
};

// The album keys a change touched, with the row each has now.
TForm1::TouchedRows touchedRows(const alborx::AlbumTable& table, const alborx::TableChange& change)
{
    std::vector<alborx::RowKey> keys = alborx::keysOf(change.inserted);
    for (const alborx::RowKey key : alborx::keysOf(change.removed))
        keys.push_back(key);
    for (const alborx::CellEdit& edit : change.cells) {
        if (keys.empty() || keys.back() != edit.key)
            keys.push_back(edit.key);
    }
    // A card changes by itself only in a step of its own.
    if (keys.empty()) {
        for (const alborx::CardEdit& edit : change.cards)
            keys.push_back(edit.key);
    }
    const std::vector<int> rows = table.rowsOfKeys(keys);
    TForm1::TouchedRows touched;
    touched.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        touched.emplace_back(keys[i], rows[i]);
    return touched;
}

// Where a row inserted at position goes in a table of count albums.
int insertionRow(int position, int count)
{
    return position < 1 || position > count + 1 ? count + 1 : position;
}

} // namespace

void TForm1::buildEditMenu(QMenuBar* bar)
{
    historia = new QUndoStack(this);
    historia->setUndoLimit(kHistorySteps);

    QMenu* edycja = bar->addMenu(QStringLiteral("&Edycja"));
    edycja->setObjectName(QStringLiteral("Edycja1"));
    Cofnij1 = edycja->addAction(QStringLiteral("Cofnij"));
    Cofnij1->setObjectName(QStringLiteral("Cofnij1"));
    Cofnij1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Ponow1 = edycja->addAction(QStringLiteral("Ponów"));
    Ponow1->setObjectName(QStringLiteral("Ponow1"));
    Ponow1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // A text field takes these keys first and undoes its own typing.
    connect(Cofnij1, &QAction::triggered, historia, &QUndoStack::undo);
    connect(Ponow1, &QAction::triggered, historia, &QUndoStack::redo);

    const auto showState = [this] {
        const QString undo = historia->undoText();
        const QString redo = historia->redoText();
        Cofnij1->setText(undo.isEmpty() ? QStringLiteral("Cofnij")
                                        : QStringLiteral("Cofnij: ") + undo);
        Ponow1->setText(redo.isEmpty() ? QStringLiteral("Ponów")
                                       : QStringLiteral("Ponów: ") + redo);
        Cofnij1->setEnabled(historia->canUndo());
        Ponow1->setEnabled(historia->canRedo());
    };
    connect(historia, &QUndoStack::indexChanged, this, showState);
    showState();
}

void TForm1::makeChange(alborx::TableChange change, const QString& text, StepKind kind,
                        alborx::GenreListChange genres)
{
    if (change.empty()) {
        // Nothing of the table changes, so there is nothing to take back;
        // counters a command moved still move.
        alborx::setCounters(ustawienia, change.countersAfter);
        return;
    }
    historia->push(new CatalogueStep(*this, std::move(change), kind, std::move(genres), text));
}

void TForm1::applyStep(alborx::TableChange& change, StepKind kind, StepTrail& trail, StepMove move)
{
    const bool redo = move != StepMove::Undo;
    const TouchedRows touched = changeTable(change, redo);
    karty.apply(change.cards, redo);
    scheduleCardShow();
    followChangeInGenreList(change, kind, trail.genres, move);
    followChangeInFilteredList(change, redo, trail, touched);
    if (move != StepMove::FirstRedo)
        bindEditorToStep(touched);
    odswiezlistecd();
    // The figures follow a catalogue appended and any step of many albums;
    // one album more or less waits for "Oblicz wszystko".
    if (kind == StepKind::Append || change.inserted.size() > 1 || change.removed.size() > 1)
        obliczwszystkoClick();
}

void TForm1::catalogueReplaced()
{
    {
        const QSignalBlocker quiet(listacd->selectionModel());
        listacdModel->reload();
    }
    // The rows of another catalogue are no target for Popraw and Usuń.
    binding.wybranywiersz = 0;
    binding.zfiltru = false;
    binding.boundKey = 0;
    nowyguzClick();
    scheduleCardShow();
    // Another catalogue: the steps of this one can no longer be taken back.
    historia->clear();
    odswiezlistecd();
    obliczwszystkoClick();
}

TForm1::TouchedRows TForm1::changeTable(alborx::TableChange& change, bool redo)
{
    // The step keeps its rows only while they are out of the table.
    const auto apply = [&] {
        if (redo)
            alborx::redoChangeMovingRows(albumy, ustawienia, change);
        else
            alborx::undoChangeMovingRows(albumy, ustawienia, change);
    };
    // The list's current row moves with the rows around it; that is no
    // choice of the user's to show in the editor.
    const QScopedValueRollback quiet(ignoreListacdSelection_, true);
    // The rows that come and go in this direction.
    const std::size_t coming = redo ? change.inserted.size() : change.removed.size();
    const std::size_t going = redo ? change.removed.size() : change.inserted.size();
    // The album list hears of the change as narrowly as it goes, so that
    // its current row and selection stay with their albums and a large
    // catalogue is not shown anew for one album.
    if (change.cells.empty() && coming == 1 && going == 0) {
        const int position = redo ? change.insertedAt : change.removed.front().position;
        listacdModel->beginInsertAlbumRow(insertionRow(position, albumy.liczbaalbumow()));
        apply();
        listacdModel->endInsertAlbumRow();
    } else if (change.cells.empty() && coming == 0 && going == 1) {
        const alborx::RowKey key =
            redo ? change.removed.front().album.key : change.inserted.front().key;
        listacdModel->beginRemoveAlbumRow(albumy.rowsOfKeys({key}).front());
        apply();
        listacdModel->endRemoveAlbumRow();
    } else if (coming == 0 && going == 0) {
        apply();
        TouchedRows touched = touchedRows(albumy, change);
        int first = albumy.liczbaalbumow();
        int last = 0;
        for (const auto& [key, row] : touched) {
            if (row > 0) {
                first = std::min(first, row);
                last = std::max(last, row);
            }
        }
        if (first <= last)
            listacdModel->albumRowsChanged(first, last);
        return touched;
    } else {
        apply();
        const QSignalBlocker quiet(listacd->selectionModel());
        listacdModel->reload();
    }
    return touchedRows(albumy, change);
}

void TForm1::followChangeInGenreList(const alborx::TableChange& change, StepKind kind,
                                     alborx::GenreListChange& genres, StepMove move)
{
    const int before = gatunki.count();
    switch (move) {
    case StepMove::FirstRedo:
        // A catalogue appended brings its genres when the settings say so;
        // the step remembers which were new, to take them back with it.
        if (kind == StepKind::Append && ustawienia.gatunkiprzyladowaniu) {
            // The albums an append brings stand together where it put them;
            // each genre is offered once.
            const int first = change.insertedAt;
            const int last = first + static_cast<int>(change.inserted.size()) - 1;
            std::unordered_set<std::string_view> seen;
            std::vector<std::string> offered;
            for (int row = first; row <= last && row <= albumy.liczbaalbumow(); ++row) {
                const std::string_view genre = albumy.cell(alborx::ColumnGenre, row);
                if (seen.insert(genre).second)
                    offered.emplace_back(genre);
            }
            genres.added = gatunki.dodajgatunki(offered);
        }
        break;
    case StepMove::Redo:
        alborx::redoGenreChange(gatunki, genres);
        break;
    case StepMove::Undo:
        alborx::undoGenreChange(gatunki, genres, albumy);
        break;
    }
    if (gatunki.count() != before || (move != StepMove::FirstRedo && !genres.renamedTo.empty())) {
        refillGenreBox();
        refillGenreListBox();
    }
}

void TForm1::bindEditorToStep(const TouchedRows& touched)
{
    // A step on one album shows that album in the editor, as clicking it
    // would; otherwise the editor is bound to nothing.
    binding.wybranywiersz = 0;
    binding.zfiltru = false;
    binding.boundKey = 0;
    poprawguz->setEnabled(false);
    if (touched.size() == 1 && touched.front().second > 0) {
        const int row = touched.front().second;
        {
            const QSignalBlocker quiet(listacd->selectionModel());
            listacd->selectAlbumRow(row);
        }
        listacdSelectCell(row);
        scrollToAlbumRow(row);
    }
}

void TForm1::followChangeInFilteredList(const alborx::TableChange& change, bool redo,
                                        StepTrail& trail, const TouchedRows& touched)
{
    // The filtered list holds copies of albums under their keys. Albums this
    // move takes out of the catalogue leave it, as Usuń takes them out of
    // both, and come back to their places when the move is taken back (if
    // the list was not built anew meanwhile); albums whose cells changed
    // show their new cells there too.
    const std::vector<alborx::RowKey> goingKeys =
        redo ? alborx::keysOf(change.removed) : alborx::keysOf(change.inserted);
    if (!trail.filteredOut.empty() && trail.filterGeneration == filterGeneration_ &&
        goingKeys.empty())
        putBackIntoFilteredList(trail);
    trail.filteredOut.clear();

    std::vector<alborx::RowKey> rewrittenKeys;
    std::vector<int> rewrittenRows;
    if (!change.cells.empty()) {
        for (const auto& [key, row] : touched) {
            if (row > 0) {
                rewrittenKeys.push_back(key);
                rewrittenRows.push_back(row);
            }
        }
    }
    const alborx::KeyIndex going(goingKeys);
    const alborx::KeyIndex rewritten(rewrittenKeys);
    std::vector<int> changed;
    for (int r = 1; r <= przefiltrowane.liczbaalbumow(); ++r) {
        const alborx::RowKey key = przefiltrowane.rowKey(r);
        if (going.find(key)) {
            trail.filteredOut.emplace_back(r, key);
        } else if (const auto found = rewritten.find(key)) {
            przefiltrowane.setRow(r, albumy.row(rewrittenRows[*found]));
            changed.push_back(r);
        }
    }
    trail.filterGeneration = filterGeneration_;
    if (!changed.empty())
        listafiltrModel->albumRowsChanged(changed.front(), changed.back());
    if (trail.filteredOut.size() == 1) {
        const int row = trail.filteredOut.front().first;
        const QScopedValueRollback quiet(ignoreListafiltrSelection_, true);
        listafiltrModel->beginRemoveAlbumRow(row);
        przefiltrowane.removeAlbumsByKey({trail.filteredOut.front().second});
        listafiltrModel->endRemoveAlbumRow();
    } else if (!trail.filteredOut.empty()) {
        const QSignalBlocker quiet(listafiltr->selectionModel());
        std::vector<alborx::RowKey> keys;
        for (const auto& [row, key] : trail.filteredOut)
            keys.push_back(key);
        przefiltrowane.removeAlbumsByKey(keys);
        listafiltrModel->reload();
    }
}

void TForm1::putBackIntoFilteredList(const StepTrail& trail)
{
    std::vector<alborx::RowKey> keys;
    for (const auto& [row, key] : trail.filteredOut)
        keys.push_back(key);
    const std::vector<int> rows = albumy.rowsOfKeys(keys);
    // Each goes back where it was, all in one pass.
    std::vector<std::pair<int, alborx::KeyedRow>> back;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (rows[i] > 0)
            back.push_back(
                {trail.filteredOut[i].first, {keys[i], alborx::rowOf(albumy.row(rows[i]))}});
    }
    const QScopedValueRollback quiet(ignoreListafiltrSelection_, true);
    if (keys.size() == 1 && back.size() == 1) {
        listafiltrModel->beginInsertAlbumRow(
            insertionRow(back.front().first, przefiltrowane.liczbaalbumow()));
        przefiltrowane.insertAlbumsAt(back);
        listafiltrModel->endInsertAlbumRow();
    } else if (!back.empty()) {
        const QSignalBlocker blocked(listafiltr->selectionModel());
        przefiltrowane.insertAlbumsAt(back);
        listafiltrModel->reload();
    }
}
