#include "CTrafficSource.h"

#include <gtest/gtest.h>

namespace {

QByteArray IdentOf(const char* maker, char digit = '1')
{
    FatSimOptions o;
    o.maker = maker;
    o.modelDigit = digit;
    return o.Identification();
}

} // namespace

TEST(TrafficSource, FramingFollowsTheMaker)
{
    using F = CTrafficSource::Framing;
    EXPECT_EQ(CTrafficSource::FramingOf(IdentOf("EE", '4')), F::HighBitLineFeed);
    EXPECT_EQ(CTrafficSource::FramingOf(IdentOf("SI", '1')), F::HighBitLineFeed);
    EXPECT_EQ(CTrafficSource::FramingOf(IdentOf("SI", '2')), F::HighBit);
    for (const char* maker : {"EF", "BO", "AC", "MM"})
        EXPECT_EQ(CTrafficSource::FramingOf(IdentOf(maker)), F::HighBit) << maker;
    EXPECT_EQ(CTrafficSource::FramingOf(IdentOf("TW")), F::F0);
    for (const char* maker : {"AT", "NF", "XX"})
        EXPECT_EQ(CTrafficSource::FramingOf(IdentOf(maker)), F::LineFeed) << maker;
}

TEST(TrafficSource, MessagesAreFramedAsThePanelFramesItsLines)
{
    using F = CTrafficSource::Framing;
    EXPECT_EQ(CTrafficSource::Message(F::LineFeed, 0), "Feuer MG 0001/01 Halle 3 EG\r\n");
    const QByteArray marked = CTrafficSource::Message(F::HighBit, 1);
    // The event is marked by bit 7, the place is plain, no line end.
    EXPECT_EQ(marked.left(8), QByteArray("\xD3\xF4\xEF\xE5\xF2\xF5\xEE\xE7"));
    EXPECT_TRUE(marked.endsWith(" MG 0008/02 Halle 3 EG"));
    EXPECT_FALSE(marked.contains('\n'));
    EXPECT_TRUE(CTrafficSource::Message(F::HighBitLineFeed, 2).endsWith("\r\n"));
    const QByteArray f0 = CTrafficSource::Message(F::F0, 3);
    EXPECT_EQ(static_cast<unsigned char>(f0[0]), 0xF0);
    EXPECT_EQ(f0.mid(1), "Rueckstellung MG 0022/04 Halle 3 EG");
}

TEST(TrafficSource, MadeUpTrafficStopsAtItsByteLimitAndTakesBackWhatWasNotSent)
{
    FatSimOptions o;
    o.maker = "AT";
    o.trafficBytes = 100;
    CTrafficSource source(o);
    QString error;
    ASSERT_TRUE(source.Load(error));
    QByteArray all = source.Next(30);
    EXPECT_EQ(all.size(), 30);
    const QByteArray more = source.Next(40);
    source.Unread(more.mid(10));
    all += more.left(10);
    EXPECT_EQ(source.Sent(), 40);
    all += source.Next(1000);
    EXPECT_EQ(all.size(), 100);
    EXPECT_TRUE(source.Finished());
    EXPECT_TRUE(source.Next(10).isEmpty());
    QByteArray expected;
    for (int i = 0; expected.size() < 100; ++i)
        expected += CTrafficSource::Message(CTrafficSource::Framing::LineFeed, i);
    EXPECT_EQ(all, expected.left(100));
}

TEST(TrafficSource, OptionsOfTheTraffic)
{
    FatSimOptions o;
    QString error;
    EXPECT_TRUE(o.Parse({"--traffic", "/x/t.bin", "--rate", "0", "--traffic-bytes", "7",
                         "--vanish-at", "traffic:5", "--link", "/x/l", "--return-after", "10"},
                        error))
        << error.toStdString();
    EXPECT_EQ(o.trafficPath, "/x/t.bin");
    EXPECT_EQ(o.rate, 0);
    EXPECT_EQ(o.trafficBytes, 7);
    EXPECT_EQ(o.vanishAt.kind, FatPoint::Traffic);
    EXPECT_EQ(o.vanishAt.index, 5);
    EXPECT_EQ(o.returnAfterMs, 10);
    FatSimOptions bad;
    EXPECT_FALSE(bad.Parse({"--return-after", "10"}, error)); // needs a link to come back to
    EXPECT_FALSE(bad.Parse({"--rate", "-1"}, error));
}
