// The catalogue's history of changes: the menu "Edycja" with "Cofnij" and
// "Ponów", and the steps that make a change of the album table, take it back
// and do it again. A step keeps only what its command changes
// (alborx::TableChange); the table is changed through steps alone.
#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUndoStack>
#include <algorithm>
#include <unordered_map>

namespace {

// The history keeps this many steps; older ones are dropped.
constexpr int kHistorySteps = 100;

class CatalogueStep : public QUndoCommand
{
public:
    CatalogueStep(TForm1& form, alborx::TableChange change, const QString& text)
        : QUndoCommand(text), form_(form), change_(std::move(change))
    {}

    void undo() override { form_.applyHistoryStep(change_, false); }

    // The first redo, when the command pushes the step, makes the change and
    // leaves the rest to the command; later ones redo it from the menu.
    void redo() override
    {
        if (made_) {
            form_.applyHistoryStep(change_, true);
        } else {
            form_.applyChange(change_);
            made_ = true;
        }
    }

private:
    TForm1& form_;
    alborx::TableChange change_;
    bool made_ = false;
};

// One text for a whole row, to find rows of the filtered list by content.
std::string rowText(const alborx::Row& row)
{
    std::string text;
    for (const std::string& cell : row) {
        text += cell;
        text += '\0';
    }
    return text;
}

// The album keys a change touched, with the row each has now (0 when gone).
std::vector<std::pair<alborx::RowKey, int>> touchedRows(const alborx::AlbumTable& table,
                                                        const alborx::TableChange& change)
{
    std::vector<alborx::RowKey> keys;
    for (const alborx::KeyedRow& row : change.inserted)
        keys.push_back(row.key);
    for (const alborx::PlacedRow& row : change.removed)
        keys.push_back(row.album.key);
    for (const alborx::CellEdit& edit : change.cells) {
        if (keys.empty() || keys.back() != edit.key)
            keys.push_back(edit.key);
    }
    const std::vector<int> rows = table.rowsOfKeys(keys);
    std::vector<std::pair<alborx::RowKey, int>> touched;
    for (std::size_t i = 0; i < keys.size(); ++i)
        touched.emplace_back(keys[i], rows[i]);
    return touched;
}

} // namespace

void TForm1::buildEditMenu(QMenuBar* bar)
{
    historia = new QUndoStack(this);
    historia->setUndoLimit(kHistorySteps);

    QMenu* edycja = bar->addMenu(QStringLiteral("Edycja"));
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

void TForm1::makeChange(alborx::TableChange change, const QString& text)
{
    if (change.empty()) {
        // Nothing of the table changes, so there is nothing to take back;
        // counters a command moved still move.
        alborx::setCounters(ustawienia, change.countersAfter);
        return;
    }
    historia->push(new CatalogueStep(*this, std::move(change), text));
}

void TForm1::applyChange(const alborx::TableChange& change)
{
    // The lists hear of the change as narrowly as it goes, so that their
    // current rows and selections stay with their albums.
    if (change.cells.empty() && change.removed.empty() && change.inserted.size() == 1 &&
        change.insertedAt == albumy.liczbaalbumow() + 1) {
        listacdModel->beginAppendAlbumRow();
        alborx::redoChange(albumy, ustawienia, change);
        listacdModel->endAppendAlbumRow();
    } else if (change.cells.empty() && change.inserted.empty() && change.removed.size() == 1) {
        listacdModel->beginRemoveAlbumRow(change.removed.front().position);
        alborx::redoChange(albumy, ustawienia, change);
        listacdModel->endRemoveAlbumRow();
    } else if (change.inserted.empty() && change.removed.empty()) {
        alborx::redoChange(albumy, ustawienia, change);
        const auto [first, last] = std::minmax_element(
            change.cells.begin(), change.cells.end(),
            [](const alborx::CellEdit& a, const alborx::CellEdit& b) { return a.row < b.row; });
        listacdModel->albumRowsChanged(first->row, last->row);
    } else {
        alborx::redoChange(albumy, ustawienia, change);
        listacdModel->reload();
    }
}

void TForm1::applyHistoryStep(const alborx::TableChange& change, bool redo)
{
    if (redo)
        alborx::redoChange(albumy, ustawienia, change);
    else
        alborx::undoChange(albumy, ustawienia, change);
    {
        const QSignalBlocker quiet(listacd->selectionModel());
        listacdModel->reload();
    }
    const auto touched = touchedRows(albumy, change);
    followChangeInFilteredList(change, touched, redo);

    // A step on one album shows that album in the editor, as clicking it
    // would; otherwise the editor is bound to nothing.
    binding.wybranywiersz = 0;
    binding.zfiltru = false;
    binding.boundId.clear();
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
    odswiezlistecd();
    if (change.inserted.size() > 1 || change.removed.size() > 1)
        obliczwszystkoClick();
}

void TForm1::followChangeInFilteredList(const alborx::TableChange& change,
                                        const std::vector<std::pair<alborx::RowKey, int>>& touched,
                                        bool redo)
{
    if (przefiltrowane.liczbaalbumow() == 0)
        return;
    // Albums that this step takes out of the catalogue leave the filtered
    // list too, as Usuń takes them out of both.
    std::unordered_map<std::string, int> gone;
    if (redo) {
        for (const alborx::PlacedRow& row : change.removed)
            ++gone[rowText(row.album.row)];
    } else {
        for (const alborx::KeyedRow& row : change.inserted)
            ++gone[rowText(row.row)];
    }
    // Albums whose cells changed show their new cells there as well.
    std::unordered_map<std::string, alborx::Row> rewritten;
    if (!change.cells.empty()) {
        std::unordered_map<alborx::RowKey, std::pair<alborx::Row, alborx::Row>> rows;
        for (const auto& [key, row] : touched) {
            if (row > 0)
                rows.emplace(key, std::make_pair(albumy.row(row), albumy.row(row)));
        }
        for (const alborx::CellEdit& edit : change.cells) {
            const auto found = rows.find(edit.key);
            if (found != rows.end())
                found->second.first[static_cast<std::size_t>(edit.column)] =
                    redo ? edit.before : edit.after;
        }
        for (auto& [key, pair] : rows)
            rewritten.emplace(rowText(pair.first), std::move(pair.second));
    }
    if (gone.empty() && rewritten.empty())
        return;

    std::vector<alborx::Row> kept;
    bool changed = false;
    for (int r = 1; r <= przefiltrowane.liczbaalbumow(); ++r) {
        const std::string text = rowText(przefiltrowane.row(r));
        const auto leaving = gone.find(text);
        if (leaving != gone.end() && leaving->second > 0) {
            --leaving->second;
            changed = true;
            continue;
        }
        const auto newer = rewritten.find(text);
        if (newer != rewritten.end()) {
            kept.push_back(newer->second);
            changed = true;
        } else {
            kept.push_back(przefiltrowane.row(r));
        }
    }
    if (!changed)
        return;
    const QSignalBlocker quiet(listafiltr->selectionModel());
    przefiltrowane.assignAlbums(std::move(kept));
    listafiltrModel->reload();
}
