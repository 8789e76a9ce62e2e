#pragma once

#include "CCommandTable.h"
#include "CLineprobeDoc.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMainFrame.h"
#include "CMessageRecorder.h"
#include "CMessages.h"
#include "CRecordingSession.h"
#include "FatSimProcess.h"
#include "LineprobeCommands.h"

// Qt
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

// Readable failures for texts.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Lineprobe's real main window under the offscreen platform, with every message and file
// dialog answered by a recorder and, for recordings, a fatsim process on a pseudo-terminal.
class ShellTest : public ::testing::Test
{
protected:
    ShellTest() { SetProgramTitle(QStringLiteral("Lineprobe")); }
    ~ShellTest() override { delete frame; }

    void SetUp() override { Open(); }

    void Open(const QString& commandLine = QString())
    {
        delete frame;
        frame = new CMainFrame(commandLine);
        frame->OnFileNew();
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(WaitFor([this] { return QApplication::activeWindow() == frame; }));
        frame->Commands()->UpdateUi();
    }

    CLineprobeDoc* Doc() const { return frame->Doc(); }
    CRecordingControl* Recorder() const { return &frame->Session()->Control(); }
    QAction* Action(int id) const { return frame->Commands()->Action(id); }
    bool Enabled(int id) const
    {
        frame->Commands()->UpdateUi();
        return Action(id)->isEnabled();
    }

    static bool WaitFor(const std::function<bool()>& condition, int ms = 15000)
    {
        return QTest::qWaitFor(condition, ms);
    }

    // Opens a menu of the menu bar by its access key and picks an item by its access key.
    void MenuCommand(Qt::Key menuKey, Qt::Key itemKey)
    {
        // The offscreen platform leaves the closed popup as the active window.
        frame->activateWindow();
        ASSERT_TRUE(WaitFor([this] { return QApplication::activeWindow() == frame; }));
        // ... and without a focus widget, as a desktop would give back to the active child.
        if (!QApplication::focusWidget() && frame->MdiArea()->currentSubWindow())
            frame->MdiArea()->currentSubWindow()->widget()->setFocus();
        QTest::keyClick(frame, menuKey, Qt::AltModifier);
        QMenu* menu = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            return menu != nullptr;
        }));
        QTest::keyClick(menu, itemKey);
        ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
    }

    void Activate(QWidget* view)
    {
        QMdiSubWindow* sub = frame->ChildOf(view);
        ASSERT_NE(sub, nullptr);
        frame->MdiArea()->setActiveSubWindow(sub);
        ASSERT_EQ(frame->MdiArea()->currentSubWindow(), sub);
    }

    // A fatsim process as the FAT; the recording's port is its device.
    void StartFat(const QStringList& options = {})
    {
        ASSERT_FALSE(fat.Start(options).isEmpty()) << fat.ErrorOutput().toStdString();
        Recorder()->Serial().SetPortName(fat.Device());
    }

    // What the PC sent to fatsim, once its byte log (written whenever the line is idle) holds
    // expected or a generous time has passed; fatsim is stopped then.
    QByteArray PcBytesAfterStop(const QByteArray& expected)
    {
        WaitFor([&] { return fat.FromPc() == expected; }, 10000);
        fat.Stop();
        return fat.FromPc();
    }

    // Waits until the identification is in and the FAT has been told to send.
    bool WaitRecording()
    {
        return WaitFor([this] {
            return Doc()->recordingFlag == 1 &&
                   Recorder()->RecordingState() == CRecordingControl::Recording;
        });
    }

    static QByteArray ReadFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QStringList Items(const CTraceListView* view) const
    {
        QStringList out;
        for (int i = 0; i < view->ItemCount(); ++i)
            out.append(QString::fromLatin1(view->ItemText(i)));
        return out;
    }

    CMessageRecorder messages;
    QTemporaryDir dir;
    FatSimProcess fat{QStringLiteral(FATSIM_PATH)};
    CMainFrame* frame = nullptr;
};
