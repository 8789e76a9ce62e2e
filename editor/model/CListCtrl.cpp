#include "CListCtrl.h"

#include "CodePage.h"

// Qt
#include <QItemSelectionModel>

CListCtrl::CListCtrl(QObject* parent) : QAbstractTableModel(parent) {}

int CListCtrl::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GetItemCount();
}

int CListCtrl::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : CellCount;
}

QVariant CListCtrl::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= GetItemCount() || index.column() >= CellCount)
        return QVariant();
    const QByteArray& cell = m_rows[index.row()][index.column()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return FromCp1252(cell);
    case BytesRole:
        return cell;
    }
    return QVariant();
}

QVariant CListCtrl::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= CellCount)
        return QVariant();
    const bool known = section < GetColumnCount();
    if (role == Qt::DisplayRole)
        return known ? m_columns[section].header : QString();
    if (role == WidthRole)
        return known ? m_columns[section].width : 0;
    return QVariant();
}

Qt::ItemFlags CListCtrl::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Label editing is the list's style: cells can then be edited in place.
    const Qt::ItemFlags editable = m_labelEdit ? Qt::ItemIsEditable : Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | editable;
}

QByteArray CListCtrl::GetItemText(int row, int column) const
{
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= CellCount)
        return QByteArray();
    return m_rows[row][column];
}

bool CListCtrl::SetItemText(int row, int column, const QByteArray& text)
{
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= CellCount)
        return false;
    m_rows[row][column] = text;
    if (!InBatch()) {
        const QModelIndex i = index(row, column);
        emit dataChanged(i, i);
    }
    return true;
}

int CListCtrl::InsertItem(int row)
{
    return InsertItem(row, Row());
}

int CListCtrl::InsertItem(int row, const std::array<QByteArray, CellCount>& cells)
{
    row = qBound(0, row, GetItemCount());
    if (InBatch()) {
        m_rows.insert(row, cells);
        return row;
    }
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(row, cells);
    endInsertRows();
    return row;
}

bool CListCtrl::DeleteItem(int row)
{
    if (row < 0 || row >= GetItemCount())
        return false;
    if (InBatch()) {
        m_rows.remove(row);
        return true;
    }
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.remove(row);
    endRemoveRows();
    return true;
}

void CListCtrl::DeleteAllItems()
{
    if (InBatch()) {
        m_rows.clear();
        return;
    }
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void CListCtrl::BeginBatch()
{
    if (m_batchDepth++ == 0)
        beginResetModel();
}

void CListCtrl::EndBatch()
{
    if (m_batchDepth > 0 && --m_batchDepth == 0)
        endResetModel();
}

int CListCtrl::InsertColumn(int column, const QString& header, int width)
{
    column = qBound(0, column, GetColumnCount());
    m_columns.insert(column, ColumnInfo{header, width});
    emit headerDataChanged(Qt::Horizontal, 0, CellCount - 1);
    return column;
}

void CListCtrl::DeleteAllColumns()
{
    m_columns.clear();
    emit headerDataChanged(Qt::Horizontal, 0, CellCount - 1);
}

int CListCtrl::GetColumnWidth(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[column].width : 0;
}

QString CListCtrl::GetColumnHeader(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[column].header : QString();
}

void CListCtrl::SetSelectionModel(QItemSelectionModel* selection)
{
    m_selection = selection;
}

bool CListCtrl::IsSelected(int row) const
{
    return m_selection && m_selection->isRowSelected(row, QModelIndex());
}

int CListCtrl::GetTopIndex() const
{
    return m_viewport ? m_viewport->TopIndex() : 0;
}

int CListCtrl::GetCountPerPage() const
{
    return m_viewport ? m_viewport->CountPerPage() : GetItemCount();
}

void CListCtrl::EnsureVisible(int row)
{
    if (m_viewport)
        m_viewport->EnsureVisible(row);
}

int CListCtrl::GetStringWidth(const QString& text) const
{
    // Without a view, an average width of 8 pixels a character keeps the columns in proportion.
    return m_viewport ? m_viewport->TextWidth(text) : 8 * int(text.size());
}
