#include "CTraceLines.h"

QByteArray CTraceLines::At(qsizetype index) const
{
    if (index < 0 || index >= Count())
        return QByteArray();
    const qsizetype begin = Begin(index);
    return m_text.mid(begin, m_ends[size_t(index)] - begin);
}

void CTraceLines::AppendTo(qsizetype index, QByteArray& out) const
{
    if (index < 0 || index >= Count())
        return;
    const qsizetype begin = Begin(index);
    out.append(m_text.constData() + begin, m_ends[size_t(index)] - begin);
}

qsizetype CTraceLines::LengthAt(qsizetype index) const
{
    if (index < 0 || index >= Count())
        return 0;
    return m_ends[size_t(index)] - Begin(index);
}

char CTraceLines::CharAt(qsizetype index, qsizetype position) const
{
    if (position < 0 || position >= LengthAt(index))
        return '\0';
    return m_text.at(Begin(index) + position);
}

void CTraceLines::Append(const char* data, qsizetype size)
{
    m_text.append(data, size);
    m_ends.push_back(m_text.size());
}

void CTraceLines::ReplaceLast(const QByteArray& line)
{
    if (IsEmpty()) {
        Append(line);
        return;
    }
    m_text.truncate(Begin(Count() - 1));
    m_text.append(line);
    m_ends.back() = m_text.size();
}

void CTraceLines::Clear()
{
    m_text.clear();
    m_ends.clear();
    m_ends.shrink_to_fit();
}

void CTraceLines::Reserve(qsizetype lines, qsizetype bytes)
{
    m_ends.reserve(size_t(lines));
    m_text.reserve(bytes);
}

qsizetype CTraceLines::MemoryBytes() const
{
    return m_text.capacity() + qsizetype(m_ends.capacity() * sizeof(qsizetype));
}
