// The store of received bytes: blocks, offsets, and who holds it.
#include "CTraceStore.h"

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
