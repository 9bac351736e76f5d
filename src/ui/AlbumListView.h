// The grid that lists albums: whole-row selection, no editing in place,
// silver vertical lines only, resizable columns and a header of buttons whose
// clicks sort the table.
#pragma once

#include <QTableView>
#include <array>
#include <vector>

namespace alborx::ui {

class AlbumTableModel;

class AlbumListView : public QTableView
{
    Q_OBJECT

public:
    AlbumListView(AlbumTableModel* model, const std::array<int, 8>& defaultWidths,
                  QWidget* parent = nullptr);

    AlbumTableModel* albumModel() const { return model_; }

    int rowHeight() const;
    void setRowHeight(int height);
    void setListFont(const QFont& font);

    // The album row of the current row, or 0 when there is none.
    int currentAlbumRow() const;
    // Selects an album row and scrolls it into view.
    void selectAlbumRow(int row, ScrollHint hint = EnsureVisible);
    // Shows the table's sort column and direction on the header.
    void showSortState();

signals:
    // The user or the program moved the current row to an album row, or the
    // user clicked a row.
    void albumRowSelected(int row);
    // A header click sorted the rows: newRowOfOld[r] is where album row r went.
    void sorted(const std::vector<int>& newRowOfOld);

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    void headerClicked(int column);

    AlbumTableModel* model_;
};

} // namespace alborx::ui
