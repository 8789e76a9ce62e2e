#pragma once

#include "CLineIndex.h"

// Qt
#include <QAbstractListModel>

// The rows of a trace view over a line index of the recording session. Appending changes at
// most the last row and inserts rows after it, so a long recording never makes the view
// look at older rows; a row's text is rendered only when it is asked for.
class CTraceListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // lines: kept by the session, which tells the model of each change (Announce, Reset).
    CTraceListModel(const CLineIndex& lines, const QString& heading, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const CLineIndex& Lines() const { return m_lines; }
    QByteArray ItemText(int row) const { return m_lines.At(row); }
    // Marked lines: "." first, or "." fifth after the four blanks of a loaded list file.
    bool IsMarked(int row) const;
    // The row as the view shows it: control bytes as blanks, at most maxChars characters.
    QString DisplayText(int row, qsizetype maxChars = -1) const;

    // Announces the rows the index gained since the model last told its views.
    void Announce(const CLineIndex::Change& change);
    // The index was emptied or loaded as a whole.
    void Reset();

private:
    QString m_heading;
    const CLineIndex& m_lines;
    int m_rows = 0; // rows the views know of
};
