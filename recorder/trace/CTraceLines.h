#pragma once

// Qt
#include <QByteArray>
#include <QList>

#include <vector>

// The lines of one trace view in one block of bytes with an offset per line: a million
// lines cost their text and eight bytes each, and only the last line is ever rewritten.
class CTraceLines
{
public:
    qsizetype Count() const { return qsizetype(m_ends.size()); }
    bool IsEmpty() const { return m_ends.empty(); }
    QByteArray At(qsizetype index) const;
    qsizetype LengthAt(qsizetype index) const;
    // First bytes of a line without copying it (for colour and kind checks).
    char CharAt(qsizetype index, qsizetype position) const;
    // Appends a line to out without a copy of its own.
    void AppendTo(qsizetype index, QByteArray& out) const;
    QByteArray Last() const { return IsEmpty() ? QByteArray() : At(Count() - 1); }

    void Append(const QByteArray& line) { Append(line.constData(), line.size()); }
    void Append(const char* data, qsizetype size);
    void ReplaceLast(const QByteArray& line);
    void Clear();
    void Reserve(qsizetype lines, qsizetype bytes);

    // Bytes held by the store (text and offsets), for the benchmark.
    qsizetype MemoryBytes() const;

private:
    qsizetype Begin(qsizetype index) const { return index == 0 ? 0 : m_ends[size_t(index - 1)]; }

    QByteArray m_text;
    std::vector<qsizetype> m_ends;
};
