#include "FatSimProcess.h"

#include <gtest/gtest.h>

// Qt
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The PC's end of the line, with plain POSIX calls.
class Line
{
public:
    explicit Line(const QString& path)
    {
        m_fd = ::open(qPrintable(path), O_RDWR | O_NOCTTY);
        if (m_fd >= 0) {
            termios tio;
            tcgetattr(m_fd, &tio);
            cfmakeraw(&tio);
            tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~Line()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool IsOpen() const { return m_fd >= 0; }
    void Write(const QByteArray& bytes)
    {
        ASSERT_EQ(::write(m_fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    }
    // Reads until n bytes came or ms passed without any.
    QByteArray Read(int n, int ms = 3000)
    {
        QByteArray out;
        while (out.size() < n) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, ms) <= 0)
                break;
            char buffer[512];
            const ssize_t got = ::read(m_fd, buffer, size_t(qMin<int>(n - out.size(), 512)));
            if (got <= 0)
                break;
            out.append(buffer, int(got));
        }
        return out;
    }

private:
    int m_fd = -1;
};

unsigned char Sum(const QByteArray& bytes)
{
    unsigned s = 0;
    for (char c : bytes)
        s += static_cast<unsigned char>(c);
    return static_cast<unsigned char>(s);
}

} // namespace

TEST(FatSimProcess, AnswersLogsAndKeepsItsStore)
{
    FatSimProcess fat(QStringLiteral(FATSIM_PATH));
    const QString link = fat.Folder() + "/ttyFAT";
    const QString device = fat.Start({"--link", link, "--maker", "EE", "--model", "4"});
    ASSERT_FALSE(device.isEmpty());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), device);
    {
        Line line(link);
        ASSERT_TRUE(line.IsOpen());
        line.Write("T");
        const QByteArray id = line.Read(32);
        ASSERT_EQ(id.size(), 32);
        EXPECT_EQ(id.left(4), QByteArray("EE 4"));

        // write one record
        QByteArray record(1, char(0x88));
        record += "000101" + QByteArray("Flur").leftJustified(12) +
                  QByteArray("Erdgeschoss").leftJustified(20);
        ASSERT_EQ(record.size(), 39);
        line.Write(QByteArray(1, 0x06));
        EXPECT_EQ(line.Read(1), QByteArray(1, 0x06));
        for (char c : QByteArray::fromHex("000100000009") + record) {
            line.Write(QByteArray(1, c));
            ASSERT_EQ(line.Read(1), QByteArray(1, c));
        }
        line.Write(QByteArray(1, 0x04));
        line.Read(1, 200); // nothing answers the end byte
    }
    EXPECT_EQ(fat.Stop(), 0);
    EXPECT_FALSE(QFileInfo::exists(link)); // the link goes with the device

    const QByteArray fromPc = fat.FromPc();
    EXPECT_TRUE(fromPc.startsWith("T\x06"));
    EXPECT_EQ(fat.FromFat().size(), 32 + 1 + 6 + 39);
    const auto log = fat.Log();
    ASSERT_FALSE(log.isEmpty());
    for (int i = 1; i < log.size(); ++i)
        EXPECT_LE(log[i - 1].seconds, log[i].seconds);

    // a second run reads the record back from the store
    FatSimProcess again(QStringLiteral(FATSIM_PATH));
    QFile store(fat.StorePath());
    ASSERT_TRUE(store.open(QIODevice::ReadOnly));
    ASSERT_TRUE(again.WriteStore(store.readAll()));
    ASSERT_FALSE(again.Start().isEmpty());
    Line line(again.Device());
    line.Write("L");
    const QByteArray header = line.Read(6);
    EXPECT_EQ(header, QByteArray::fromHex("000100000009"));
    line.Write(QByteArray(1, char(Sum(header))));
    const QByteArray record = line.Read(39);
    EXPECT_EQ(record.mid(1, 6), QByteArray("000101"));
    EXPECT_EQ(record.mid(7, 4), QByteArray("Flur"));
}

TEST(FatSimProcess, VanishesOnRequest)
{
    FatSimProcess fat(QStringLiteral(FATSIM_PATH));
    ASSERT_FALSE(fat.Start({"--vanish-at", "ident"}).isEmpty());
    Line line(fat.Device());
    line.Write("T");
    ASSERT_TRUE(fat.WaitForExit(5000));
    EXPECT_EQ(fat.Stop(), 3);
    EXPECT_EQ(line.Read(32, 300), QByteArray());
}

TEST(FatSimProcess, RefusesBadOptions)
{
    QProcess p;
    p.start(QStringLiteral(FATSIM_PATH), {"--display", "x"});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardError().contains("--display"));

    FatSimProcess fat(QStringLiteral(FATSIM_PATH));
    ASSERT_TRUE(fat.WriteStore("not a store"));
    EXPECT_TRUE(fat.Start().isEmpty());
}

TEST(FatSimProcess, PacedAnswersTakeTheWireTime)
{
    // At 1200 baud one byte takes 8.3 ms each way: twenty echoes need at least 333 ms.
    FatSimProcess fat(QStringLiteral(FATSIM_PATH));
    ASSERT_FALSE(fat.Start({"--baud", "1200"}).isEmpty());
    Line line(fat.Device());
    line.Write(QByteArray(1, 0x07));
    ASSERT_EQ(line.Read(1), QByteArray(1, 0x06));
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 20; ++i) {
        line.Write(QByteArray(1, char(2)));
        ASSERT_EQ(line.Read(1), QByteArray(1, char(2)));
    }
    EXPECT_GE(clock.elapsed(), 320);
}

TEST(FatSimProcess, TrafficFileIsSentOnceAfterSAndTheLogHasIt)
{
    FatSimProcess fat(QStringLiteral(FATSIM_PATH));
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i)
        bytes.append(char(i * 7 + i / 256));
    const QString path = fat.Folder() + "/traffic.bin";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    ASSERT_FALSE(fat.Start({"--traffic", path, "--rate", "0"}).isEmpty());
    Line line(fat.Device());
    line.Write("T");
    ASSERT_EQ(line.Read(32).size(), 32);
    EXPECT_EQ(line.Read(1, 300), QByteArray()); // nothing before "S"
    line.Write("S");
    EXPECT_EQ(line.Read(int(bytes.size())), bytes);
    EXPECT_EQ(line.Read(1, 300), QByteArray()); // once only
    line.Write("H");
    EXPECT_EQ(fat.Stop(), 0);
    EXPECT_EQ(fat.FromPc(), "TSH");
    EXPECT_EQ(fat.FromFat().mid(32), bytes);
}

TEST(FatSimProcess, MadeUpTrafficRunsAtItsRateUntilH)
{
    FatSimProcess fat(QStringLiteral(FATSIM_PATH));
    ASSERT_FALSE(fat.Start({"--maker", "TW", "--rate", "1000"}).isEmpty());
    Line line(fat.Device());
    line.Write("T");
    ASSERT_EQ(line.Read(32).left(2), QByteArray("TW"));
    line.Write("S");
    QElapsedTimer clock;
    clock.start();
    const QByteArray traffic = line.Read(400);
    ASSERT_EQ(traffic.size(), 400);
    // 1000 bytes a second: 400 bytes need about 0.4 s.
    EXPECT_GE(clock.elapsed(), 330);
    EXPECT_EQ(static_cast<unsigned char>(traffic[0]), 0xF0); // Total Walther frames by 0xF0
    EXPECT_TRUE(traffic.contains("MG "));
    line.Write("H");
    QTest::qSleep(100);
    line.Read(100000, 100); // what was under way
    EXPECT_EQ(line.Read(1, 300), QByteArray());
    EXPECT_EQ(fat.Stop(), 0);
}

TEST(FatSimProcess, VanishesInTheTrafficAndComesBackUnderItsLink)
{
    FatSimProcess fat(QStringLiteral(FATSIM_PATH));
    const QString link = fat.Folder() + "/ttyFAT";
    const QString first = fat.Start({"--link", link, "--maker", "NF", "--rate", "0", "--vanish-at",
                                     "traffic:50", "--return-after", "300"});
    ASSERT_FALSE(first.isEmpty());
    {
        Line line(link);
        line.Write("T");
        ASSERT_EQ(line.Read(32).size(), 32);
        line.Write("S");
        EXPECT_EQ(line.Read(1000, 1000).size(), 50);
    }
    // Back on a new device under the same link, as a FAT that was plugged in again.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000 &&
           (!QFileInfo(link).isSymLink() || QFileInfo(link).symLinkTarget() == first))
        QTest::qSleep(20);
    ASSERT_TRUE(QFileInfo(link).isSymLink());
    Line again(link);
    ASSERT_TRUE(again.IsOpen());
    again.Write("T");
    EXPECT_EQ(again.Read(32).left(2), QByteArray("NF"));
    again.Write("S");
    const QByteArray traffic = again.Read(500);
    EXPECT_EQ(traffic.size(), 500); // it vanishes only once
    EXPECT_TRUE(traffic.contains("\r\n"));
    EXPECT_TRUE(fat.Running());
    EXPECT_EQ(fat.Stop(), 0);
}
