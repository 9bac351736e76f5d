#include "AlbumListView.h"

#include "AlbumTableModel.h"

#include <QHeaderView>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace alborx::ui {

namespace {

// Draws each cell as usual, without a focus frame of its own (whole rows are
// selected), and a silver line along its right edge: the lists have vertical
// grid lines only.
class VerticalLinesDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem cell(option);
        cell.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, cell, index);
        painter->save();
        painter->setPen(QColor(192, 192, 192));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }
};

} // namespace

AlbumListView::AlbumListView(AlbumTableModel* model, const std::array<int, 8>& defaultWidths,
                             QWidget* parent)
    : QTableView(parent), model_(model)
{
    setModel(model);
    setItemDelegate(new VerticalLinesDelegate(this));
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    // A narrow column cuts its text off, as a grid does; it is not shortened
    // with an ellipsis.
    setTextElideMode(Qt::ElideNone);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(ScrollPerPixel);
    setListFont(QFont(QStringLiteral("Arial"), 8));

    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setRowHeight(17);

    QHeaderView* header = horizontalHeader();
    QFont headerFont(QStringLiteral("Tahoma"), 8);
    headerFont.setBold(true);
    header->setFont(headerFont);
    header->setFixedHeight(17);
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setStretchLastSection(false);
    for (int c = 0; c < static_cast<int>(defaultWidths.size()); ++c)
        setColumnWidth(c, defaultWidths[static_cast<std::size_t>(c)]);
    showSortState();
    connect(header, &QHeaderView::sectionClicked, this, &AlbumListView::headerClicked);

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    emit albumRowSelected(AlbumTableModel::albumRow(current));
            });
    // A click on the row that is already current loads it again too.
    connect(this, &QAbstractItemView::pressed, this, [this](const QModelIndex& index) {
        if (index.isValid() && index.row() == currentIndex().row())
            emit albumRowSelected(AlbumTableModel::albumRow(index));
    });
}

void AlbumListView::focusInEvent(QFocusEvent* event)
{
    // A view that gets the focus with no current row makes its first row
    // current. That is no choice of the user's: it must neither report a
    // selection (which would load an album into the editor, and Usuń would
    // remove it) nor leave a row current.
    const bool hadCurrent = currentIndex().isValid();
    const QSignalBlocker quiet(selectionModel());
    QTableView::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid()) {
        selectionModel()->clearCurrentIndex();
        viewport()->update();
    }
}

int AlbumListView::rowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

void AlbumListView::setRowHeight(int height)
{
    verticalHeader()->setDefaultSectionSize(height);
}

void AlbumListView::setListFont(const QFont& font)
{
    // The header was given its own font, which this does not change.
    setFont(font);
}

int AlbumListView::currentAlbumRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? AlbumTableModel::albumRow(current) : 0;
}

void AlbumListView::selectAlbumRow(int row, ScrollHint hint)
{
    const QModelIndex index = model_->index(row - 1, std::max(currentIndex().column(), 0));
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index, hint);
}

void AlbumListView::showSortState()
{
    const AlbumTable& table = model_->table();
    horizontalHeader()->setSortIndicator(
        table.sortColumn(), table.sortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void AlbumListView::headerClicked(int column)
{
    const std::vector<int> moved = model_->sortByHeader(column);
    // The header flips its mark by itself on every click; the table decides.
    showSortState();
    if (!moved.empty())
        emit sorted(moved);
    const QModelIndex current = currentIndex();
    if (current.isValid())
        scrollTo(current);
}

} // namespace alborx::ui
