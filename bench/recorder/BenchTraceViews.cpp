// Both trace views under load, each figure next to its reference from the same run. Run by
// hand: QT_QPA_PLATFORM=offscreen bench_traceviews [--mode NAME]
//   mixed     1,000,000 lines of mixed chunks: time and memory per received byte
//   lines10   lines of 10 bytes (line-feed rule): memory per received byte
//   lines1    lines of 1 byte in both views (high-bit rule): memory per received byte
//   text10, text1  the same lines kept as texts (the rules' text form), as reference
//   chunks    time per appended chunk at 100,000 and at 1,000,000 rows
//   listfile  loading a list file of 1,000,000 lines, next to reading the file
//   open      the lists of a recording of 64 MB in 10-byte lines (LINEPROBE_BENCH_MB for
//             more): opening both and selecting the last line (the other view follows),
//             next to a plain read of both files (LINEPROBE_BENCH_LISTS=BASE keeps them)
//   show      both views side by side with a header, marked and plain lines and a
//             selection, for 30 seconds (to look at them)
// Without --mode every mode runs in a process of its own, so that memory figures do not mix.
#include "BenchMemory.h"
#include "CLineprobeDoc.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMessageRecorder.h"
#include "CRecordingSession.h"
#include "CTraceLines.h"
#include "LineRules.h"

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

// The two views as the program has them, shown (offscreen), over one recording session.
struct Views
{
    explicit Views(int panelCode)
    {
        ascii.resize(800, 400);
        hex.resize(800, 400);
        ascii.show();
        hex.show();
        session.TakePanelCode(panelCode);
        QApplication::processEvents();
    }
    void Receive(const QByteArray& chunk) { session.ShowChunk(chunk); }
    qsizetype StructureBytes() const
    {
        return qsizetype(session.ReceivedBytes().MemoryBytes()) +
               session.Lines(LineRules::View::Ascii).MemoryBytes() +
               session.Lines(LineRules::View::Hex).MemoryBytes();
    }

    CMessageRecorder messages;
    CLineprobeDoc doc;
    CRecordingSession session{doc};
    CLineprobeView ascii{session};
    CLineprobeHexView hex{session};
};

// Chunks of 1013 bytes cut from a run of lines; each call gives the next chunk.
class ChunkSource
{
public:
    explicit ChunkSource(QByteArray pattern) : m_pattern(pattern + pattern) {}
    QByteArray Next(int size)
    {
        const qsizetype half = m_pattern.size() / 2;
        const QByteArray chunk = m_pattern.mid(m_at, size);
        m_at = (m_at + size) % half;
        return chunk;
    }

private:
    QByteArray m_pattern;
    qsizetype m_at = 0;
};

QByteArray TenByteLines()
{
    QByteArray pattern;
    for (int i = 0; i < 997; ++i)
        pattern += "Z" + QByteArray::number(1000000 + i * 7919 % 1000000).right(7) + "\r\n";
    return pattern;
}

QByteArray OneByteLines()
{
    QByteArray pattern;
    for (int i = 0; i < 1999; ++i)
        pattern += char(i % 2 ? 0xC1 + i % 13 : 0x41 + i % 13);
    return pattern;
}

void MemoryRun(const char* name, int panelCode, const QByteArray& pattern, qint64 total)
{
    Views views(panelCode);
    ChunkSource source(pattern);
    const long rssBefore = RssKilobytes();
    QElapsedTimer timer;
    timer.start();
    qint64 bytes = 0;
    int chunks = 0;
    while (bytes < total) {
        const QByteArray chunk = source.Next(1013);
        views.Receive(chunk);
        bytes += chunk.size();
        if (++chunks % 50 == 0)
            QApplication::processEvents();
    }
    QApplication::processEvents();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const long rssAfter = RssKilobytes();
    std::printf("%s: %lld bytes received, rows: ascii %d, hex %d\n", name,
                static_cast<long long>(bytes), views.ascii.ItemCount(), views.hex.ItemCount());
    std::printf("  both views: %.2f bytes per received byte (resident growth), %.2f (store and "
                "indexes)\n",
                (rssAfter - rssBefore) * 1024.0 / bytes, double(views.StructureBytes()) / bytes);
    std::printf("  time: %.1f ns per received byte for both views\n", seconds * 1e9 / bytes);
}

void TextRun(const char* name, const QByteArray& pattern, LineRules::Rule rule, qint64 total)
{
    ChunkSource source(pattern);
    CTraceLines ascii, hex;
    const long rssBefore = RssKilobytes();
    qint64 bytes = 0;
    while (bytes < total) {
        const QByteArray chunk = source.Next(1013);
        LineRules::AppendChunk(ascii, LineRules::View::Ascii, rule, {}, chunk);
        LineRules::AppendChunk(hex, LineRules::View::Hex, rule, {}, chunk);
        bytes += chunk.size();
    }
    const long rssAfter = RssKilobytes();
    std::printf("%s (reference: the same lines kept as texts, no widget): %lld rows each\n", name,
                static_cast<long long>(ascii.Count()));
    std::printf("  %.2f bytes per received byte (resident growth), %.2f (texts and offsets)\n",
                (rssAfter - rssBefore) * 1024.0 / bytes,
                double(ascii.MemoryBytes() + hex.MemoryBytes()) / bytes);
}

void Mixed()
{
    Views views(5);
    // Plain and marked runs of varying length, split over chunks at awkward places.
    QByteArray pattern;
    for (int i = 0; i < 64; ++i) {
        pattern += QByteArray(5 + i % 17, char('A' + i % 26));
        pattern += QByteArray(3 + i % 11, char(0xC1 + i % 20));
    }
    const long rssBefore = RssKilobytes();
    QElapsedTimer timer;
    timer.start();
    qint64 bytes = 0;
    int chunkIndex = 0;
    while (views.ascii.ItemCount() < 1000000) {
        const int size = 100 + (chunkIndex * 37) % 900;
        const int start = (chunkIndex * 13) % int(pattern.size());
        QByteArray chunk = (pattern + pattern).mid(start, size);
        views.Receive(chunk);
        bytes += chunk.size();
        if (++chunkIndex % 200 == 0)
            QApplication::processEvents();
    }
    QApplication::processEvents();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const long rssAfter = RssKilobytes();
    std::printf("mixed: lines: ascii %d, hex %d; received bytes: %lld; chunks: %d\n",
                views.ascii.ItemCount(), views.hex.ItemCount(), static_cast<long long>(bytes),
                chunkIndex);
    std::printf("  time: %.2f s, %.1f ns per received byte\n", seconds, seconds * 1e9 / bytes);
    std::printf("  memory: %.1f MB resident growth, %.2f bytes per received byte\n",
                (rssAfter - rssBefore) / 1024.0, (rssAfter - rssBefore) * 1024.0 / bytes);
}

// Microseconds per chunk of 100 bytes (10 lines), with one turn of the event loop after each
// chunk (a scroll and a paint every time) and without.
void TimeChunks(Views& views, ChunkSource& source, const char* at)
{
    const int count = 3000;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        views.Receive(source.Next(100));
        QApplication::processEvents();
    }
    const double withTurn = timer.nsecsElapsed() / 1e3 / count;
    timer.restart();
    for (int i = 0; i < count; ++i)
        views.Receive(source.Next(100));
    QApplication::processEvents();
    const double appendOnly = timer.nsecsElapsed() / 1e3 / count;
    std::printf("  at %s rows: %.1f us per chunk with a scroll and paint each, %.1f us per "
                "chunk appended alone\n",
                at, withTurn, appendOnly);
}

void Chunks()
{
    Views views(9);
    ChunkSource source(TenByteLines());
    std::printf("chunks: 100 bytes (10 lines) each, both views\n");
    while (views.ascii.ItemCount() < 100000)
        views.Receive(source.Next(1000));
    QApplication::processEvents();
    TimeChunks(views, source, "100,000");
    while (views.ascii.ItemCount() < 1000000)
        views.Receive(source.Next(1000));
    QApplication::processEvents();
    TimeChunks(views, source, "1,000,000");
}

void LoadListFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.tvs"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return;
        QByteArray block;
        for (int i = 0; i < 1000000; ++i) {
            block += "    Zeile " + QByteArray::number(i) + ": Meldergruppe 0815 ausgelöst\r\n";
            if (block.size() > (1 << 20)) {
                f.write(block);
                block.clear();
            }
        }
        f.write(block);
    }
    QByteArray warm;
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        warm = f.readAll(); // into the page cache
    }
    QElapsedTimer timer;
    timer.start();
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray all = f.readAll();
    const double readMs = timer.nsecsElapsed() / 1e6;

    Views views(9);
    views.doc.tracePath = path;
    timer.restart();
    views.session.LoadList(LineRules::View::Ascii);
    const double loadMs = timer.nsecsElapsed() / 1e6;
    timer.restart();
    QApplication::processEvents();
    const double paintMs = timer.nsecsElapsed() / 1e6;
    std::printf("listfile: %d lines, %.1f MB\n", views.ascii.ItemCount(), all.size() / 1e6);
    std::printf("  load into the ASCII view: %.0f ms (then %.0f ms to show); plain read of the "
                "file: %.0f ms\n",
                loadMs, paintMs, readMs);
}

// The .tvs and .tvh of megabytes received in 10-byte lines, as a stop writes them.
void WriteLists(const QString& base, qint64 megabytes)
{
    QFile tvs(base + QStringLiteral(".tvs")), tvh(base + QStringLiteral(".tvh"));
    if (!tvs.open(QIODevice::WriteOnly) || !tvh.open(QIODevice::WriteOnly))
        return;
    QByteArray a, h;
    const qint64 lines = (megabytes << 20) / 10;
    for (qint64 i = 0; i < lines; ++i) {
        const QByteArray line = QByteArray::number(1000000000 + i % 1000000000).right(10);
        a += "    " + line + "\r\n";
        h += "    " + line.toHex(' ').toUpper() + " \r\n";
        if (h.size() > (4 << 20)) {
            tvs.write(a);
            tvh.write(h);
            a.clear();
            h.clear();
        }
    }
    tvs.write(a);
    tvh.write(h);
}

double PlainRead(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    QByteArray block(4 << 20, Qt::Uninitialized);
    while (f.read(block.data(), block.size()) > 0) {
    }
    return timer.nsecsElapsed() / 1e9;
}

void OpenLists()
{
    const qint64 fromEnv = qEnvironmentVariableIntValue("LINEPROBE_BENCH_MB");
    const qint64 megabytes = fromEnv > 0 ? fromEnv : 64;
    QTemporaryDir dir;
    // LINEPROBE_BENCH_LISTS names the base of lists written before (kept between runs).
    const QString kept = qEnvironmentVariable("LINEPROBE_BENCH_LISTS");
    const QString base = kept.isEmpty() ? dir.filePath(QStringLiteral("week")) : kept;
    if (!QFile::exists(base + QStringLiteral(".tvh")))
        WriteLists(base, megabytes);
    const double read =
        PlainRead(base + QStringLiteral(".tvs")) + PlainRead(base + QStringLiteral(".tvh"));

    {
        // The indexing alone, without the views, one list after the other.
        CMessageRecorder quiet;
        CLineprobeDoc doc;
        CRecordingSession session(doc);
        doc.tracePath = base + QStringLiteral(".tvs");
        QElapsedTimer alone;
        alone.start();
        session.LoadList(LineRules::View::Ascii);
        session.LoadList(LineRules::View::Hex);
        std::printf("  indexing both lists one after the other, without views: %.2f s\n",
                    alone.nsecsElapsed() / 1e9);
    }
    Views views(1);
    const long before = RssKilobytes();
    QElapsedTimer timer;
    timer.start();
    views.session.OpenList(base + QStringLiteral(".tvs"));
    const double opened = timer.nsecsElapsed() / 1e9;
    const int last = views.ascii.ItemCount() - 1;
    views.ascii.selectRow(last);
    QApplication::processEvents();
    const double shown = timer.nsecsElapsed() / 1e9;
    std::printf("open: lists of %lld MB received in 10-byte lines (%.0f MB .tvs, %.0f MB .tvh)\n",
                static_cast<long long>(megabytes), QFile(base + ".tvs").size() / 1e6,
                QFile(base + ".tvh").size() / 1e6);
    std::printf("  open both lists: %.2f s; with the last line selected in both views: %.2f s "
                "(hex view at row %d of %d)\n",
                opened, shown, views.hex.currentIndex().row(), views.hex.ItemCount());
    std::printf("  plain read of both files: %.2f s; memory: %.0f MB resident growth\n", read,
                (RssKilobytes() - before) / 1024.0);
}

void Show()
{
    Views views(5);
    views.ascii.move(0, 0);
    views.hex.move(640, 0);
    views.ascii.resize(630, 500);
    views.hex.resize(630, 500);
    views.session.ShowTextLines("----------------------------------------------\r\n\r\n"
                                "Hersteller: BOSCH\r\n\r\n");
    ChunkSource source(OneByteLines());
    for (int i = 0; i < 100000; ++i)
        views.Receive(QByteArray("Feuer MG ") + QByteArray::number(i % 300) +
                      QByteArray(3, char(0xC1 + i % 20)));
    views.session.ShowErrorText("Overrun Error");
    views.ascii.selectRow(views.ascii.ItemCount() - 20);
    QTimer::singleShot(30000, qApp, &QCoreApplication::quit);
    QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QStringLiteral("--mode")));
    if (at < 0 || at + 1 >= args.size()) {
        for (const char* mode :
             {"mixed", "lines10", "text10", "lines1", "text1", "chunks", "listfile", "open"}) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(app.applicationFilePath(), {QStringLiteral("--mode"), mode});
            child.waitForFinished(-1);
        }
        return 0;
    }
    const QString mode = args.at(at + 1);
    const qint64 total = 30 * 1000 * 1000;
    if (mode == QLatin1String("mixed"))
        Mixed();
    else if (mode == QLatin1String("lines10"))
        MemoryRun("lines10", 9, TenByteLines(), total);
    else if (mode == QLatin1String("text10"))
        TextRun("text10", TenByteLines(), LineRules::Rule::LineFeed, total);
    else if (mode == QLatin1String("lines1"))
        MemoryRun("lines1", 5, OneByteLines(), total / 3);
    else if (mode == QLatin1String("text1"))
        TextRun("text1", OneByteLines(), LineRules::Rule::HighBit, total / 3);
    else if (mode == QLatin1String("chunks"))
        Chunks();
    else if (mode == QLatin1String("listfile"))
        LoadListFile();
    else if (mode == QLatin1String("open"))
        OpenLists();
    else if (mode == QLatin1String("show"))
        Show();
    std::fflush(stdout);
    return 0;
}
