#include "CTraceListModel.h"

#include "CodePage.h"

// Qt
#include <QColor>

#include <limits>

namespace {

int ClampRows(qsizetype rows)
{
    return int(qMin<qsizetype>(rows, std::numeric_limits<int>::max()));
}

} // namespace

CTraceListModel::CTraceListModel(const CLineIndex& lines, const QString& heading, QObject* parent)
    : QAbstractListModel(parent), m_heading(heading), m_lines(lines),
      m_rows(ClampRows(lines.Count()))
{
}

int CTraceListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_rows;
}

bool CTraceListModel::IsMarked(int row) const
{
    const QByteArray head = m_lines.Head(row, 5);
    return (head.size() > 0 && head[0] == '.') || (head.size() > 4 && head[4] == '.');
}

QString CTraceListModel::DisplayText(int row, qsizetype maxChars) const
{
    // Line ends and other control bytes would break the one-row cell; they show as blanks
    // here and stay unchanged in the item.
    QByteArray text = maxChars < 0 ? m_lines.At(row) : m_lines.Head(row, maxChars);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return FromCp1252(text);
}

QVariant CTraceListModel::data(const QModelIndex& index, int role) const
{
    // Rows the index no longer has (emptied, the views not yet told) show nothing.
    if (!index.isValid() || index.column() != 0 || index.row() >= rowCount() ||
        index.row() >= m_lines.Count())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText(index.row());
    case Qt::ForegroundRole:
        if (IsMarked(index.row()))
            return QColor(255, 0, 0);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant CTraceListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_heading;
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

void CTraceListModel::Announce(const CLineIndex::Change& change)
{
    if (change.lastChanged && change.firstAdded > 0 && change.firstAdded <= m_rows) {
        const QModelIndex last = index(int(change.firstAdded) - 1);
        emit dataChanged(last, last);
    }
    const int rows = ClampRows(m_lines.Count());
    if (rows <= m_rows)
        return;
    beginInsertRows(QModelIndex(), m_rows, rows - 1);
    m_rows = rows;
    endInsertRows();
}

void CTraceListModel::Reset()
{
    beginResetModel();
    m_rows = ClampRows(m_lines.Count());
    endResetModel();
}
