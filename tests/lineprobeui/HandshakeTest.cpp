// The modem-line monitor on its own: its five groups, the hints it sends and the hints it
// answers.
#include "CHandshake.h"
#include "CLineprobeDoc.h"
#include "LineprobeHints.h"

// Qt
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A window on the same document that notes every hint it receives.
class HintSpy : public CView
{
public:
    void OnUpdate(CView*, long hint, const QVariant& arg) override
    {
        hints.append({hint, arg.toInt()});
    }
    QList<QPair<long, int>> hints;
};

class HandshakeTest : public ::testing::Test
{
protected:
    HandshakeTest()
    {
        doc.AddView(&spy);
        monitor = new CHandshake(&doc);
        monitor->show();
    }
    ~HandshakeTest() override
    {
        delete monitor;
        doc.RemoveView(&spy);
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

    CLineprobeDoc doc;
    HintSpy spy;
    CHandshake* monitor = nullptr;
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

TEST_F(HandshakeTest, DtrAndRtsSendHintNineWithTheirCommand)
{
    Click(CHandshake::Rts, true);
    Click(CHandshake::Rts, false);
    Click(CHandshake::Dtr, true);
    Click(CHandshake::Dtr, false);
    Click(CHandshake::Dtr, true);
    const QList<QPair<long, int>> expected = {
        {HintModem, 0}, {HintModem, 1}, {HintModem, 2}, {HintModem, 3}, {HintModem, 2}};
    EXPECT_EQ(spy.hints, expected);
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
    EXPECT_TRUE(spy.hints.isEmpty());
    doc.UpdateAllViews(&spy, HintModem, 0x20);
    Click(CHandshake::Dsr, false);
    EXPECT_EQ(Display(), QStringLiteral("01000"));
    EXPECT_EQ(monitor->Value(CHandshake::Dsr), CHandshake::On);
}

TEST_F(HandshakeTest, StatusWordShowsCtsDsrAndCd)
{
    doc.UpdateAllViews(&spy, HintModem, 0x10);
    EXPECT_EQ(Display(), QStringLiteral("00001"));
    doc.UpdateAllViews(&spy, HintModem, 0x20 | 0x80);
    EXPECT_EQ(Display(), QStringLiteral("01100"));
    EXPECT_EQ(monitor->Value(CHandshake::Cd), CHandshake::On);
    EXPECT_EQ(monitor->Value(CHandshake::Cts), CHandshake::Off);
    // Other bits and other hints change nothing.
    doc.UpdateAllViews(&spy, HintModem, 0x20 | 0x80 | 0x01 | 0x40);
    EXPECT_EQ(Display(), QStringLiteral("01100"));
    doc.UpdateAllViews(&spy, HintChunk, QByteArray("x"));
    doc.UpdateAllViews(&spy, HintStart);
    EXPECT_EQ(Display(), QStringLiteral("01100"));
}

TEST_F(HandshakeTest, OwnCommandsSendTheirHints)
{
    monitor->OnStartCommand();
    monitor->OnStopCommand();
    monitor->OnConfigureCommand();
    monitor->OnFatDataCommand();
    const QList<QPair<long, int>> expected = {
        {HintStart, 0}, {HintStop, 0}, {HintConfigure, 0}, {HintIdentDialog, 0}};
    EXPECT_EQ(spy.hints, expected);
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
