// The files of a recording that the views read back from: the list files grow with the
// recording and end as the stop writes them, and a .ts lost under the recording ends it.
#include "PtyPair.h"
#include "RecordingFixture.h"

#include "ListFile.h"

// Qt
#include <QFileInfo>

namespace {

using End = CRecordingControl::End;
using LineRules::View;

class TraceFileRecordingTest : public RecordingFixture
{
protected:
    TraceFileRecordingTest()
    {
        rec.Serial().SetPortName(pty.SlavePath());
        options.expertMode = true;
        options.lines.lineLength = 10;
    }
    // Sends bytes and waits until the .ts holds all of them.
    void Send(const QByteArray& bytes)
    {
        const qint64 before = QFileInfo(dir.filePath("run.ts")).size();
        ASSERT_TRUE(pty.Write(bytes));
        ASSERT_TRUE(WaitFor(
            [&] { return QFileInfo(dir.filePath("run.ts")).size() >= before + bytes.size(); }));
    }

    PtyPair pty;
};

} // namespace

TEST_F(TraceFileRecordingTest, ListsGrownWhileRecordingAreWhatTheStopWouldWrite)
{
    for (const QString& e : {"tvs", "tvh"})
        ASSERT_TRUE(CDurableFile::WriteWhole(dir.filePath("run." + e), "earlier"));
    StartSaving("run.tds");
    ASSERT_TRUE(rec.IsRecording());
    // Three megabytes, far more than the store's cache: the early lines come back from the .ts.
    QByteArray flood(3 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < flood.size(); ++i)
        flood[i] = char((i * 7 + i / 251) & 0xFF);
    for (qsizetype at = 0; at < flood.size(); at += 100003)
        Send(flood.mid(at, 100003));
    // Until the stop, the lists of the same name stay as they were.
    EXPECT_EQ(ReadFile(dir.filePath("run.tvs")), "earlier");
    rec.OnStopRecording();
    EXPECT_EQ(endings, QList<End>{End::Stopped});
    EXPECT_FALSE(rec.SaveFailed());
    for (const View view : {View::Ascii, View::Hex}) {
        const QString again = dir.filePath("again." + CRecordingSession::Extension(view));
        ASSERT_TRUE(session.WriteList(view, again));
        const QByteArray grown =
            ReadFile(dir.filePath("run." + CRecordingSession::Extension(view)));
        EXPECT_GT(grown.size(), flood.size());
        EXPECT_TRUE(grown == ReadFile(again)) << int(view);
    }
    EXPECT_TRUE(ReadFile(dir.filePath("run.ts")).contains(flood));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 8) << "no temporary file left";
}

TEST_F(TraceFileRecordingTest, ATraceDeletedOrShortenedUnderTheRecordingEndsIt)
{
    struct Case
    {
        const char* name;
        bool deleted;
    };
    for (const Case c : {Case{"deleted", true}, Case{"gekürzt", false}}) {
        SCOPED_TRACE(c.name);
        endings.clear();
        messages.Clear();
        StartSaving("run.tds");
        Send("0123456789abcdefghij");
        const QString ts = dir.filePath("run.ts");
        if (c.deleted)
            ASSERT_TRUE(QFile::remove(ts));
        else
            ASSERT_TRUE(QFile::resize(ts, 10));
        ASSERT_TRUE(pty.Write("klmnopqrstuvwxyz"));
        ASSERT_TRUE(WaitFor([&] { return !rec.IsRecording(); }));
        EXPECT_EQ(endings, QList<End>{End::TraceLost});
        EXPECT_TRUE(rec.SaveFailed());
        ASSERT_EQ(messages.Texts().size(), 1);
        EXPECT_EQ(messages.Texts().first(),
                  QStringLiteral("Die Trace-Datei %1 wurde während der Aufnahme %2. Die "
                                 "Aufnahme wurde beendet.")
                      .arg(QFileInfo(ts).absoluteFilePath(),
                           c.deleted ? QStringLiteral("gelöscht") : QStringLiteral("gekürzt")));
        // What was shown before stays readable, and the lists end with the footer.
        EXPECT_TRUE(AsciiItems().contains("0123456789"));
        EXPECT_TRUE(HexItems().contains("61 62 63 64 65 66 67 68 69 6A "));
        EXPECT_TRUE(ReadFile(dir.filePath("run.tvs")).contains("    abcdefghij\r\n"));
        EXPECT_TRUE(ReadFile(dir.filePath("run.tvh")).endsWith(QByteArray(46, '-') + "\r\n"));
    }
}
