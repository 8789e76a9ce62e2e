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

TEST(SerialPortNumber, OnlyOneToFourAreTaken)
{
    CSerial serial;
    EXPECT_EQ(serial.GetComPort(), 1);
    EXPECT_EQ(serial.SetComPort(3), 1);
    EXPECT_EQ(serial.GetComPort(), 3);
    EXPECT_EQ(serial.SetComPort(0), 0);
    EXPECT_EQ(serial.SetComPort(5), 0);
    EXPECT_EQ(serial.GetComPort(), 3);
}

TEST(SerialPortNumber, ChangeComPortUsesTheDialogHook)
{
    CSerial serial;
    serial.SetProgram(FreshProgram(QStringLiteral("PortHookTest")));
    EXPECT_EQ(serial.ChangeComPort(), 0) << "no dialog installed";
    QString program;
    CSerial::SetComPortDialog([&](int& port, const QString& p) {
        program = p;
        port = 4;
        return true;
    });
    EXPECT_EQ(serial.ChangeComPort(), 1);
    EXPECT_EQ(serial.GetComPort(), 4);
    EXPECT_EQ(program, "PortHookTest");
    CSerial::SetComPortDialog([](int& port, const QString&) {
        port = 2;
        return false;
    });
    EXPECT_EQ(serial.ChangeComPort(), 0);
    EXPECT_EQ(serial.GetComPort(), 4);
    CSerial::SetComPortDialog(nullptr);
}

TEST(SerialPortNumber, SettingsRoundTrip)
{
    const QString program = FreshProgram(QStringLiteral("SettingsRoundTrip"));
    {
        // Nothing stored: the view keeps the default and writes it back.
        CSerial serial;
        ComPortSettings::ReadComPort(serial, program);
        EXPECT_EQ(serial.GetComPort(), 1);
        ComPortSettings::WriteComPort(serial, program);
        EXPECT_EQ(Settings::GetProfileInt(program, "Settings", "ComPort", 0), 1);
    }
    {
        CSerial serial;
        serial.SetComPort(3);
        ComPortSettings::WriteComPort(serial, program);
        EXPECT_EQ(Settings::GetProfileInt(program, "Settings", "ComPort", 0), 3);
    }
    {
        CSerial serial;
        ComPortSettings::ReadComPort(serial, program);
        EXPECT_EQ(serial.GetComPort(), 3);
    }
    {
        // A stored value outside 1..4 is not taken and is replaced at the end.
        Settings::WriteProfileInt(program, "Settings", "ComPort", 7);
        CSerial serial;
        ComPortSettings::ReadComPort(serial, program);
        EXPECT_EQ(serial.GetComPort(), 1);
        ComPortSettings::WriteComPort(serial, program);
        EXPECT_EQ(Settings::GetProfileInt(program, "Settings", "ComPort", 0), 1);
    }
    EXPECT_EQ(Settings::GetProfileInt(QStringLiteral("OtherProgram"), "Settings", "ComPort", 0), 0)
        << "each program keeps its own number";
}

TEST(SerialPortNumber, DeviceMappingDefaultsAndOverrides)
{
    const QString program = FreshProgram(QStringLiteral("DeviceMapping"));
    EXPECT_EQ(ComPortSettings::Device(program, 1), "/dev/ttyS0");
    EXPECT_EQ(ComPortSettings::Device(program, 4), "/dev/ttyS3");
    EXPECT_EQ(ComPortSettings::Device(program, 5), QString());

    ComPortSettings::SetDevice(program, 2, QStringLiteral(" /dev/ttyUSB0 "));
    EXPECT_EQ(ComPortSettings::Device(program, 2), "/dev/ttyUSB0");
    EXPECT_EQ(ComPortSettings::Device(program, 1), "/dev/ttyS0");
    ComPortSettings::SetDevice(program, 2, QString());
    EXPECT_EQ(ComPortSettings::Device(program, 2), "/dev/ttyS1");

    CSerial serial;
    serial.SetProgram(program);
    serial.SetComPort(3);
    EXPECT_EQ(serial.PortName(), "/dev/ttyS2");
    serial.SetPortName(QStringLiteral("/dev/pts/99"));
    EXPECT_EQ(serial.PortName(), "/dev/pts/99") << "a named device wins over the mapping";
}

TEST(SerialPortNumber, EachProgramPassesItsOwnName)
{
    // No global default: the title the messages use is not the port settings' program.
    SetProgramTitle(QStringLiteral("Quillmark"));
    EXPECT_EQ(CSerial().Program(), QString());
    const CSerial lineprobe(QStringLiteral("Lineprobe"));
    EXPECT_EQ(lineprobe.Program(), "Lineprobe");
    const QString program = FreshProgram(QStringLiteral("OwnName"));
    ComPortSettings::SetDevice(program, 3, QStringLiteral("/dev/ttyUSB7"));
    CSerial serial(program);
    serial.SetComPort(3);
    EXPECT_EQ(serial.PortName(), "/dev/ttyUSB7");
    EXPECT_EQ(CSerial(serial).Program(), program) << "a copy keeps it";
}

TEST(SerialPortNumber, OpenGoesThroughTheMappingOfThePortNumber)
{
    const QString program = FreshProgram(QStringLiteral("MappedOpen"));
    PtyPair pty;
    ComPortSettings::SetDevice(program, 2, pty.SlavePath());
    CommReceiver receiver;
    CSerial serial;
    serial.SetProgram(program);
    serial.SetComPort(2);
    ASSERT_EQ(serial.Open(&receiver), 1);
    serial.SendData("T", 1);
    EXPECT_EQ(pty.Read(1), "T");
}

TEST(SerialCopy, CopiesTheConfigurationNotThePort)
{
    PtyPair pty;
    CommReceiver receiver;
    CSerial serial;
    serial.SetComPort(4);
    serial.SetPortName(pty.SlavePath());
    ComParameter p;
    p.baudRate = 4800;
    serial.SetComParameter(&p);
    ASSERT_TRUE(serial.Open(&receiver));

    CSerial copy;
    copy = serial;
    EXPECT_EQ(copy.GetComPort(), 4);
    EXPECT_EQ(copy.PortName(), pty.SlavePath());
    ComParameter q;
    copy.GetComParameter(&q);
    EXPECT_EQ(q.baudRate, 4800);
    EXPECT_EQ(copy.IsOpened(), 0);
    CSerial constructed(serial);
    EXPECT_EQ(constructed.GetComPort(), 4);
    EXPECT_EQ(constructed.IsOpened(), 0);
    EXPECT_EQ(serial.IsOpened(), 1);
}

TEST(SerialLifetime, DestroyingAnOpenPortWithMessagesInFlight)
{
    PtyPair pty;
    CommReceiver receiver;
    {
        CSerial serial;
        serial.SetPortName(pty.SlavePath());
        ASSERT_TRUE(serial.Open(&receiver));
        pty.Write("pending");
        serial.WaitForData(7, kWaitMs);
        serial.InjectError(CommBreakError);
    }
    // What the destroyed port had posted is dropped with it.
    Settle(100);
    EXPECT_TRUE(receiver.messages.isEmpty());
}

TEST_F(OpenPty, AFloodBeyondTheBufferHoldsTheWriterAndLosesNothing)
{
    QByteArray flood;
    for (int i = 0; flood.size() < 5 * (1 << 20) / 2; ++i) // 2.5 MiB, more than is kept
        flood += QByteArray::number(i) + ' ';
    std::thread writer([&] {
        for (qsizetype at = 0; at < flood.size(); at += 1 << 16)
            pty.Write(flood.mid(at, 1 << 16));
    });
    QByteArray got;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            got += ReadAll(serial);
            return got.size() >= flood.size();
        },
        kWaitMs));
    writer.join();
    EXPECT_TRUE(got == flood);
    EXPECT_TRUE(receiver.Errors().isEmpty());
}

TEST_F(OpenPty, ALineErrorKeepsItsPlaceBetweenTheBytes)
{
    ASSERT_TRUE(pty.Write("abc"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return serial.GetDataToRead() == 3; }, kWaitMs));
    serial.InjectError(CommFramingError); // counted after "abc"
    ASSERT_TRUE(pty.Write("def"));
    Settle();
    // A reader as the recorder is: the error's text, then what is pending.
    QByteArray log;
    receiver.handler = [&](const CommReceiver::Message& m) {
        if (m.type == CommErrorMessage())
            log += '|' + QByteArray::number(m.wParam) + '|';
        log += ReadAll(serial);
    };
    log += ReadAll(serial);
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.size() >= 9; }, kWaitMs));
    EXPECT_EQ(log, "abc|1|def");
}
