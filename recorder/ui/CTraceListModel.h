#pragma once

#include "CLineIndex.h"
#include "LineRules.h"

// Qt
#include <QAbstractListModel>

#include <memory>

// The rows of a trace view over its line index. Appending changes at most the last row and
// inserts rows after it, so a long recording never makes the view look at older rows; a
// row's text is rendered only when it is asked for.
class CTraceListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit CTraceListModel(const QString& heading, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Shares the received bytes with the other view (the list is emptied).
    void ShareStore(std::shared_ptr<CTraceStore> store);

    const CLineIndex& Lines() const { return m_lines; }
    QByteArray ItemText(int row) const { return m_lines.At(row); }
    // Marked lines: "." first, or "." fifth after the four blanks of a loaded list file.
    bool IsMarked(int row) const;
    // The row as the view shows it: control bytes as blanks, at most maxChars characters.
    QString DisplayText(int row, qsizetype maxChars = -1) const;

    void AppendChunk(LineRules::View view, LineRules::Rule rule,
                     const LineRules::Settings& settings, const QByteArray& chunk);
    void AppendLine(const QByteArray& line);
    void Clear();
    // Replaces all lines at once (a loaded list file).
    void Reset(CTraceLines&& lines);

private:
    // Announces the rows the index gained since the model last told its views.
    void Announce(const CLineIndex::Change& change);

    QString m_heading;
    CLineIndex m_lines;
    int m_rows = 0; // rows the views know of
};
