// Appends 1,000,000 lines of mixed chunks to both trace views and reports time and memory per
// received byte. Run by hand: QT_QPA_PLATFORM=offscreen bench_traceviews
#include "CLineprobeDoc.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMessageRecorder.h"

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace {

long RssKilobytes()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CMessageRecorder messages;
    CLineprobeDoc doc;
    CLineprobeView ascii(&doc);
    CLineprobeHexView hex(&doc);
    ascii.resize(800, 400);
    hex.resize(800, 400);
    ascii.show();
    hex.show();
    ascii.SetPanelCode(5);
    doc.UpdateAllViews(&ascii, HintPanelCode, 5);

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
    while (ascii.ItemCount() < 1000000) {
        const int size = 100 + (chunkIndex * 37) % 900;
        const int start = (chunkIndex * 13) % int(pattern.size());
        QByteArray chunk = (pattern + pattern).mid(start, size);
        ascii.AppendChunk(chunk);
        doc.UpdateAllViews(&ascii, HintChunk, chunk);
        bytes += chunk.size();
        if (++chunkIndex % 200 == 0)
            app.processEvents();
    }
    app.processEvents();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const long rssAfter = RssKilobytes();
    std::printf("lines: ascii %d, hex %d; received bytes: %lld; chunks: %d\n", ascii.ItemCount(),
                hex.ItemCount(), static_cast<long long>(bytes), chunkIndex);
    std::printf("time: %.2f s, %.1f ns per received byte\n", seconds, seconds * 1e9 / bytes);
    std::printf("memory: %.1f MB resident growth, %.1f bytes per received byte\n",
                (rssAfter - rssBefore) / 1024.0, (rssAfter - rssBefore) * 1024.0 / bytes);
    return 0;
}
