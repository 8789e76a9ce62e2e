#pragma once

#include "LineRules.h"

// Qt
#include <QByteArray>
#include <QString>

#include <vector>

class CLineIndex;

// A search through the lines of one trace view, row by row over its line index: a text
// (Windows-1252, optionally without regard to case) in the characters of each line, or a
// byte sequence in the values each line shows. It goes on in steps of a number of rows, so
// that a caller can keep its window alive and stop it, and it goes on over rows that come
// later; rows that changed are searched again. A match lies within one line.
class CTraceSearch
{
public:
    struct Query
    {
        enum Kind { Text, Hex };
        Kind kind = Text;
        QByteArray pattern; // Windows-1252 text, or the bytes of a hex search
        bool ignoreCase = false;
    };
    struct Match
    {
        qsizetype row = 0;
        int column = 0; // first character of the match in the line's text
        int length = 0; // characters of the line's text it covers
    };

    // "10 02" or "1002": pairs of hex digits, blanks between pairs; false with a German
    // message for anything else.
    static bool ParseHex(const QString& text, QByteArray& bytes, QString& error);
    // A typed text in Windows-1252; false with a German message for a character it lacks.
    static bool ParseText(const QString& text, QByteArray& bytes, QString& error);

    // A new search of query through lines (nothing is searched yet).
    void Start(const CLineIndex& lines, LineRules::View view, const Query& query);
    void Stop();
    bool IsActive() const { return m_lines != nullptr; }
    const Query& CurrentQuery() const { return m_query; }

    // Rows from row on changed or were replaced: their matches go, they are searched again.
    void Invalidate(qsizetype row);
    // Searches at most rows more rows; true when every row of the list is searched.
    bool Continue(qsizetype rows);
    bool IsComplete() const;
    // Rows searched so far.
    qsizetype Searched() const { return m_next; }

    const std::vector<Match>& Matches() const { return m_matches; }
    // Index of the first match after (row, column), or of the last before it; from the first
    // or the last match again at the end (wrapping). -1 without matches.
    qsizetype Next(qsizetype row, int column) const;
    qsizetype Previous(qsizetype row, int column) const;
    // Matches of the rows first to last (for painting): [begin, end) indexes.
    std::pair<qsizetype, qsizetype> InRows(qsizetype first, qsizetype last) const;

private:
    void SearchText(qsizetype row);
    void SearchValues(qsizetype row);
    void AddAll(qsizetype row, const QByteArray& hay, int lead, int unit);

    const CLineIndex* m_lines = nullptr;
    LineRules::View m_view = LineRules::View::Ascii;
    Query m_query;
    QByteArray m_needle; // folded when the case does not count
    std::vector<Match> m_matches;
    qsizetype m_next = 0;
    QByteArray m_buffer;
};
