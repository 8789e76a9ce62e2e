// Searching 1,000,000 lines of a recording, next to rendering the same lines once. Run by
// hand: bench_search
// The lines come from the line-feed rule over chunks of 1013 bytes, as a recording has them;
// one line in 10,000 holds "Störung" and the bytes 10 02.
#include "CLineIndex.h"
#include "CLineprobeDoc.h"
#include "CMessageRecorder.h"
#include "CRecordingSession.h"
#include "CTraceSearch.h"

// Qt
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

const qsizetype Lines = 1000000;

double Seconds(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e9;
}

void SearchRun(const char* name, const CLineIndex& lines, LineRules::View view,
               const CTraceSearch::Query& query, double renderSeconds)
{
    CTraceSearch search;
    QElapsedTimer timer;
    timer.start();
    search.Start(lines, view, query);
    // In the steps the window takes, so the figure includes them.
    while (!search.Continue(100000)) {
    }
    const double s = Seconds(timer);
    std::printf("  %-34s %7.3f s  %6zu matches  (%.2f x rendering)\n", name, s,
                search.Matches().size(), s / renderSeconds);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CMessageRecorder messages;
    CLineprobeDoc doc;
    CRecordingSession session(doc);
    session.TakePanelCode(9); // line-feed rule

    QByteArray traffic;
    for (qsizetype i = 0; i < Lines; ++i) {
        if (i % 10000 == 5000)
            traffic += "Linie 12 St\xF6rung \x10\x02 Melder " + QByteArray::number(i) + "\n";
        else
            traffic += "Linie " + QByteArray::number(i % 97) + " Ruhe Melder " +
                       QByteArray::number(i) + "\n";
    }
    for (qsizetype at = 0; at < traffic.size(); at += 1013)
        session.ShowChunk(traffic.mid(at, 1013));

    for (LineRules::View view : {LineRules::View::Ascii, LineRules::View::Hex}) {
        const CLineIndex& lines = session.Lines(view);
        QElapsedTimer timer;
        timer.start();
        qsizetype chars = 0;
        for (qsizetype row = 0; row < lines.Count(); ++row)
            chars += lines.At(row).size();
        const double render = Seconds(timer);
        std::printf("%s view: %lld lines, %lld characters\n",
                    view == LineRules::View::Ascii ? "ASCII" : "Hex",
                    static_cast<long long>(lines.Count()), static_cast<long long>(chars));
        std::printf("  %-34s %7.3f s\n", "rendering every line once", render);
        if (view == LineRules::View::Ascii) {
            SearchRun("text \"Störung\"", lines, view,
                      {CTraceSearch::Query::Text, "St\xF6rung", false}, render);
            SearchRun("text \"STÖRUNG\", case ignored", lines, view,
                      {CTraceSearch::Query::Text, "ST\xD6RUNG", true}, render);
        }
        SearchRun("bytes 10 02", lines, view, {CTraceSearch::Query::Hex, "\x10\x02", false},
                  render);
    }
    return 0;
}
