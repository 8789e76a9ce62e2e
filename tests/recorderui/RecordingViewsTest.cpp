// The two trace views on a real recording through a pseudo-terminal: list files opened or
// dropped while it runs, the list partner paths, the session closed while recording, and the
// scrolling under many lines.
#include "CLineprobeDoc.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMessageRecorder.h"
#include "CRecordingSession.h"
#include "PtyPair.h"

// Qt
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QList<QByteArray> Items(const CTraceListView& view)
{
    QList<QByteArray> items;
    for (int i = 0; i < view.ItemCount(); ++i)
        items.append(view.ItemText(i));
    return items;
}

class RecordingViewsTest : public ::testing::Test
{
protected:
    RecordingViewsTest()
    {
        doc.SetClock([] { return QDateTime(QDate(2001, 3, 6), QTime(9, 5, 3, 42)); });
        ascii = new CLineprobeView(*session);
        hex = new CLineprobeHexView(*session);
        session->Control().Serial().SetPortName(pty.SlavePath());
        ascii->resize(400, 200);
        hex->resize(400, 200);
        ascii->show();
        hex->show();
    }
    ~RecordingViewsTest() override
    {
        delete ascii;
        delete hex;
    }

    // A recording of a NOTIFIER panel (line-feed rule) into name, with one line received.
    void Record(const QString& name, const QByteArray& line)
    {
        messages.FileNext(dir.filePath(name));
        session->Control().OnStartRecording();
        ASSERT_TRUE(doc.recordingFlag);
        ASSERT_EQ(pty.Read(1), "T");
        QByteArray id(32, 'x');
        id.replace(0, 2, "NF");
        ASSERT_TRUE(pty.Write(id));
        ASSERT_TRUE(QTest::qWaitFor([&] { return session->PanelCode() == 13; }, 10000));
        ASSERT_EQ(pty.Read(1), "S");
        ASSERT_TRUE(pty.Write(line));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return hex->ItemCount() > 0 && Items(*ascii).contains(line); }, 10000));
    }

    static bool Drop(QWidget* target, const QString& path)
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        return enter.isAccepted();
    }

    CMessageRecorder messages;
    QTemporaryDir dir;
    PtyPair pty;
    CLineprobeDoc doc;
    std::unique_ptr<CRecordingSession> session = std::make_unique<CRecordingSession>(doc);
    CLineprobeView* ascii;
    CLineprobeHexView* hex;
};

} // namespace

TEST_F(RecordingViewsTest, AFileDroppedDuringARecordingStopsItBeforeTheTracePathChanges)
{
    Record("rec.tds", "Alarm 1\r\n");
    const QString other = dir.filePath("other");
    WriteFile(other + ".tvs", "    Alt\r\n");
    WriteFile(other + ".tvh", "    41 6C 74 \r\n");

    ASSERT_TRUE(Drop(ascii->viewport(), other + ".tvs"));
    EXPECT_EQ(pty.Read(1), "H");
    EXPECT_FALSE(doc.recordingFlag);
    // The recording's own lists beside its own trace; the dropped files untouched and shown.
    EXPECT_TRUE(ReadFile(dir.filePath("rec.tvs")).contains("    Alarm 1\r\n\r\n"));
    EXPECT_TRUE(ReadFile(dir.filePath("rec.tvh")).contains("    41 6C 61 72 6D 20 31 0D 0A \r\n"));
    EXPECT_TRUE(ReadFile(dir.filePath("rec.ts")).endsWith(QByteArray(46, '-')));
    EXPECT_EQ(ReadFile(other + ".tvs"), "    Alt\r\n");
    EXPECT_EQ(ReadFile(other + ".tvh"), "    41 6C 74 \r\n");
    EXPECT_EQ(doc.tracePath, other + ".tvs");
    EXPECT_EQ(Items(*ascii), QList<QByteArray>{"    Alt"});
    EXPECT_EQ(Items(*hex), QList<QByteArray>{"    41 6C 74 "});
    EXPECT_TRUE(messages.Boxes().isEmpty()) << messages.Texts().join('|').toStdString();
}

TEST_F(RecordingViewsTest, OpeningAListStopsTheRecordingFirst)
{
    Record("rec2.tds", "Alarm 2\r\n");
    const QString other = dir.filePath("open");
    WriteFile(other + ".tvs", "    A\r\n");
    WriteFile(other + ".tvh", "    41 \r\n");
    messages.FileNext(other + ".tvs");
    session->OpenListFile();
    EXPECT_EQ(pty.Read(1), "H");
    EXPECT_TRUE(ReadFile(dir.filePath("rec2.tvs")).contains("    Alarm 2\r\n"));
    EXPECT_TRUE(QFile::exists(dir.filePath("rec2.tvh")));
    EXPECT_EQ(ReadFile(other + ".tvs"), "    A\r\n");
    EXPECT_EQ(Items(*ascii), QList<QByteArray>{"    A"});
    EXPECT_EQ(Items(*hex), QList<QByteArray>{"    41 "});
}

TEST_F(RecordingViewsTest, ClosingTheSessionWhileRecordingStopsFirst)
{
    Record("close.tds", "Alarm 3\r\n");
    // The views go first, as the window's do; the recording goes on until the session ends.
    delete ascii;
    delete hex;
    ascii = nullptr;
    hex = nullptr;
    EXPECT_TRUE(doc.recordingFlag);
    session.reset();
    EXPECT_EQ(pty.Read(1), "H");
    EXPECT_TRUE(ReadFile(dir.filePath("close.ts")).contains("Aufzeichnung beendet  : 06.03.01"));
    EXPECT_TRUE(ReadFile(dir.filePath("close.tvs")).contains("    Alarm 3\r\n"));
}

TEST_F(RecordingViewsTest, ASaveWhosePartnerListWouldBeTheSameFileIsRefused)
{
    Record("save.tds", "Alarm 4\r\n");
    const QString typed = dir.filePath("typed.tvh");
    messages.FileNext(typed);
    session->SaveLists(LineRules::View::Ascii);
    EXPECT_FALSE(QFile::exists(typed));
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_TRUE(messages.Boxes().first().text.contains("Endung .tvs"));
    // The same from the hex view for a .tvs name.
    messages.FileNext(dir.filePath("other.tvs"));
    session->SaveLists(LineRules::View::Hex);
    EXPECT_FALSE(QFile::exists(dir.filePath("other.tvs")));
    EXPECT_EQ(messages.Boxes().size(), 2);
    // A name with another extension gets its partner by extension, not by its last letter.
    messages.FileNext(dir.filePath("liste.txt"));
    session->SaveLists(LineRules::View::Ascii);
    EXPECT_TRUE(ReadFile(dir.filePath("liste.txt")).contains("    Alarm 4\r\n"));
    EXPECT_TRUE(
        ReadFile(dir.filePath("liste.tvh")).contains("    41 6C 61 72 6D 20 34 0D 0A \r\n"));
    EXPECT_TRUE(doc.recordingFlag); // saving did not end the recording
}

TEST_F(RecordingViewsTest, ManyLinesScrollOnceInTheNextTurnOfTheEventLoop)
{
    session->TakePanelCode(9);
    QApplication::processEvents();
    QScrollBar* bar = ascii->verticalScrollBar();
    for (int i = 0; i < 500; ++i)
        session->ShowChunk("Zeile " + QByteArray::number(i) + "\n");
    EXPECT_EQ(hex->ItemCount(), 500);
    EXPECT_EQ(bar->value(), 0); // nothing scrolled per line
    QApplication::processEvents();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}
