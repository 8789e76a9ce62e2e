#include "CFatSimulator.h"
#include "FatSimOptions.h"
#include "FatStore.h"

#include <gtest/gtest.h>

// Qt
#include <QTemporaryDir>

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

unsigned char Sum(const QByteArray& bytes)
{
    unsigned s = 0;
    for (char c : bytes)
        s += static_cast<unsigned char>(c);
    return static_cast<unsigned char>(s);
}

// Feeds bytes to the simulator and collects everything it answers.
struct Fat
{
    FatSimOptions options;
    FatStore store;
    CFatSimulator* sim = nullptr;
    CFatSimulator::Answer last;

    explicit Fat(const QStringList& args = {})
    {
        QString error;
        EXPECT_TRUE(options.Parse(args, error)) << error.toStdString();
        sim = new CFatSimulator(options, store);
    }
    ~Fat() { delete sim; }

    QByteArray Feed(const QByteArray& bytes)
    {
        last.clear();
        for (char c : bytes)
            sim->Receive(static_cast<unsigned char>(c), last);
        QByteArray out;
        for (const auto& s : last)
            out += s.bytes;
        return out;
    }
    // Writes records as the editor does: each byte checked against its echo.
    QByteArray Write(int count, qint32 offset, const QList<QByteArray>& records)
    {
        QByteArray echoes = Feed(Bytes({0x06}));
        echoes += Feed(Bytes({count >> 8, count & 0xFF}));
        const quint32 o = quint32(offset);
        echoes +=
            Feed(Bytes({int(o >> 24), int((o >> 16) & 0xFF), int((o >> 8) & 0xFF), int(o & 0xFF)}));
        for (const QByteArray& r : records)
            echoes += Feed(r);
        return echoes;
    }
};

QByteArray SRecord(const char* group, const char* detector, const char* text1, const char* text2)
{
    QByteArray r(1, char(0x88));
    r += group;
    r += detector;
    r += QByteArray(text1).leftJustified(12, ' ');
    r += QByteArray(text2).leftJustified(20, ' ');
    return r;
}

} // namespace

TEST(FatSimOptions, ParsesAndRejects)
{
    FatSimOptions o;
    QString error;
    EXPECT_TRUE(o.Parse({"--maker", "EE", "--model", "4", "--display", "0x28", "--records", "500",
                         "--pause", "100", "--pause-at", "record:3"},
                        error));
    EXPECT_EQ(o.maker, QByteArray("EE"));
    EXPECT_EQ(o.displayChars, 40);
    EXPECT_EQ(o.pauseAt.kind, FatPoint::Record);
    EXPECT_EQ(o.pauseAt.index, 3);

    FatSimOptions bad;
    EXPECT_FALSE(bad.Parse({"--maker", "E"}, error));
    EXPECT_FALSE(bad.Parse({"--display", "300"}, error));
    EXPECT_FALSE(bad.Parse({"--silent-at", "record"}, error));
    EXPECT_FALSE(bad.Parse({"--silent-at", "ident:2"}, error));
    EXPECT_FALSE(bad.Parse({"--pause", "10"}, error)); // without a point
    EXPECT_FALSE(bad.Parse({"--frobnicate"}, error));
    EXPECT_FALSE(bad.Parse({"--records"}, error));
}

TEST(FatSimOptions, IdentificationLayout)
{
    FatSimOptions o;
    QString error;
    ASSERT_TRUE(o.Parse({"--maker", "SI", "--model", "2", "--version", "V9.87", "--display", "40",
                         "--records", "0x1234", "--detector-digits", "3", "--group-digits", "5",
                         "--adaptation", "0x88"},
                        error));
    const QByteArray id = o.Identification();
    ASSERT_EQ(id.size(), 32);
    EXPECT_EQ(id.left(2), QByteArray("SI"));
    EXPECT_EQ(id.at(3), '2');
    EXPECT_EQ(id.mid(10, 6), QByteArray("V9.87 "));
    EXPECT_EQ(id.at(16), char(40));
    EXPECT_EQ(id.at(17), char(0x12));
    EXPECT_EQ(id.at(18), char(0x34));
    EXPECT_EQ(id.at(19), char(3));
    EXPECT_EQ(id.at(20), char(5));
    EXPECT_EQ(static_cast<unsigned char>(id.at(22)), 0x88);
    // record lengths follow the identification's layout values
    EXPECT_EQ(o.RecordLength(0x88), 39);
    EXPECT_EQ(o.RecordLength(0x48), 44);
    EXPECT_EQ(o.RecordLength(0x28), 49);
    EXPECT_EQ(o.RecordLength(0x18), 0);
}

TEST(FatSimulator, IdentificationOfOtherLength)
{
    Fat shortId({"--ident-length", "31"});
    EXPECT_EQ(shortId.Feed("T").size(), 31);
    Fat longId({"--ident-length", "33"});
    EXPECT_EQ(longId.Feed("T").size(), 33);
}

TEST(FatSimulator, EmptyFatReportsNoTexts)
{
    Fat fat;
    EXPECT_EQ(fat.Feed("L"), Bytes({0xFF, 0xFF, 0, 0, 0, 0}));
    EXPECT_EQ(fat.sim->CurrentState(), CFatSimulator::Idle);
    Fat zero({"--empty-zero"});
    EXPECT_EQ(zero.Feed("L"), Bytes({0, 0, 0, 0, 0, 0}));
}

TEST(FatSimulator, WriteThenReadBack)
{
    Fat fat;
    const QByteArray r0 = SRecord("0001", "01", "Eingang", "Halle 1");
    const QByteArray r1 = SRecord("0002", "00", "Lager", "Keller");
    const QByteArray sent = Bytes({0, 2}) + Bytes({0xFF, 0xFF, 0xFF, 0xFB}) + r0 + r1;
    EXPECT_EQ(fat.Write(2, -5, {r0, r1}), Bytes({0x06}) + sent);
    EXPECT_TRUE(fat.sim->TakeStoreChanged());
    EXPECT_EQ(fat.store.records, (QList<QByteArray>{r0, r1}));
    EXPECT_EQ(fat.store.groupOffset, -5);
    EXPECT_EQ(fat.sim->CurrentState(), CFatSimulator::Idle);

    const QByteArray header = fat.Feed("L");
    EXPECT_EQ(header, Bytes({0, 2, 0xFF, 0xFF, 0xFF, 0xFB}));
    EXPECT_EQ(fat.Feed(QByteArray(1, char(Sum(header)))), r0);
    EXPECT_EQ(fat.Feed(QByteArray(1, char(Sum(r0)))), r1);
    EXPECT_EQ(fat.Feed(QByteArray(1, char(Sum(r1)))), QByteArray());
    EXPECT_EQ(fat.sim->CurrentState(), CFatSimulator::Idle);
}

TEST(FatSimulator, WrongAcknowledgementEndsReading)
{
    Fat fat;
    fat.Write(1, 0, {SRecord("0001", "01", "a", "b")});
    const QByteArray header = fat.Feed("L");
    EXPECT_EQ(fat.Feed(QByteArray(1, char(Sum(header) + 1))), QByteArray());
    EXPECT_EQ(fat.sim->CurrentState(), CFatSimulator::Idle);
    EXPECT_EQ(fat.Feed("T").size(), 32); // back to commands
}

TEST(FatSimulator, NotReadyThenReady)
{
    Fat fat({"--not-ready", "2"});
    EXPECT_EQ(fat.Feed(Bytes({0x06})), Bytes({0x15}));
    EXPECT_EQ(fat.Feed(Bytes({0x06})), Bytes({0x15}));
    EXPECT_EQ(fat.Feed(Bytes({0x06})), Bytes({0x06}));
    EXPECT_EQ(fat.sim->CurrentState(), CFatSimulator::ReceiveCount);
}

TEST(FatSimulator, EchoFaults)
{
    Fat count({"--wrong-count-echo"});
    count.Feed(Bytes({0x06}));
    EXPECT_EQ(count.Feed(Bytes({0x00})), Bytes({0xFF}));
    EXPECT_EQ(count.Feed(Bytes({0x01})), Bytes({0x01}));

    Fat offset({"--wrong-offset-echo"});
    offset.Feed(Bytes({0x06, 0, 1}));
    EXPECT_EQ(offset.Feed(Bytes({0x00})), Bytes({0xFF}));

    Fat data({"--wrong-echo", "3"});
    const QByteArray r = SRecord("0001", "01", "a", "b");
    const QByteArray echoes = data.Write(1, 0, {r}).mid(7);
    ASSERT_EQ(echoes.size(), r.size());
    for (int i = 0; i < r.size(); ++i)
        EXPECT_EQ(echoes.at(i), i == 3 ? char(r.at(i) ^ 0xFF) : r.at(i)) << i;
}

TEST(FatSimulator, EmptyWriteClearsTexts)
{
    Fat fat;
    fat.Write(1, 7, {SRecord("0001", "01", "a", "b")});
    fat.Write(0, 0, {});
    EXPECT_TRUE(fat.store.hasTexts);
    EXPECT_TRUE(fat.store.records.isEmpty());
    EXPECT_EQ(fat.Feed("L"), Bytes({0, 0, 0, 0, 0, 0}));
}

TEST(FatSimulator, RecordFaultsWhenReading)
{
    Fat fat({"--short-record", "0", "--unknown-type", "1"});
    const QByteArray r0 = SRecord("0001", "01", "a", "b");
    const QByteArray r1 = SRecord("0002", "01", "c", "d");
    fat.Write(2, 0, {r0, r1});
    const QByteArray header = fat.Feed("L");
    EXPECT_EQ(fat.Feed(QByteArray(1, char(Sum(header)))), r0.left(r0.size() - 1));
    // the acknowledgement of the full record still takes the FAT on
    const QByteArray second = fat.Feed(QByteArray(1, char(Sum(r0))));
    ASSERT_EQ(second.size(), r1.size());
    EXPECT_EQ(static_cast<unsigned char>(second.at(0)), 0x18);
    EXPECT_EQ(second.mid(1), r1.mid(1));
}

TEST(FatSimulator, LzWriteAndRead)
{
    Fat fat;
    EXPECT_EQ(fat.Feed(Bytes({0x07})), Bytes({0x06}));
    QByteArray table;
    for (int i = 0; i < 255; ++i)
        table.append(char(i % 5));
    EXPECT_EQ(fat.Feed(table), table);
    EXPECT_FALSE(fat.sim->TakeStoreChanged()); // not before the end byte
    fat.Feed(Bytes({0x00}));
    EXPECT_TRUE(fat.sim->TakeStoreChanged());
    EXPECT_EQ(fat.store.lzTable, table);

    const QByteArray sent = fat.Feed("C");
    EXPECT_EQ(sent, table + Bytes({0}));
    EXPECT_EQ(fat.Feed(QByteArray(1, char(Sum(table)))), Bytes({0x04}));
    fat.Feed("C");
    EXPECT_EQ(fat.Feed(QByteArray(1, char(Sum(table) + 1))), Bytes({0x15}));
}

TEST(FatSimulator, LzFaults)
{
    Fat fat({"--wrong-verdict", "--lz-bad-end"});
    const QByteArray sent = fat.Feed("C");
    ASSERT_EQ(sent.size(), 256);
    EXPECT_EQ(sent.at(255), char(1));
    EXPECT_EQ(fat.Feed(QByteArray(1, char(Sum(sent.left(255))))), Bytes({0x15}));

    Fat echo({"--wrong-echo", "254"});
    echo.Feed(Bytes({0x07}));
    const QByteArray echoes = echo.Feed(QByteArray(255, char(2)));
    EXPECT_EQ(echoes.left(254), QByteArray(254, char(2)));
    EXPECT_EQ(echoes.at(254), char(2 ^ 0xFF));
}

TEST(FatSimulator, PauseSilenceAndVanishing)
{
    Fat pause({"--pause", "250", "--pause-at", "echo:1"});
    pause.Feed(Bytes({0x06, 0, 1, 0, 0, 0, 0}));
    pause.Feed(Bytes({0x88}));
    ASSERT_EQ(pause.last.size(), 1);
    EXPECT_EQ(pause.last.at(0).pauseMs, 0);
    pause.Feed(Bytes({0x30}));
    ASSERT_EQ(pause.last.size(), 1);
    EXPECT_EQ(pause.last.at(0).pauseMs, 250);

    Fat silent({"--silent-at", "record:1"});
    const QByteArray r0 = SRecord("0001", "01", "a", "b");
    silent.Write(2, 0, {r0, SRecord("0002", "01", "c", "d")});
    const QByteArray header = silent.Feed("L");
    EXPECT_EQ(silent.Feed(QByteArray(1, char(Sum(header)))), r0);
    EXPECT_EQ(silent.Feed(QByteArray(1, char(Sum(r0)))), QByteArray());
    EXPECT_EQ(silent.Feed("T"), QByteArray()); // silent from then on

    Fat vanish({"--vanish-at", "ready"});
    vanish.Feed(Bytes({0x06}));
    ASSERT_EQ(vanish.last.size(), 1);
    EXPECT_TRUE(vanish.last.at(0).vanish);

    Fat mute({"--silent"});
    EXPECT_EQ(mute.Feed("TL"), QByteArray());
}

TEST(FatSimulator, IdleResetDropsAnExchange)
{
    Fat fat;
    fat.Feed(Bytes({0x06, 0x00}));
    EXPECT_EQ(fat.sim->CurrentState(), CFatSimulator::ReceiveCount);
    fat.sim->Reset();
    EXPECT_EQ(fat.Feed("T").size(), 32);
}

TEST(FatSimulator, AnUnfinishedWriteKeepsTheOldOffset)
{
    Fat fat;
    const QByteArray r0 = SRecord("0001", "01", "Eingang", "Halle 1");
    fat.Write(1, 7, {r0});
    ASSERT_EQ(fat.store.groupOffset, 7);
    // A second write breaks off inside its first record.
    fat.Write(1, -3, {r0.left(10)});
    fat.sim->Reset();
    EXPECT_EQ(fat.store.groupOffset, 7);
    EXPECT_EQ(fat.store.records, QList<QByteArray>{r0});
    EXPECT_EQ(fat.Feed("L"), Bytes({0, 1, 0, 0, 0, 7}));
}

TEST(FatStore, RoundTripAndBadFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("store.json");
    FatStore store;
    store.hasTexts = true;
    store.groupOffset = -123456;
    store.records = {QByteArray("\x88\x00\xff", 3), QByteArray("abc")};
    store.lzTable = QByteArray(255, char(4));
    QString error;
    ASSERT_TRUE(store.Save(path, error));
    FatStore back;
    ASSERT_TRUE(back.Load(path, error)) << error.toStdString();
    EXPECT_TRUE(back.hasTexts);
    EXPECT_EQ(back.groupOffset, -123456);
    EXPECT_EQ(back.records, store.records);
    EXPECT_EQ(back.lzTable, store.lzTable);

    FatStore missing;
    EXPECT_TRUE(missing.Load(dir.filePath("none.json"), error));
    EXPECT_FALSE(missing.hasTexts);

    QFile bad(dir.filePath("bad.json"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("{\"lz\": \"0102\"}");
    bad.close();
    FatStore refused;
    EXPECT_FALSE(refused.Load(bad.fileName(), error));
    QFile junk(dir.filePath("junk.json"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("\x01\x02 not json");
    junk.close();
    EXPECT_FALSE(refused.Load(junk.fileName(), error));
}

TEST(FatStore, HoldsAtMost65534Records)
{
    // 0xFFFF in the header means "no texts": a store of that many would read back as empty.
    QTemporaryDir dir;
    const QByteArray record = SRecord("0001", "01", "a", "b");
    auto storeOf = [&](int count) {
        const QString path = dir.filePath(QStringLiteral("s%1.json").arg(count));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray hex = '"' + record.toHex() + '"';
        QByteArray json = "{\"hasTexts\": true, \"groupOffset\": 0, \"records\": [";
        json.reserve(json.size() + count * (hex.size() + 1) + 8);
        for (int i = 0; i < count; ++i)
            json += (i ? "," : "") + hex;
        json += "]}";
        f.write(json);
        return path;
    };
    QString error;
    FatStore full;
    ASSERT_TRUE(full.Load(storeOf(65534), error)) << error.toStdString();
    EXPECT_EQ(full.records.size(), 65534);
    FatSimOptions options;
    CFatSimulator sim(options, full);
    CFatSimulator::Answer answer;
    sim.Receive('L', answer);
    ASSERT_EQ(answer.size(), 1);
    EXPECT_EQ(answer[0].bytes.left(2), Bytes({0xFF, 0xFE}));

    FatStore tooMany;
    EXPECT_FALSE(tooMany.Load(storeOf(65535), error));
    EXPECT_TRUE(error.contains("65534")) << error.toStdString();
}

TEST(FatSimulator, RefusesAWriteOf65535Records)
{
    Fat fat;
    const QByteArray r0 = SRecord("0001", "01", "Eingang", "Halle 1");
    fat.Write(1, 7, {r0});
    ASSERT_EQ(fat.store.records.size(), 1);
    EXPECT_EQ(fat.Feed(Bytes({0x06})), Bytes({0x06}));
    EXPECT_EQ(fat.Feed(Bytes({0xFF})), Bytes({0xFF}));
    EXPECT_NE(fat.Feed(Bytes({0xFF})), Bytes({0xFF})) << "the count is refused by its echo";
    EXPECT_EQ(fat.sim->CurrentState(), CFatSimulator::Idle);
    EXPECT_EQ(fat.store.records, QList<QByteArray>{r0}) << "the old texts stay";
    EXPECT_EQ(fat.Feed("L").left(2), Bytes({0, 1}));
}
