// The trace views over the shared store under the offscreen platform: one copy of the
// received bytes, one scroll per turn of the event loop, keys and clicks on the painted
// rows, big list files; and lineprobe-cli render over long chunks.
#include "CLineprobeDoc.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMessageRecorder.h"
#include "CRecordingSession.h"
#include "LineprobeCli.h"
#include "ListFile.h"

// Qt
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

class TraceViewStoreTest : public ::testing::Test
{
protected:
    TraceViewStoreTest()
    {
        SetProgramTitle(QStringLiteral("Lineprobe"));
        ascii = new CLineprobeView(session);
        hex = new CLineprobeHexView(session);
        ascii->resize(600, 300);
        hex->resize(600, 300);
        ascii->show();
        hex->show();
        QApplication::processEvents();
    }
    ~TraceViewStoreTest() override
    {
        delete ascii;
        delete hex;
    }
    void Receive(const QByteArray& chunk) { session.ShowChunk(chunk); }
    void SetPanel(int code) { session.TakePanelCode(code); }

    CMessageRecorder messages;
    CLineprobeDoc doc;
    CRecordingSession session{doc};
    CLineprobeView* ascii;
    CLineprobeHexView* hex;
    QTemporaryDir dir;
};

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST_F(TraceViewStoreTest, ReceivedBytesAreKeptOnceForBothViews)
{
    SetPanel(9);
    qsizetype received = 0;
    for (int i = 0; i < 300; ++i) {
        const QByteArray chunk = "line " + QByteArray::number(i) + "\r\n";
        Receive(chunk);
        received += chunk.size();
    }
    EXPECT_EQ(session.ReceivedBytes().Size(), quint64(received));
    EXPECT_EQ(ascii->ItemText(299), "line 299\r\n");
    EXPECT_EQ(hex->ItemText(0), "6C 69 6E 65 20 30 0D 0A ");

    // A start empties both lists, and the bytes go with them.
    session.ClearLists();
    EXPECT_EQ(session.ReceivedBytes().Size(), 0u);
    Receive("x");
    EXPECT_EQ(ascii->ItemText(0), "x");
    EXPECT_EQ(hex->ItemText(0), "78 ");
}

TEST_F(TraceViewStoreTest, ScrollsToTheEndOncePerTurnOfTheEventLoop)
{
    SetPanel(9);
    QSignalSpy moved(ascii->verticalScrollBar(), &QScrollBar::valueChanged);
    for (int i = 0; i < 2000; ++i)
        Receive(QByteArray::number(i) + "\n");
    EXPECT_EQ(moved.count(), 0) << "no scrolling while the chunks come in";
    QApplication::processEvents();
    EXPECT_EQ(moved.count(), 1);
    const QRect last = ascii->visualRect(ascii->model()->index(1999, 0));
    ASSERT_TRUE(last.isValid());
    EXPECT_GE(last.top(), 0);
    EXPECT_LE(last.bottom(), ascii->viewport()->height());
    EXPECT_EQ(ascii->indexAt(last.center()).row(), 1999);
    const QRect hexLast = hex->visualRect(hex->model()->index(1999, 0));
    ASSERT_TRUE(hexLast.isValid());
    EXPECT_GE(hexLast.top(), 0);
    EXPECT_LE(hexLast.bottom(), hex->viewport()->height());

    // Port error lines scroll the ASCII view too: the technician must see them.
    ascii->scrollToTop();
    QApplication::processEvents();
    session.ShowErrorText("Overrun Error");
    QApplication::processEvents();
    EXPECT_EQ(ascii->verticalScrollBar()->value(), ascii->verticalScrollBar()->maximum());
    EXPECT_EQ(ascii->verticalScrollBar()->maximum() +
                  ascii->viewport()->height() / ascii->RowHeight(),
              2002);
}

TEST_F(TraceViewStoreTest, KeysAndClicksSelectPaintedRowsInBothViews)
{
    SetPanel(5);
    for (int i = 0; i < 100; ++i)
        Receive(QByteArray("AB") + char(0xC1));
    QApplication::processEvents();
    ascii->setFocus();
    ascii->selectRow(10);
    EXPECT_EQ(hex->selectionModel()->selectedRows().first().row(), 10);
    QTest::keyClick(ascii, Qt::Key_Down);
    ASSERT_EQ(ascii->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(ascii->selectionModel()->selectedRows().first().row(), 11);
    EXPECT_EQ(hex->selectionModel()->selectedRows().first().row(), 11);
    QTest::keyClick(ascii, Qt::Key_End);
    EXPECT_EQ(hex->selectionModel()->selectedRows().first().row(), 199);
    QTest::keyClick(ascii, Qt::Key_Home);
    EXPECT_EQ(hex->selectionModel()->selectedRows().first().row(), 0);
    EXPECT_EQ(hex->verticalScrollBar()->value(), 0) << "the hex view scrolled row 0 into view";

    // Row 1 is a marked line: red on the screen; a click on row 3 selects it in both.
    QApplication::processEvents();
    const QImage image = ascii->viewport()->grab().toImage();
    const QRect row1 = ascii->visualRect(ascii->model()->index(1, 0));
    int red = 0;
    for (int y = row1.top(); y <= row1.bottom(); ++y)
        for (int x = row1.left(); x < qMin(row1.right(), image.width()); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_GT(red, 0);
    QTest::mouseClick(ascii->viewport(), Qt::LeftButton, {},
                      ascii->visualRect(ascii->model()->index(3, 0)).center());
    EXPECT_EQ(hex->selectionModel()->selectedRows().first().row(), 3);
}

TEST_F(TraceViewStoreTest, ABigListFileLoadsAsTextLines)
{
    const QString base = dir.filePath(QStringLiteral("big"));
    QByteArray tvs, tvh;
    for (int i = 0; i < 100000; ++i) {
        tvs += "    Zeile " + QByteArray::number(i) + "\r\n";
        tvh += "    41 42 \r\n";
    }
    QFile s(base + ".tvs"), h(base + ".tvh");
    ASSERT_TRUE(s.open(QIODevice::WriteOnly) && h.open(QIODevice::WriteOnly));
    s.write(tvs);
    h.write(tvh);
    s.close();
    h.close();
    // While the files are read, the views show and paint what they showed before.
    session.ShowTextLines("alt\r\n");
    const int before = ascii->ItemCount();
    QList<std::pair<qint64, qint64>> progress;
    session.SetLoadProgress(
        [&](qint64 read, qint64 total) {
            if (progress.isEmpty()) {
                EXPECT_EQ(ascii->ItemCount(), before);
                EXPECT_FALSE(ascii->viewport()->grab().isNull());
            }
            progress.append({read, total});
            QThread::msleep(1); // as the window waits for its events
        },
        0);
    messages.FileNext(base + ".tvs");
    session.OpenListFile();
    ASSERT_GE(progress.size(), 2);
    const qint64 total = tvs.size() + tvh.size();
    EXPECT_LT(progress.first().first, total);
    EXPECT_EQ(progress.last(), std::make_pair(total, total));
    ASSERT_EQ(ascii->ItemCount(), 100000);
    ASSERT_EQ(hex->ItemCount(), 100000);
    EXPECT_EQ(ascii->ItemText(99999), "    Zeile 99999");
    EXPECT_EQ(hex->ItemText(5), "    41 42 ");
    EXPECT_TRUE(messages.Texts().isEmpty());
    // Written back, every item gets four more blanks.
    ASSERT_TRUE(session.WriteList(LineRules::View::Ascii, base + "2.tvs"));
    const QByteArray again = ReadFile(base + "2.tvs");
    EXPECT_EQ(again.count("\r\n"), 100000);
    EXPECT_TRUE(again.endsWith("        Zeile 99999\r\n"));
}

TEST_F(TraceViewStoreTest, ListFilesAreIndexedWhereTheyLieAndReadAsLoadedIntoMemory)
{
    // Line ends doubled after an item that ended in CR LF, a lone CR, 0x00, lines cut at
    // their view's maximum, a rest without line end, and many lines over the index's pages.
    QByteArray content =
        "    a\r\n\r\n    b\r\rc\r\n" + QByteArray("x\0y\r\n", 5) + QByteArray(800, 'L') + "\r\n";
    for (int i = 0; i < 40000; ++i)
        content += "    " + QByteArray::number(i % 997) + "\r\n";
    content += "rest";
    const QString base = dir.filePath(QStringLiteral("tricky"));
    for (const char* e : {".tvs", ".tvh"}) {
        QFile f(base + e);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
    }
    ASSERT_TRUE(session.OpenList(base + ".tvs"));
    // The ASCII view last: a chunk comes after its lines.
    for (const LineRules::View view : {LineRules::View::Hex, LineRules::View::Ascii}) {
        const bool isAscii = view == LineRules::View::Ascii;
        CTraceLines memory;
        ASSERT_EQ(ListFile::Load(base + (isAscii ? ".tvs" : ".tvh"), isAscii, memory),
                  ListFile::LoadResult::Loaded);
        const CLineIndex& lines = session.Lines(view);
        ASSERT_EQ(lines.Count(), memory.Count());
        for (qsizetype i = 0; i < memory.Count(); ++i)
            ASSERT_EQ(lines.At(i), memory.At(i)) << int(view) << " row " << i;
        EXPECT_LT(lines.MemoryBytes() * 2, memory.MemoryBytes()) << "the lines stay in the file";
        if (!isAscii)
            continue;
        // Received bytes after the loaded lines go on below them as after lines in memory.
        CLineIndex reference;
        reference.Reset(std::move(memory));
        reference.AppendChunk(view, LineRules::Rule::LineFeed, LineRules::Settings(), "neu\r\n");
        SetPanel(9);
        Receive("neu\r\n");
        ASSERT_EQ(lines.Count(), reference.Count());
        EXPECT_EQ(lines.At(lines.Count() - 1), reference.At(lines.Count() - 1));
        EXPECT_EQ(lines.At(3), reference.At(3));
    }
    EXPECT_TRUE(messages.Texts().isEmpty());
}

TEST_F(TraceViewStoreTest, ListFileLinesReadTheSameWhereverAReadBlockEnds)
{
    // The first read block of 1 MiB ends at each byte of doubled and lone line ends in turn,
    // in a line cut at the maximum and in a rest without line end: the lines are those of the
    // same bytes read as a small file.
    const QByteArray tail = "    a\r\n\r\n    b\r\rc\r\n" + QByteArray(300, 'L') + "\r\nrest";
    const QString small = dir.filePath(QStringLiteral("small.tvs"));
    QFile f(small);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(tail) == tail.size());
    f.close();
    const QString base = dir.filePath(QStringLiteral("blocks"));
    std::vector<qsizetype> ends{150, tail.size() - 2};
    for (qsizetype k = 0; k <= 20; ++k)
        ends.push_back(k);
    for (const qsizetype k : ends) {
        // One line of m bytes, then lines of 16 bytes up to k bytes before the block's end.
        const qsizetype fill = (1 << 20) - k, m = (fill - 6) % 16, rows = (fill - 6 - m) / 16;
        const QByteArray content = "    " + QByteArray(m, 'f') + "\r\n" +
                                   QByteArray("    0123456789\r\n").repeated(rows) + tail;
        for (const char* e : {".tvs", ".tvh"}) {
            QFile list(base + e);
            ASSERT_TRUE(list.open(QIODevice::WriteOnly) && list.write(content) == content.size());
        }
        ASSERT_TRUE(session.OpenList(base + ".tvs"));
        for (const LineRules::View view : {LineRules::View::Ascii, LineRules::View::Hex}) {
            CTraceLines expected;
            ASSERT_EQ(ListFile::Load(small, view == LineRules::View::Ascii, expected),
                      ListFile::LoadResult::Loaded);
            const CLineIndex& lines = session.Lines(view);
            ASSERT_EQ(lines.Count(), 1 + rows + expected.Count()) << k;
            EXPECT_EQ(lines.At(rows), "    0123456789") << k;
            for (qsizetype i = 0; i < expected.Count(); ++i)
                ASSERT_EQ(lines.At(1 + rows + i), expected.At(i)) << int(view) << " " << k;
        }
    }
    EXPECT_TRUE(messages.Texts().isEmpty());
}

TEST(LineprobeCliPieces, LongChunksWithoutEndAreCutAsTheRecordingCutsThem)
{
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("long.tds"));
    QByteArray pairs;
    for (int i = 0; i < 100000; ++i)
        pairs += "\r\n";
    const QByteArray run(5000, 'x');
    QFile f(trace);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("    07.12.26, 10:00:00.001\r\n" + run + "\r\n\r\n");
    f.write("    07.12.26, 10:00:00.002\r\n" + pairs + "\r\n\r\n");
    f.close();
    CMessageRecorder messages;
    const QString base = dir.filePath(QStringLiteral("out"));
    ASSERT_EQ(LineprobeCli::Run({"render", trace, "--panel-code", "9", "--out", base}), 0);
    const QList<QByteArray> lines = ReadFile(base + ".tvs").split('\n');
    // 2048 + 2048 + 904 characters of x, the last continued by the first CR LF; then one
    // line per further CR LF. Items keep their first 254 characters.
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], "    " + QByteArray(254, 'x') + "\r");
    EXPECT_EQ(lines[2], "    " + QByteArray(254, 'x') + "\r");
    const QByteArray tvs = ReadFile(base + ".tvs");
    EXPECT_EQ(tvs.count("    \r\n\r\n"), 99999) << "each CR LF its own item";
    const QByteArray tvh = ReadFile(base + ".tvh");
    EXPECT_EQ(tvh.count("    0D 0A \r\n"), 99999);
}
