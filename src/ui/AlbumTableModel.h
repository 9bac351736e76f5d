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

    AlbumTable& table() { return table_; }
    const AlbumTable& table() const { return table_; }
    void setCellColours(CellColours colours);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Call after the table changed in any way.
    void reload();
    // Call after the cells of album rows first..last changed.
    void albumRowsChanged(int first, int last);

    // A header click: sorts the table and moves the selection and the current
    // row with their albums. Returns false when nothing was sorted.
    bool sortByHeader(int column);

    static int albumRow(const QModelIndex& index) { return index.row() + 1; }

private:
    AlbumTable& table_;
    CellColours colours_;
};

} // namespace alborx::ui
