// Prints a project of 65,535 rows and a trace list of 100,000 lines to PDF and reports the
// time of each, of the page layouts alone and of the pagination alone. Run by hand:
//     build/bin/bench_print [--rows N] [--lines N] [--keep DIR]
#include "CLineprobeDoc.h"
#include "CLineprobeView.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "CRecordingSession.h"
#include "CTraceLines.h"
#include "PagePainter.h"
#include "ProjectPrintout.h"
#include "ProjectRules.h"
#include "TracePrintout.h"

// Qt
#include <QElapsedTimer>
#include <QFileInfo>
#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <cstring>

namespace {

// Wall time and the process's processor time: the machine is shared, so both are shown.
struct Stopwatch
{
    QElapsedTimer wall;
    std::clock_t cpu = 0;
    void Restart()
    {
        wall.restart();
        cpu = std::clock();
    }
    QByteArray Text() const
    {
        return QByteArray::number(wall.nsecsElapsed() / 1e9, 'f', 4) + " s (CPU " +
               QByteArray::number(double(std::clock() - cpu) / CLOCKS_PER_SEC, 'f', 4) + " s)";
    }
};

void MakeProject(CQuillmarkDoc& doc, int rows)
{
    ProjectData& d = doc.Data();
    std::memset(&d, 0, sizeof d);
    d.textFormat = FormatStandard;
    d.displayChars = 40;
    d.maxRecords = 65535;
    d.detectorDigits = 2;
    d.groupDigits = 5;
    d.pseudoGroupDigits = 5;
    d.panelType = 2;
    std::strncpy(d.panelId, "BO 1", sizeof d.panelId - 1);
    std::strncpy(d.coverPage[0], "Gewerbepark", sizeof d.coverPage[0] - 1);
    doc.SetupListColumns();
    MessageRecord rec;
    rec.formatTag = "S";
    for (int row = 0; row < rows; ++row) {
        rec.group = CRecordList::PadZeros(QByteArray::number(row / 99 + 1), 5);
        rec.detector = CRecordList::PadZeros(QByteArray::number(row % 99 + 1), 2);
        rec.text1 = "Halle " + QByteArray::number(row);
        rec.text2 = "Treppenhaus Nord";
        doc.Records().AddRecordAt(rec, row);
    }
}

// Mixed lines as a recording gives them: short ones, full ones, some longer than a line.
void MakeTrace(CTraceLines& lines, int count)
{
    const QByteArray pattern = "0123456789 ABCDEFGHIJ abcdefghij ";
    for (int i = 0; i < count; ++i) {
        const int length = (i % 10 == 0) ? 200 : (i % 3 == 0 ? 80 : 30);
        QByteArray line = "    " + QByteArray::number(i) + ' ';
        while (line.size() < length)
            line += pattern;
        lines.Append(line.left(length));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rows = 65535;
    int lineCount = 100000;
    QString keep;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--rows")
            rows = args[i + 1].toInt();
        else if (args[i] == "--lines")
            lineCount = args[i + 1].toInt();
        else if (args[i] == "--keep")
            keep = args[i + 1];
    }
    QTemporaryDir temp;
    const QString folder = keep.isEmpty() ? temp.path() : keep;

    // The project.
    CQuillmarkDoc doc;
    MakeProject(doc, rows);
    PrintMetrics metrics;
    metrics.SetLinesPerPage(PrintMetrics::StandardLinesPerPage);
    const ProjectPrintFonts fonts = ProjectPrintFonts::Create();
    Stopwatch timer;
    timer.Restart();
    const ProjectPrintout printout(doc.Data(), doc.Records(), metrics, fonts, "/daten/gross.bmt",
                                   QDate::currentDate());
    const int pages = printout.LastPage();
    const QByteArray paginate = timer.Text();
    timer.Restart();
    qsizetype texts = 0;
    for (int n = 1; n <= pages; ++n)
        texts += printout.Page(n).texts.size();
    const QByteArray layouts = timer.Text();
    const QString projectPdf = folder + "/projekt.pdf";
    timer.Restart();
    const bool projectOk =
        PagePainter::WritePdf(projectPdf, pages, [&](int n) { return printout.Page(n); });
    const QByteArray projectWrite = timer.Text();
    std::printf("project: %d rows, %d pages (%lld texts)\n", rows, pages, (long long)texts);
    std::printf("  pagination        %s\n", paginate.constData());
    std::printf("  page layouts      %s\n", layouts.constData());
    std::printf("  PDF               %s  %s, %.1f MB\n", projectWrite.constData(),
                projectOk ? "ok" : "FAILED", QFileInfo(projectPdf).size() / 1e6);

    // The trace list.
    CTraceLines lines;
    MakeTrace(lines, lineCount);
    TracePrintout trace(LineRules::View::Ascii, TracePrintFonts::Create());
    trace.MeasurePage(2100, 2970);
    timer.Restart();
    trace.Begin(
        int(lines.Count()), [&](int i) { return lines.At(i); }, "/spur/gross.ts",
        QDate::currentDate());
    const QByteArray tracePaginate = timer.Text();
    timer.Restart();
    for (int k = 1; k <= trace.PageCount(); ++k)
        trace.Page(k);
    const QByteArray traceLayouts = timer.Text();
    const QString tracePdf = folder + "/spur.pdf";
    timer.Restart();
    const bool traceOk =
        PagePainter::WritePdf(tracePdf, trace.PageCount(), [&](int k) { return trace.Page(k); });
    const QByteArray traceWrite = timer.Text();
    std::printf("trace: %d lines, %d pages, %d characters a line%s\n", lineCount, trace.PageCount(),
                trace.CharsPerLine(), trace.SmallFont() ? " (small)" : "");
    std::printf("  pagination        %s\n", tracePaginate.constData());
    std::printf("  page layouts      %s\n", traceLayouts.constData());
    std::printf("  PDF               %s  %s, %.1f MB\n", traceWrite.constData(),
                traceOk ? "ok" : "FAILED", QFileInfo(tracePdf).size() / 1e6);

    // The same lines in the ASCII view, read through its accessor as printing reads them.
    CMessageRecorder messages;
    CLineprobeDoc traceDoc;
    CRecordingSession traceSession(traceDoc);
    CLineprobeView view(traceSession);
    for (qsizetype i = 0; i < lines.Count(); ++i)
        traceSession.ShowTextLines(lines.At(i));
    TracePrintout viewTrace(LineRules::View::Ascii, TracePrintFonts::Create());
    viewTrace.MeasurePage(2100, 2970);
    timer.Restart();
    viewTrace.Begin(
        view.ItemCount(), [&](int i) { return view.ItemText(i); }, "/spur/gross.ts",
        QDate::currentDate());
    const QByteArray viewPaginate = timer.Text();
    std::printf("trace from the ASCII view: %d lines, %d pages\n", view.ItemCount(),
                viewTrace.PageCount());
    std::printf("  pagination        %s\n", viewPaginate.constData());
    return projectOk && traceOk ? 0 : 1;
}
