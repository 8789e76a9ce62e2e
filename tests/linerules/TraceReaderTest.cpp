// Reading a timestamped trace back into its text and chunk segments.
#include "TraceReader.h"

#include <gtest/gtest.h>

namespace {

using Seg = TraceReader::Segment;

QByteArray Stamp(const char* time = "07.12.26, 08:01:02.003")
{
    return QByteArray("    ") + time + "\r\n";
}

const QByteArray kRule(46, '-');

} // namespace

TEST(TraceReader, HeaderChunksAndFooter)
{
    const QByteArray header = kRule + "\r\n\r\nDateiname: x\r\n\r\n" + kRule + "\r\n\r\n";
    const QByteArray footer =
        "\r\n\r\n" + kRule + "\r\n\r\nAufzeichnung beendet  : t\r\n\r\n" + kRule;
    const QByteArray trace =
        header + Stamp() + "AB" + "\r\n\r\n" + Stamp() + "C\r\n\r\nD" + "\r\n\r\n" + footer;
    const QList<Seg> s = TraceReader::ParseTds(trace);
    ASSERT_EQ(s.size(), 4);
    EXPECT_EQ(s[0].kind, Seg::Text);
    EXPECT_EQ(s[0].bytes, header);
    EXPECT_EQ(s[1].kind, Seg::Chunk);
    EXPECT_EQ(s[1].bytes, "AB");
    // A CR LF CR LF inside a chunk does not end it: what follows is neither chunk nor footer.
    EXPECT_EQ(s[2].kind, Seg::Chunk);
    EXPECT_EQ(s[2].bytes, "C\r\n\r\nD");
    EXPECT_EQ(s[3].kind, Seg::Text);
    EXPECT_EQ(s[3].bytes, footer);
}

TEST(TraceReader, SecondHeaderAfterAReconnection)
{
    const QByteArray header2 = kRule + "\r\n\r\nHersteller:  Esser\r\n\r\n" + kRule + "\r\n\r\n";
    const QByteArray trace = Stamp() + "Break Error\r\n\r\n" + header2 + Stamp() + "Z\r\n\r\n";
    const QList<Seg> s = TraceReader::ParseTds(trace);
    ASSERT_EQ(s.size(), 3);
    EXPECT_EQ(s[0].bytes, "Break Error");
    EXPECT_EQ(s[1].kind, Seg::Text);
    EXPECT_EQ(s[1].bytes, header2);
    EXPECT_EQ(s[2].bytes, "Z");
}

TEST(TraceReader, RecordingWithoutFooterAndOddInput)
{
    QList<Seg> s = TraceReader::ParseTds(Stamp() + "abc\r\n");
    ASSERT_EQ(s.size(), 1);
    EXPECT_EQ(s[0].kind, Seg::Chunk);
    EXPECT_EQ(s[0].bytes, "abc\r\n");

    s = TraceReader::ParseTds("no chunks at all");
    ASSERT_EQ(s.size(), 1);
    EXPECT_EQ(s[0].kind, Seg::Text);

    EXPECT_TRUE(TraceReader::ParseTds(QByteArray()).isEmpty());
    // A time stamp with a letter in it is text.
    s = TraceReader::ParseTds("    07.12.2x, 08:01:02.003\r\nA\r\n\r\n");
    ASSERT_EQ(s.size(), 1);
    EXPECT_EQ(s[0].kind, Seg::Text);
    // A chunk start that is cut off is text, and nothing is read beyond the end.
    s = TraceReader::ParseTds(Stamp().left(10));
    ASSERT_EQ(s.size(), 1);
    EXPECT_EQ(s[0].kind, Seg::Text);
    // An empty chunk.
    s = TraceReader::ParseTds(Stamp() + "\r\n\r\n");
    ASSERT_EQ(s.size(), 1);
    EXPECT_EQ(s[0].kind, Seg::Chunk);
    EXPECT_TRUE(s[0].bytes.isEmpty());
}
