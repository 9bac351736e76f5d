#include "AlbumTableModel.h"

#include "qtext.h"

namespace alborx::ui {

AlbumTableModel::AlbumTableModel(AlbumTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table)
{}

void AlbumTableModel::setBlankRowShown(bool shown)
{
    beginResetModel();
    blankRowShown_ = shown;
    endResetModel();
}

void AlbumTableModel::setCellColours(CellColours colours)
{
    colours_ = std::move(colours);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole});
}

int AlbumTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || (!blankRowShown_ && table_.liczbaalbumow() <= 0))
        return 0;
    return table_.rowCount() - 1;
}

int AlbumTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant AlbumTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return toQt(table_.cell(index.column(), albumRow(index)));
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        if (!colours_)
            return {};
        QColor background;
        QColor text;
        colours_(albumRow(index), index.column(), background, text);
        return role == Qt::BackgroundRole ? background : text;
    }
    default:
        return {};
    }
}

QVariant AlbumTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return toQt(table_.cell(section, 0));
    return {};
}

Qt::ItemFlags AlbumTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void AlbumTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

void AlbumTableModel::albumRowsChanged(int first, int last)
{
    emit dataChanged(index(first - 1, 0), index(last - 1, kColumnCount - 1));
}

void AlbumTableModel::beginInsertAlbumRow(int row)
{
    rowsBeforeChange_ = rowCount();
    changedRow_ = row;
    if (table_.liczbaalbumow() + 1 > rowsBeforeChange_)
        beginInsertRows({}, row - 1, row - 1);
}

void AlbumTableModel::endInsertAlbumRow()
{
    if (table_.liczbaalbumow() > rowsBeforeChange_)
        endInsertRows();
    else
        albumRowsChanged(changedRow_, changedRow_);
}

void AlbumTableModel::beginRemoveAlbumRow(int row)
{
    rowsBeforeChange_ = rowCount();
    changedRow_ = row;
    if (rowsBeforeChange_ > 1 || !blankRowShown_)
        beginRemoveRows({}, row - 1, row - 1);
}

void AlbumTableModel::endRemoveAlbumRow()
{
    if (rowsBeforeChange_ > 1 || !blankRowShown_)
        endRemoveRows();
    else
        albumRowsChanged(1, 1);
}

std::vector<int> AlbumTableModel::sortByHeader(int column)
{
    if (table_.rowCount() - 1 < 2)
        return {};
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<int> moved = table_.sortByColumn(column);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        const int newRow =
            moved.empty() ? old.row() : moved[static_cast<std::size_t>(albumRow(old))] - 1;
        after.append(index(newRow, old.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    return moved;
}

} // namespace alborx::ui
