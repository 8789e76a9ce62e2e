// The store of received bytes: blocks, offsets, who holds it, and the file it reads back from.
#include "CTraceStore.h"

// Qt
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(TraceStore, KeepsBytesAcrossBlocks)
{
    CTraceStore store;
    QByteArray all;
    for (int i = 0; i < 200; ++i) {
        QByteArray chunk(1000 + i, Qt::Uninitialized);
        for (qsizetype j = 0; j < chunk.size(); ++j)
            chunk[j] = char((i * 7 + j) % 251);
        EXPECT_EQ(store.Append(chunk.constData(), chunk.size()), quint64(all.size()));
        all += chunk;
    }
    ASSERT_EQ(store.Size(), quint64(all.size()));
    // A range over a block border reads back whole.
    const quint64 border = 1 << 16;
    QByteArray out(100, Qt::Uninitialized);
    store.Copy(border - 50, 100, out.data());
    EXPECT_EQ(out, all.mid(qsizetype(border) - 50, 100));
    EXPECT_EQ(store.At(border), static_cast<unsigned char>(all[qsizetype(border)]));
    EXPECT_TRUE(store.Holds(0, qsizetype(all.size())));
    EXPECT_FALSE(store.Holds(1, qsizetype(all.size())));
}

TEST(TraceStore, OffsetsBeyondFourGigabytes)
{
    const quint64 first = (quint64(1) << 32) - 3;
    CTraceStore store(first);
    EXPECT_EQ(store.Append("ABCDEF", 6), first);
    EXPECT_EQ(store.End(), first + 6);
    EXPECT_EQ(store.At(quint64(1) << 32), 'D');
    QByteArray out(4, Qt::Uninitialized);
    store.Copy(first + 1, 4, out.data());
    EXPECT_EQ(out, "BCDE");
}

TEST(TraceStore, BytesGoWhenTheLastHolderLetsGo)
{
    CTraceStore store;
    int a = 0, b = 0;
    store.Append("ABC", 3);
    store.Hold(&a);
    store.Hold(&b);
    store.Hold(&b);
    store.Release(&a);
    EXPECT_EQ(store.Size(), 3u) << "b still shows lines over the bytes";
    store.Release(&b);
    EXPECT_EQ(store.Size(), 0u);
    EXPECT_EQ(store.MemoryBytes(), 0);
    // Offsets go on where they ended, so an old offset never names a new byte.
    EXPECT_EQ(store.Append("D", 1), 3u);
    EXPECT_EQ(store.At(3), 'D');
    store.Release(&a); // not a holder any more: nothing happens
    EXPECT_EQ(store.Size(), 1u);
}

namespace {

QByteArray Pattern(qsizetype size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype j = 0; j < size; ++j)
        bytes[j] = char((seed * 31 + j * 7 + j / 251) & 0xFF);
    return bytes;
}

} // namespace

TEST(TraceStore, ReadsBackFromItsFileFarMoreThanItsCacheHolds)
{
    // Offsets across 4 GiB; four times what the cache keeps, so most reads go to the file.
    const quint64 first = (quint64(1) << 32) - 70000;
    CTraceStore store(first);
    QByteArray all;
    for (int i = 0; i < 80; ++i) {
        const QByteArray chunk = Pattern(100003, i);
        EXPECT_EQ(store.Append(chunk.constData(), chunk.size()), first + quint64(all.size()));
        all += chunk;
    }
    EXPECT_LE(store.MemoryBytes(), 4 << 20);
    for (const qsizetype at : {qsizetype(0), qsizetype(69990), qsizetype(65530),
                               qsizetype(3 << 20) - 7, all.size() - 100}) {
        QByteArray out(100, Qt::Uninitialized);
        store.Copy(first + quint64(at), 100, out.data());
        EXPECT_EQ(out, all.mid(at, 100)) << at;
        EXPECT_EQ(store.At(first + quint64(at) + 99), static_cast<unsigned char>(all[at + 99]));
    }
    EXPECT_TRUE(store.Failure().isEmpty());
}

TEST(TraceStore, FollowsAFileAnotherWriterGrowsAndSurvivesItsShortening)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("run.ts");
    QFile writer(path);
    ASSERT_TRUE(writer.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    CTraceStore store;
    ASSERT_TRUE(store.Follow(path));
    // A header, chunks, and an error text between them that the store never sees.
    writer.write("HEADER\r\n");
    QByteArray chunks;
    QList<quint64> offsets;
    for (int i = 0; i < 60; ++i) {
        const QByteArray chunk = Pattern(70001, i);
        const qint64 position = writer.pos();
        writer.write(chunk);
        offsets.append(store.AppendWritten(position, chunk.constData(), chunk.size()));
        chunks += chunk;
        if (i == 30)
            writer.write("Overrun Error\r\n");
    }
    EXPECT_EQ(store.Begin(), offsets.first());
    for (int i : {0, 29, 31, 59}) {
        QByteArray out(70001, Qt::Uninitialized);
        store.Copy(offsets[i], out.size(), out.data());
        EXPECT_EQ(out, Pattern(70001, i)) << i;
    }
    // The disk was cleaned up under the recording: what the file lost reads as zeros.
    writer.resize(1000);
    QByteArray out(10, 'x');
    store.Copy(offsets[2] + 5, 10, out.data());
    EXPECT_EQ(out, QByteArray(10, '\0'));
    EXPECT_TRUE(store.Failure().contains(QStringLiteral("gekürzt")))
        << store.Failure().toStdString();
    EXPECT_EQ(store.At(offsets[0] + 3), static_cast<unsigned char>(Pattern(70001, 0)[3]));
}
