// The modem-line monitor on its own: its five groups, the line commands it sends and the
// status words it shows.
#include "CHandshake.h"

// Qt
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class HandshakeTest : public ::testing::Test
{
protected:
    HandshakeTest()
    {
        monitor = new CHandshake;
        monitor->show();
        commands = std::make_unique<QSignalSpy>(monitor, &CHandshake::ModemLineRequested);
    }
    ~HandshakeTest() override { delete monitor; }
    QList<int> Commands() const
    {
        QList<int> out;
        for (const QList<QVariant>& call : *commands)
            out.append(call.at(0).toInt());
        return out;
    }

    void Click(CHandshake::Line line, bool on)
    {
        QTest::mouseClick(monitor->Button(line, on), Qt::LeftButton);
    }
    // "ON", "OFF" or "-" for each line in window order.
    QString Display() const
    {
        QString out;
        for (int i = 0; i < CHandshake::LineCount; ++i) {
            const auto line = CHandshake::Line(i);
            const bool on = monitor->Button(line, true)->isChecked();
            const bool off = monitor->Button(line, false)->isChecked();
            out +=
                on && !off ? QLatin1Char('1') : (!on && off ? QLatin1Char('0') : QLatin1Char('-'));
        }
        return out;
    }

    CHandshake* monitor = nullptr;
    std::unique_ptr<QSignalSpy> commands;
};

} // namespace

TEST_F(HandshakeTest, FiveGroupsWithTheirIdsAndStartValues)
{
    const QStringList labels = {"DTR", "DSR", "CD", "RTS", "CTS"};
    const QList<QLabel*> found = monitor->findChildren<QLabel*>();
    QStringList texts;
    for (QLabel* l : found)
        texts.append(l->text().remove(QLatin1Char('&')));
    EXPECT_EQ(texts, labels);
    for (int i = 0; i < CHandshake::LineCount; ++i) {
        const auto line = CHandshake::Line(i);
        EXPECT_EQ(monitor->Button(line, true)->text(), QStringLiteral("ON"));
        EXPECT_EQ(monitor->Button(line, false)->text(), QStringLiteral("OFF"));
        EXPECT_EQ(monitor->Button(line, true)->objectName(),
                  QStringLiteral("radio%1").arg(CHandshake::kOnIds[i]));
        EXPECT_EQ(monitor->Button(line, false)->objectName(),
                  QStringLiteral("radio%1").arg(CHandshake::kOnIds[i] + 1));
    }
    // DTR and RTS start OFF; the lines of the FAT show nothing until they are read.
    EXPECT_EQ(Display(), QStringLiteral("0--0-"));
    EXPECT_EQ(monitor->Value(CHandshake::Dtr), CHandshake::Off);
    EXPECT_EQ(monitor->Value(CHandshake::Dsr), CHandshake::NoValue);
}

TEST_F(HandshakeTest, DtrAndRtsSendTheirLineCommand)
{
    Click(CHandshake::Rts, true);
    Click(CHandshake::Rts, false);
    Click(CHandshake::Dtr, true);
    Click(CHandshake::Dtr, false);
    Click(CHandshake::Dtr, true);
    EXPECT_EQ(Commands(), QList<int>({0, 1, 2, 3, 2}));
    EXPECT_EQ(monitor->Value(CHandshake::Dtr), CHandshake::On);
    EXPECT_EQ(monitor->Value(CHandshake::Rts), CHandshake::Off);
    EXPECT_EQ(Display(), QStringLiteral("1--0-"));
}

TEST_F(HandshakeTest, LinesOfTheFatCannotBeChanged)
{
    Click(CHandshake::Dsr, true);
    Click(CHandshake::Cd, false);
    Click(CHandshake::Cts, true);
    EXPECT_EQ(Display(), QStringLiteral("0--0-"));
    EXPECT_TRUE(Commands().isEmpty());
    monitor->ShowModemStatus(0x20);
    Click(CHandshake::Dsr, false);
    EXPECT_EQ(Display(), QStringLiteral("01000"));
    EXPECT_EQ(monitor->Value(CHandshake::Dsr), CHandshake::On);
}

TEST_F(HandshakeTest, StatusWordShowsCtsDsrAndCd)
{
    monitor->ShowModemStatus(0x10);
    EXPECT_EQ(Display(), QStringLiteral("00001"));
    monitor->ShowModemStatus(0x20 | 0x80);
    EXPECT_EQ(Display(), QStringLiteral("01100"));
    EXPECT_EQ(monitor->Value(CHandshake::Cd), CHandshake::On);
    EXPECT_EQ(monitor->Value(CHandshake::Cts), CHandshake::Off);
    // Other bits change nothing.
    monitor->ShowModemStatus(0x20 | 0x80 | 0x01 | 0x40);
    EXPECT_EQ(Display(), QStringLiteral("01100"));
}

TEST_F(HandshakeTest, AccessKeysLeadToTheUserLines)
{
    monitor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(monitor));
    QTest::keyClick(monitor, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(monitor->Button(CHandshake::Rts, true)->hasFocus());
    QTest::keyClick(monitor, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(monitor->Button(CHandshake::Dtr, true)->hasFocus());
}
