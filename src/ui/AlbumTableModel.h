// Shows an album table in a view: model row r is album row r + 1, the
// table's header row is the view's header. The table stays the only copy of
// the albums; the model reads its cells when the view paints them.
#pragma once

#include "albumtable.h"

#include <QAbstractTableModel>
#include <QColor>
#include <functional>

namespace alborx::ui {

class AlbumTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Background and text colour of a cell (album row, column).
    using CellColours = std::function<void(int row, int column, QColor& background, QColor& text)>;

    explicit AlbumTableModel(AlbumTable& table, QObject* parent = nullptr);

    // The table is read here; it changes through the history's steps, an
    // open, a new catalogue and a sort (sortByHeader) only.
    const AlbumTable& table() const { return table_; }
    void setCellColours(CellColours colours);
    // The blank row of a table with no albums is shown by default, as the
    // album list shows an empty catalogue; a list of results hides it.
    void setBlankRowShown(bool shown);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Call after the table changed in any way.
    void reload();
    // Call after the cells of album rows first..last changed.
    void albumRowsChanged(int first, int last);

    // Wrap a change of the table that inserts or removes one album row, so
    // that views keep their selection on the right rows. When the table keeps
    // its row count (the blank row of an empty catalogue is filled or left),
    // the row is reported as changed instead.
    void beginInsertAlbumRow(int row);
    void endInsertAlbumRow();
    void beginRemoveAlbumRow(int row);
    void endRemoveAlbumRow();

    // A header click: sorts the table and moves the selection and the current
    // row with their albums. Returns where every album row went (entry 0 is
    // the header), or nothing when there was nothing to sort.
    std::vector<int> sortByHeader(int column);

    static int albumRow(const QModelIndex& index) { return index.row() + 1; }

private:
    AlbumTable& table_;
    CellColours colours_;
    bool blankRowShown_ = true;
    int rowsBeforeChange_ = 0;
    int changedRow_ = 0;
};

} // namespace alborx::ui
