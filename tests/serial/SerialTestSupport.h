#pragma once

#include "CSerial.h"
#include "CommReceiver.h"
#include "PtyPair.h"
#include "Settings.h"

// Qt
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QThread>

#include <gtest/gtest.h>

// Helpers of the serial tests.

// Generous bounds: the tests wait for events, they never time them.
constexpr int kWaitMs = 30000;

inline QByteArray AllByteValues()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    return all;
}

// Lets events run for a while, for checks that something does NOT happen.
inline void Settle(int ms = 200)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

inline QByteArray ReadAll(CSerial& serial)
{
    QByteArray bytes(serial.GetDataToRead(), '\0');
    const int n = serial.ReadData(bytes.data(), 0);
    bytes.resize(n);
    return bytes;
}

struct OpenPty : ::testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(pty.IsValid());
        serial.SetPortName(pty.SlavePath());
        ASSERT_TRUE(serial.Open(&receiver));
        ASSERT_TRUE(serial.IsOpened());
    }

    PtyPair pty;
    CommReceiver receiver;
    CSerial serial;
};

// Each run starts from empty settings of the program under test.
inline QString FreshProgram(const QString& program)
{
    QSettings(QString::fromLatin1(Settings::kMaker), program).clear();
    return program;
}
