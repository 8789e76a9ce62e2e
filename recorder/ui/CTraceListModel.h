#pragma once

#include "CTraceLines.h"
#include "LineRules.h"

// Qt
#include <QAbstractListModel>

// The one store of a trace view's lines. Appending changes at most the last row and inserts
// rows after it, so a long recording never makes the view look at older rows.
class CTraceListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit CTraceListModel(const QString& heading, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const CTraceLines& Lines() const { return m_lines; }
    QByteArray ItemText(int row) const { return m_lines.At(row); }
    // Marked lines: "." first, or "." fifth after the four blanks of a loaded list file.
    bool IsMarked(int row) const;

    void AppendChunk(LineRules::View view, LineRules::Rule rule,
                     const LineRules::Settings& settings, const QByteArray& chunk);
    void AppendLine(const QByteArray& line);
    void Clear();
    // Replaces all lines at once (a loaded list file).
    void Reset(CTraceLines&& lines);

private:
    void Apply(const LineRules::Result& result);

    QString m_heading;
    CTraceLines m_lines;
};
