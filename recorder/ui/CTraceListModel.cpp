#include "CTraceListModel.h"

#include "CodePage.h"

// Qt
#include <QColor>

CTraceListModel::CTraceListModel(const QString& heading, QObject* parent)
    : QAbstractListModel(parent), m_heading(heading)
{
}

int CTraceListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return int(qMin<qsizetype>(m_lines.Count(), std::numeric_limits<int>::max()));
}

bool CTraceListModel::IsMarked(int row) const
{
    return m_lines.CharAt(row, 0) == '.' || m_lines.CharAt(row, 4) == '.';
}

QVariant CTraceListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() != 0 || index.row() >= rowCount())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole: {
        // Line ends and other control bytes would break the one-row cell; they show as blanks
        // here and stay unchanged in the item.
        QByteArray text = m_lines.At(index.row());
        for (char& c : text)
            if (static_cast<unsigned char>(c) < 0x20)
                c = ' ';
        return FromCp1252(text);
    }
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

void CTraceListModel::Apply(const LineRules::Result& result)
{
    if (result.lastChanged && !m_lines.IsEmpty()) {
        m_lines.ReplaceLast(result.last);
        const QModelIndex last = index(rowCount() - 1);
        emit dataChanged(last, last);
    } else if (result.lastChanged) {
        AppendLine(result.last);
    }
    if (result.added.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + int(result.added.size()) - 1);
    for (const QByteArray& line : result.added)
        m_lines.Append(line);
    endInsertRows();
}

void CTraceListModel::AppendChunk(LineRules::View view, LineRules::Rule rule,
                                  const LineRules::Settings& settings, const QByteArray& chunk)
{
    const QByteArray last = m_lines.Last();
    Apply(LineRules::BuildChunk(view, rule, settings, !m_lines.IsEmpty(), last, chunk));
}

void CTraceListModel::AppendLine(const QByteArray& line)
{
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_lines.Append(line);
    endInsertRows();
}

void CTraceListModel::Clear()
{
    if (m_lines.IsEmpty())
        return;
    beginResetModel();
    m_lines.Clear();
    endResetModel();
}

void CTraceListModel::Reset(CTraceLines&& lines)
{
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}
