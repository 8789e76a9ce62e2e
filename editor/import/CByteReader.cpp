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

bool CByteReader::SkipTo(unsigned char b)
{
    for (;;) {
        if (m_pos >= m_end && !Fill(1))
            return false;
        const char* begin = m_buffer.constData() + m_pos;
        const void* hit = std::memchr(begin, b, size_t(m_end - m_pos));
        if (hit) {
            m_pos += int(static_cast<const char*>(hit) - begin);
            return true;
        }
        m_pos = m_end;
    }
}

bool CByteReader::StartsWith(const QByteArray& bytes)
{
    const int n = int(bytes.size());
    return Fill(n) && std::memcmp(m_buffer.constData() + m_pos, bytes.constData(), size_t(n)) == 0;
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
