#include "CByteReader.h"

// Qt
#include <QBuffer>

#include <gtest/gtest.h>

namespace {

// A device that hands out at most a few bytes per read, as a pipe might.
class TrickleDevice : public QBuffer
{
public:
    TrickleDevice(QByteArray* bytes, qint64 most) : QBuffer(bytes), m_most(most) {}
    int reads = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        ++reads;
        return QBuffer::readData(data, qMin<qint64>(maxSize, m_most));
    }

private:
    qint64 m_most;
};

TEST(ByteReaderTest, HandsOutEveryByteOnceWithLookAheadAcrossBlocks)
{
    QByteArray bytes;
    for (int i = 0; i < 1000; ++i)
        bytes.append(char(i * 7));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CByteReader reader(buffer, 16);
    QByteArray seen;
    unsigned char b;
    while (reader.Get(b)) {
        const qint64 at = reader.Position();
        if (at % 50 == 0) {
            EXPECT_EQ(reader.Peek(20), bytes.mid(at, 20));
        }
        seen.append(char(b));
    }
    EXPECT_EQ(seen, bytes);
    EXPECT_EQ(reader.Position(), 1000);
    EXPECT_TRUE(reader.Peek(4).isEmpty());
    EXPECT_EQ(reader.Skip(3), 0);
}

TEST(ByteReaderTest, SkipAndPeekStopAtTheEnd)
{
    QByteArray bytes("abcdef");
    TrickleDevice device(&bytes, 3);
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    CByteReader reader(device);
    EXPECT_EQ(reader.Peek(5), "abcde");
    EXPECT_EQ(reader.Skip(2), 2);
    unsigned char b = 0;
    EXPECT_TRUE(reader.Get(b));
    EXPECT_EQ(b, 'c');
    EXPECT_EQ(reader.Peek(10), "def");
    EXPECT_EQ(reader.Skip(10), 3);
    EXPECT_FALSE(reader.Get(b));
    EXPECT_EQ(reader.Position(), 6);
}

TEST(ByteReaderTest, ReadsInBlocksNotBytes)
{
    QByteArray bytes(100000, 'x');
    TrickleDevice device(&bytes, 1 << 30);
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    CByteReader reader(device);
    unsigned char b;
    int n = 0;
    while (reader.Get(b))
        ++n;
    EXPECT_EQ(n, 100000);
    // One read per block of 64 KiB and one that finds the end, not one per byte.
    EXPECT_LE(device.reads, 4);
}

} // namespace
