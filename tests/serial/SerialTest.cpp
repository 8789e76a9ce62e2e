#include "CSerial.h"
#include "ComPortSettings.h"
#include "CommReceiver.h"
#include "LineCounters.h"
#include "PtyPair.h"
#include "SerialTestSupport.h"

#include "CMessages.h"
#include "Settings.h"

// Qt
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

TEST(ComParameterLayout, FieldsSitAtTheirByteOffsets)
{
    ComParameter p;
    p.baudRate = 0x01020304;
    p.parity = 2;
    p.dataBits = 7;
    p.stopBits = 1;
    unsigned char bytes[16];
    std::memcpy(bytes, &p, sizeof bytes);
    std::int32_t baud, data;
    std::memcpy(&baud, bytes + 0, 4);
    std::memcpy(&data, bytes + 8, 4);
    EXPECT_EQ(baud, 0x01020304);
    EXPECT_EQ(bytes[4], 2);
    EXPECT_EQ(data, 7);
    EXPECT_EQ(bytes[12], 1);

    EXPECT_EQ(ComParameter::Standard().baudRate, 9600);
    EXPECT_EQ(ComParameter::Standard().dataBits, 8);
    EXPECT_EQ(ComParameter::Standard().parity, 0);
    EXPECT_EQ(ComParameter::Standard().stopBits, 0);
    ComParameter bad;
    bad.parity = 5;
    EXPECT_FALSE(bad.IsValid());
    bad = ComParameter();
    bad.dataBits = 9;
    EXPECT_FALSE(bad.IsValid());
    bad = ComParameter();
    bad.stopBits = 3;
    EXPECT_FALSE(bad.IsValid());
}

TEST(LineCountersTest, EachMovedCounterGivesItsKindOnce)
{
    LineCounters before;
    before.parity = 3;
    before.frame = 1;
    LineCounters now = before;
    EXPECT_TRUE(now.ErrorsSince(before).isEmpty());
    now.frame += 5;
    EXPECT_EQ(now.ErrorsSince(before), QList<int>{CommFramingError});
    now.brk = 1;
    now.overrun = 2;
    now.parity = 4;
    EXPECT_EQ(now.ErrorsSince(before), (QList<int>{0, 1, 2, 3}));
    LineCounters wrapped;
    wrapped.parity = 0xFFFFFFFFu;
    LineCounters after;
    EXPECT_EQ(after.ErrorsSince(wrapped), QList<int>{CommParityError});
}

TEST(CommMessages, EachNameIsRegisteredOnce)
{
    const QEvent::Type rx = RegisterCommMessage("CommRxCharByQK081199");
    EXPECT_EQ(RegisterCommMessage("CommRxCharByQK081199"), rx);
    EXPECT_EQ(CommRxCharMessage(), rx);
    EXPECT_EQ(CommErrorMessage(), RegisterCommMessage("CommErrorByQK081199"));
    EXPECT_EQ(CommStatusChangedMessage(), RegisterCommMessage("CommStatusChangedByQK140200"));
    EXPECT_NE(CommRxCharMessage(), CommErrorMessage());
    EXPECT_NE(CommErrorMessage(), CommStatusChangedMessage());
    EXPECT_NE(CommRxCharMessage(), CommStatusChangedMessage());
    EXPECT_GE(int(rx), int(QEvent::User));
}

TEST(SerialOpen, MissingDeviceDoesNotOpen)
{
    CommReceiver receiver;
    CSerial serial;
    serial.SetPortName(QStringLiteral("/dev/no-such-serial-device"));
    EXPECT_EQ(serial.Open(&receiver), 0);
    EXPECT_EQ(serial.IsOpened(), 0);
    EXPECT_EQ(serial.SendData("T", 1), 0);
    EXPECT_EQ(serial.Close(), 0);
    Settle(50);
    EXPECT_TRUE(receiver.messages.isEmpty());
}

TEST(SerialOpen, SecondObjectOnTheSameDeviceIsRefused)
{
    PtyPair pty;
    CommReceiver receiver;
    CSerial first, second;
    first.SetPortName(pty.SlavePath());
    second.SetPortName(pty.SlavePath());
    ASSERT_TRUE(first.Open(&receiver));
    EXPECT_EQ(second.Open(&receiver), 0);
    first.Close();
    EXPECT_EQ(second.Open(&receiver), 1) << "free again after Close";
}

TEST_F(OpenPty, EveryByteValueTravelsBothWays)
{
    const QByteArray all = AllByteValues();
    ASSERT_TRUE(pty.Write(all));
    EXPECT_EQ(serial.WaitForData(256, kWaitMs), 256);
    EXPECT_EQ(ReadAll(serial), all);
    EXPECT_EQ(serial.GetDataToRead(), 0);

    EXPECT_EQ(serial.SendData(all.constData(), all.size()), 256);
    EXPECT_EQ(pty.Read(256), all);
}

TEST_F(OpenPty, ReadDataMovesAtMostNAndZeroMeansAll)
{
    ASSERT_TRUE(pty.Write("abcdefgh"));
    ASSERT_EQ(serial.WaitForData(8, kWaitMs), 8);
    char buffer[16] = {};
    EXPECT_EQ(serial.ReadData(buffer, 3), 3);
    EXPECT_EQ(QByteArray(buffer, 3), "abc");
    EXPECT_EQ(serial.GetDataToRead(), 5);
    EXPECT_EQ(serial.ReadData(buffer, 0), 5);
    EXPECT_EQ(QByteArray(buffer, 5), "defgh");
    EXPECT_EQ(serial.ReadData(buffer, 4), 0);
    EXPECT_EQ(serial.ReadData(nullptr, 4), 0);
    EXPECT_EQ(serial.ReadData(buffer, -1), 0);
}

TEST_F(OpenPty, ReadAllMovesOnlyWhatWasReported)
{
    // Bytes that arrive between the count and the read must not overrun the caller's buffer.
    ASSERT_TRUE(pty.Write("abc"));
    ASSERT_EQ(serial.WaitForData(3, kWaitMs), 3);
    QByteArray small(serial.GetDataToRead(), '\0');
    ASSERT_EQ(small.size(), 3);
    ASSERT_TRUE(pty.Write("defg"));
    ASSERT_EQ(serial.WaitForData(7, kWaitMs), 7);
    QByteArray big(serial.GetDataToRead(), '\0');
    // The announcement of "h" comes after "h" is in the buffer; waiting for it reports no
    // count, so the seven told stay the last one.
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.Count(CommRxCharMessage()) >= 1; }, kWaitMs));
    const int announced = receiver.Count(CommRxCharMessage());
    ASSERT_TRUE(pty.Write("h"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return receiver.Count(CommRxCharMessage()) > announced; }, kWaitMs));
    EXPECT_EQ(serial.ReadData(big.data(), 0), 7) << "told seven, eight were waiting";
    EXPECT_EQ(big, "abcdefg");
    EXPECT_EQ(serial.ReadData(small.data(), 0), 0) << "nothing reported since that read";
    EXPECT_EQ(ReadAll(serial), "h");
}

TEST_F(OpenPty, WaitForDataGivesUpAfterItsTime)
{
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(serial.WaitForData(1, 50), 0);
    EXPECT_GE(timer.elapsed(), 45);
}

TEST_F(OpenPty, CloseSendsQueuedBytesFirst)
{
    QByteArray block(2000, 'x');
    block.append('\x04');
    serial.SendData(block.constData(), block.size());
    EXPECT_EQ(serial.Close(), 1);
    EXPECT_EQ(serial.IsOpened(), 0);
    EXPECT_EQ(pty.Read(block.size()), block);
    EXPECT_EQ(serial.Close(), 0) << "a closed port reports it was not open";
}

TEST_F(OpenPty, ReceivedBytesAreAnnouncedOnceWhilePending)
{
    // Nothing runs the event loop while the bytes come in: they are announced once.
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(pty.Write(QByteArray(1, char(i))));
    ASSERT_EQ(serial.WaitForData(50, kWaitMs), 50);
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.Count(CommRxCharMessage()) > 0; }, kWaitMs));
    Settle();
    EXPECT_EQ(receiver.Count(CommRxCharMessage()), 1);

    // Bytes left waiting are not announced again until more arrive.
    Settle();
    EXPECT_EQ(receiver.Count(CommRxCharMessage()), 1);
    ASSERT_TRUE(pty.Write("z"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.Count(CommRxCharMessage()) == 2; }, kWaitMs));
    EXPECT_EQ(serial.GetDataToRead(), 51);
}

TEST_F(OpenPty, BytesArrivingWhileTheHandlerRunsAreAnnouncedAgain)
{
    bool first = true;
    QByteArray seen;
    receiver.handler = [&](const CommReceiver::Message& m) {
        if (m.type != CommRxCharMessage())
            return;
        seen += ReadAll(serial);
        if (first) {
            first = false;
            // The far end answers while this handler still runs.
            pty.Write("2");
            serial.WaitForData(1, kWaitMs);
        }
    };
    ASSERT_TRUE(pty.Write("1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen == "12"; }, kWaitMs)) << seen.constData();
    EXPECT_EQ(receiver.Count(CommRxCharMessage()), 2);
}

TEST(SerialReceiver, ReceiverDestroyedWhileThePortIsOpenGetsNothingMore)
{
    PtyPair pty;
    CSerial serial;
    serial.SetPortName(pty.SlavePath());
    auto receiver = std::make_unique<CommReceiver>();
    ASSERT_TRUE(serial.Open(receiver.get()));
    ASSERT_TRUE(pty.Write("x"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return receiver->Count(CommRxCharMessage()) == 1; }, kWaitMs));
    receiver.reset();
    ASSERT_TRUE(pty.Write("y"));
    ASSERT_EQ(serial.WaitForData(2, kWaitMs), 2);
    Settle(100);
    EXPECT_EQ(ReadAll(serial), "xy") << "the bytes stay readable for the next receiver";
}

TEST(SerialReceiver, ReceiverInAnotherThreadGetsThemOnItsOwnLoop)
{
    PtyPair pty;
    QThread thread;
    CommReceiver receiver;
    receiver.moveToThread(&thread);
    std::atomic<int> delivered{0};
    std::atomic<bool> onItsThread{true};
    receiver.handler = [&](const CommReceiver::Message&) {
        onItsThread = onItsThread && QThread::currentThread() == &thread;
        ++delivered;
    };
    thread.start();
    CSerial serial;
    serial.SetPortName(pty.SlavePath());
    ASSERT_TRUE(serial.Open(&receiver));
    ASSERT_TRUE(pty.Write("x"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.load() == 1; }, kWaitMs));
    EXPECT_TRUE(onItsThread.load());
    serial.Close();
    thread.quit();
    thread.wait();
}

TEST(SerialReceiver, ReopenNamesTheNewReceiverAndDropsOldMessages)
{
    PtyPair pty;
    CommReceiver a, b;
    CSerial serial;
    serial.SetPortName(pty.SlavePath());
    ASSERT_TRUE(serial.Open(&a));
    ASSERT_TRUE(pty.Write("abc"));
    ASSERT_EQ(serial.WaitForData(3, kWaitMs), 3);
    // Opening the open port again keeps it open and moves the messages to b.
    ASSERT_EQ(serial.Open(&b), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.Count(CommRxCharMessage()) == 1; }, kWaitMs));
    EXPECT_EQ(a.Count(CommRxCharMessage()), 0);
    EXPECT_EQ(serial.GetDataToRead(), 3);
}

TEST_F(OpenPty, HangUpIsReportedOnceAsIoErrorAndClosesThePort)
{
    pty.CloseMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !receiver.Errors().isEmpty(); }, kWaitMs));
    Settle(300);
    EXPECT_EQ(receiver.Errors(), QList<qintptr>{CommIoError});
    EXPECT_EQ(serial.IsOpened(), 0);
    EXPECT_EQ(serial.SendData("T", 1), 0);
    EXPECT_EQ(serial.WaitForData(1, 10), 0);
}

TEST_F(OpenPty, AfterAHangUpTheObjectOpensAgain)
{
    pty.CloseMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !receiver.Errors().isEmpty(); }, kWaitMs));
    serial.Close();
    PtyPair other;
    serial.SetPortName(other.SlavePath());
    ASSERT_EQ(serial.Open(&receiver), 1);
    Settle(100);
    EXPECT_EQ(serial.IsOpened(), 1);
    EXPECT_EQ(receiver.Errors().size(), 1);
    ASSERT_TRUE(other.Write("again"));
    EXPECT_EQ(serial.WaitForData(5, kWaitMs), 5);
    serial.SendData("ok", 2);
    EXPECT_EQ(other.Read(2), "ok");
}

TEST_F(OpenPty, BytesBeforeAHangUpStayReadable)
{
    ASSERT_TRUE(pty.Write("last"));
    ASSERT_EQ(serial.WaitForData(4, kWaitMs), 4);
    pty.CloseMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !serial.IsOpened(); }, kWaitMs));
    EXPECT_EQ(ReadAll(serial), "last");
}

TEST_F(OpenPty, WaitForDataEndsWhenThePortGoesAway)
{
    std::atomic<int> result{-1};
    QElapsedTimer clock;
    clock.start();
    std::thread waiter([&] { result = serial.WaitForData(1, 60000); });
    pty.CloseMaster(); // before or after the wait begins: either way it ends
    waiter.join();
    EXPECT_EQ(result.load(), 0);
    EXPECT_LT(clock.elapsed(), 30000) << "it ended with the port, not after its minute";
}

TEST_F(OpenPty, InjectedErrorsArriveWithTheirKind)
{
    for (int kind = 0; kind <= 4; ++kind)
        serial.InjectError(kind);
    serial.InjectError(9); // unknown kinds are ignored
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.Errors().size() == 5; }, kWaitMs));
    EXPECT_EQ(receiver.Errors(), (QList<qintptr>{0, 1, 2, 3, 4}));
    EXPECT_EQ(serial.IsOpened(), 1) << "line errors keep the port open";

    serial.InjectError(CommIoError);
    EXPECT_EQ(serial.IsOpened(), 0) << "an I/O error closes the port";
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.Errors().size() == 6; }, kWaitMs));
    Settle(100);
    EXPECT_EQ(receiver.Errors().last(), CommIoError);
    EXPECT_EQ(receiver.Errors().size(), 6);
    serial.InjectError(CommIoError);
    Settle(100);
    EXPECT_EQ(receiver.Errors().size(), 6) << "nothing is reported for a closed port";
}

TEST_F(OpenPty, RefusedParametersAreReportedAsWrongMode)
{
    ComParameter even;
    even.parity = 2; // a pseudo-terminal refuses even parity
    EXPECT_EQ(serial.SetComParameter(&even), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !receiver.Errors().isEmpty(); }, kWaitMs));
    EXPECT_EQ(receiver.Errors(), QList<qintptr>{CommModeError});
    EXPECT_EQ(serial.IsOpened(), 1);

    // The standard parameters are taken again without complaint.
    EXPECT_EQ(serial.SetStandardParameter(), 1);
    ASSERT_TRUE(pty.Write("ok"));
    ASSERT_EQ(serial.WaitForData(2, kWaitMs), 2);
    Settle(100);
    EXPECT_EQ(receiver.Errors().size(), 1);
}

TEST(SerialOpen, RefusedParametersAtOpenAreReportedAndThePortStaysOpen)
{
    PtyPair pty;
    CommReceiver receiver;
    CSerial serial;
    serial.SetPortName(pty.SlavePath());
    ComParameter even;
    even.parity = 2;
    serial.SetComParameter(&even);
    ASSERT_EQ(serial.Open(&receiver), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !receiver.Errors().isEmpty(); }, kWaitMs));
    EXPECT_EQ(receiver.Errors(), QList<qintptr>{CommModeError});
    serial.SendData("T", 1);
    EXPECT_EQ(pty.Read(1), "T");
}

TEST(SerialParameters, GetSetAndStandard)
{
    CSerial serial;
    ComParameter p;
    ASSERT_TRUE(serial.GetComParameter(&p));
    EXPECT_EQ(p, ComParameter::Standard());

    ComParameter user;
    user.baudRate = 19200;
    user.parity = 1;
    user.dataBits = 7;
    user.stopBits = 2;
    EXPECT_EQ(serial.SetComParameter(&user), 1);
    serial.GetComParameter(&p);
    EXPECT_EQ(p, user);

    ComParameter bad = user;
    bad.parity = 7;
    EXPECT_EQ(serial.SetComParameter(&bad), 0);
    EXPECT_EQ(serial.SetComParameter(nullptr), 0);
    serial.GetComParameter(&p);
    EXPECT_EQ(p, user) << "refused parameters leave the old ones";

    serial.SetStandardParameter();
    serial.GetComParameter(&p);
    EXPECT_EQ(p, ComParameter::Standard());
    EXPECT_EQ(serial.GetComParameter(nullptr), 0);
}

TEST(SerialParameters, DialogHookEditsTheParameters)
{
    CSerial serial;
    ComParameter p;
    EXPECT_EQ(serial.ChangeComParameter(&p), 0) << "no dialog installed";

    CSerial::SetComParameterDialog([](ComParameter& edit) {
        edit.baudRate = 2400;
        edit.parity = 4;
        return true;
    });
    EXPECT_EQ(serial.ChangeComParameter(&p), 1);
    EXPECT_EQ(p.baudRate, 2400);
    EXPECT_EQ(p.parity, 4);
    ComParameter current;
    serial.GetComParameter(&current);
    EXPECT_EQ(current, p);

    CSerial::SetComParameterDialog([](ComParameter& edit) {
        edit.baudRate = 110;
        return false; // cancelled
    });
    EXPECT_EQ(serial.ChangeComParameter(&p), 0);
    EXPECT_EQ(p.baudRate, 2400);
    CSerial::SetComParameterDialog(nullptr);
}

TEST_F(OpenPty, ModemStatusChangesArePostedAndRead)
{
    unsigned long status = 0xFFFF;
    EXPECT_EQ(serial.GetCommModemStatus(&status), 0) << "a pseudo-terminal has no lines";
    EXPECT_EQ(status, 0u);

    serial.InjectModemStatus(CommModemCts | CommModemCarrier);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return receiver.Count(CommStatusChangedMessage()) == 1; }, kWaitMs));
    EXPECT_EQ(serial.GetCommModemStatus(&status), 1);
    EXPECT_EQ(status, 0x90u);

    serial.InjectModemStatus(CommModemCts | CommModemCarrier);
    Settle(100);
    EXPECT_EQ(receiver.Count(CommStatusChangedMessage()), 1) << "no change, no message";

    serial.InjectModemStatus(CommModemDsr);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return receiver.Count(CommStatusChangedMessage()) == 2; }, kWaitMs));
    serial.GetCommModemStatus(&status);
    EXPECT_EQ(status, 0x20u);
    EXPECT_EQ(serial.GetCommModemStatus(nullptr), 0);
}

TEST_F(OpenPty, ModemLinesRefusedByThePseudoTerminalUnlessInjected)
{
    EXPECT_EQ(serial.SetDTR(), 0);
    EXPECT_EQ(serial.SetRTS(), 0);
    EXPECT_EQ(serial.ModemControlState(), 0u);
    Settle(50);
    EXPECT_TRUE(receiver.Errors().isEmpty()) << "a refused line is no port error";
    EXPECT_EQ(serial.IsOpened(), 1);

    serial.InjectModemControl(true);
    EXPECT_EQ(serial.SetDTR(), 1);
    EXPECT_EQ(serial.ModemControlState(), 1u);
    EXPECT_EQ(serial.SetRTS(), 1);
    EXPECT_EQ(serial.ModemControlState(), 3u);
    EXPECT_EQ(serial.ClearDTR(), 1);
    EXPECT_EQ(serial.ModemControlState(), 2u);
    EXPECT_EQ(serial.ClearRTS(), 1);
    EXPECT_EQ(serial.ModemControlState(), 0u);

    serial.InjectModemControl(false);
    EXPECT_EQ(serial.SetDTR(), 0);
    EXPECT_EQ(serial.ModemControlState(), 0u);
}

TEST(SerialModemLines, WishesOfAClosedPortAreKeptForTheNextOpen)
{
    PtyPair pty;
    CommReceiver receiver;
    CSerial serial;
    serial.SetPortName(pty.SlavePath());
    EXPECT_EQ(serial.SetDTR(), 1);
    EXPECT_EQ(serial.SetRTS(), 1);
    EXPECT_EQ(serial.ClearDTR(), 1);
    EXPECT_EQ(serial.ModemControlState(), 2u);
    // The pseudo-terminal refuses the lines at Open; that is no port error.
    ASSERT_EQ(serial.Open(&receiver), 1);
    Settle(50);
    EXPECT_TRUE(receiver.Errors().isEmpty());
    EXPECT_EQ(serial.IsOpened(), 1);
}

TEST(SerialThreads, WorkerThreadExchangesEchoesWhileTheMainThreadIsBlocked)
{
    PtyPair pty;
    CommReceiver receiver;
    CSerial serial;
    serial.SetPortName(pty.SlavePath());
    ASSERT_TRUE(serial.Open(&receiver));

    const QByteArray all = AllByteValues();
    std::atomic<bool> stop{false};
    std::thread peer([&] {
        // The far end echoes every byte.
        while (!stop) {
            const QByteArray b = pty.Read(1, 20);
            if (!b.isEmpty())
                pty.Write(b);
        }
    });
    QByteArray echoed;
    std::thread sender([&] {
        for (int round = 0; round < 4; ++round) {
            for (char c : all) {
                serial.SendData(&c, 1);
                if (serial.WaitForData(1, kWaitMs) < 1)
                    return;
                char back = 0;
                serial.ReadData(&back, 1);
                echoed.append(back);
            }
        }
    });
    // No events are processed on this thread until the exchange is over.
    sender.join();
    stop = true;
    peer.join();
    EXPECT_EQ(echoed, all + all + all + all);
}

TEST(SerialThreads, ManyThreadsSendWithoutLosingBytes)
{
    PtyPair pty;
    CommReceiver receiver;
    CSerial serial;
    serial.SetPortName(pty.SlavePath());
    ASSERT_TRUE(serial.Open(&receiver));
    std::thread a([&] {
        for (int i = 0; i < 500; ++i)
            serial.SendData("a", 1);
    });
    std::thread b([&] {
        for (int i = 0; i < 500; ++i)
            serial.SendData("b", 1);
    });
    a.join();
    b.join();
    const QByteArray got = pty.Read(1000);
    EXPECT_EQ(got.size(), 1000);
    EXPECT_EQ(got.count('a'), 500);
    EXPECT_EQ(got.count('b'), 500);
}
