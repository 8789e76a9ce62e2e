#include "CByteReader.h"

#include <cstring>

CByteReader::CByteReader(QIODevice& device, int blockSize)
    : m_device(device), m_blockSize(qMax(16, blockSize))
{
    m_buffer.resize(m_blockSize);
}

bool CByteReader::Fill(int need)
{
    // Keep what is still unread at the front, then read whole blocks behind it.
    const int left = m_end - m_pos;
    if (left >= need)
        return true;
    if (m_pos > 0) {
        std::memmove(m_buffer.data(), m_buffer.constData() + m_pos, size_t(left));
        m_base += m_pos;
        m_pos = 0;
        m_end = left;
    }
    if (m_buffer.size() < need + m_blockSize)
        m_buffer.resize(need + m_blockSize);
    while (!m_atEnd && m_end < need) {
        const qint64 n = m_device.read(m_buffer.data() + m_end, m_buffer.size() - m_end);
        if (n <= 0)
            m_atEnd = true;
        else
            m_end += int(n);
    }
    return m_end - m_pos >= need;
}

QByteArray CByteReader::Peek(int count)
{
    if (count <= 0)
        return QByteArray();
    Fill(count);
    return QByteArray(m_buffer.constData() + m_pos, qMin(count, m_end - m_pos));
}

int CByteReader::Skip(int count)
{
    if (count <= 0)
        return 0;
    Fill(count);
    const int n = qMin(count, m_end - m_pos);
    m_pos += n;
    return n;
}
