#pragma once

// Qt
#include <QByteArray>
#include <QIODevice>

// Reads a device in blocks and hands out its bytes one at a time, with a short look-ahead
// for the keyword checks of the readers. The scan stays byte-wise; the device sees one read
// per block instead of one per byte.
class CByteReader
{
public:
    explicit CByteReader(QIODevice& device, int blockSize = 64 * 1024);

    // The next byte; false at the end of the data.
    bool Get(unsigned char& byte)
    {
        if (m_pos >= m_end && !Fill(1))
            return false;
        byte = static_cast<unsigned char>(m_buffer.constData()[m_pos++]);
        return true;
    }
    // Up to count bytes from the current position without consuming them.
    QByteArray Peek(int count);
    // The unread bytes of the current block (reading the next block when none are left);
    // false at the end of the data. Advance consumes size bytes of them.
    bool Span(const char*& data, int& size)
    {
        if (m_pos >= m_end && !Fill(1))
            return false;
        data = m_buffer.constData() + m_pos;
        size = m_end - m_pos;
        return true;
    }
    void Advance(int size) { m_pos += qBound(0, size, m_end - m_pos); }
    // Consumes the bytes before the next byte equal to b; false when the data end first.
    bool SkipTo(unsigned char b);
    // Whether the next bytes are exactly bytes, without consuming them or copying.
    bool StartsWith(const QByteArray& bytes);
    // Consumes up to count bytes; returns how many there were.
    int Skip(int count);
    // Index of the next byte in the device's data.
    qint64 Position() const { return m_base + m_pos; }

private:
    bool Fill(int need);

    QIODevice& m_device;
    QByteArray m_buffer;
    int m_blockSize;
    int m_pos = 0;
    int m_end = 0;
    qint64 m_base = 0; // device index of m_buffer[0]
    bool m_atEnd = false;
};
