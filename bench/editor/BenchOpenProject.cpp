// Opens a project of 65,535 records into Quillmark's main window (offscreen) and prints the
// time from the open command to the first painted list, next to a plain
// "quillmark-cli show" of the same file. Run by hand: bench_openproject [records] [rounds]
#include "BenchSetup.h"
#include "CMainFrame.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "ProjectTypes.h"

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// A standard-format project of count records, 12 + 20 character texts, written with the
// program's own file writer.
bool WriteProject(const QString& path, int count)
{
    CMessageRecorder answers;
    CQuillmarkDoc doc;
    ProjectData& d = doc.Data();
    SetStandardProject(d, 5);
    d.panelType = PanelType::Aritech;
    std::strcpy(d.panelId, "AT 0");
    if (!doc.SetupListColumns())
        return false;
    CRecordBatch batch(doc.Records());
    for (int i = 0; i < count; ++i) {
        MessageRecord rec;
        rec.formatTag = "S";
        rec.group = QByteArray::number(i / 99 + 1).rightJustified(5, '0');
        rec.detector = QByteArray::number(i % 99 + 1).rightJustified(2, '0');
        rec.text1 = QByteArray("Halle ") + QByteArray::number(i);
        rec.text2 = QByteArray("Geschoss ") + QByteArray::number(i % 7);
        doc.Records().AddRecordAt(rec, i);
    }
    answers.FileNext(path);
    return doc.SaveProject(CQuillmarkDoc::SaveAs);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir settings;
    PrepareBenchEnvironment(settings);
    QApplication app(argc, argv);
    const int count = argc > 1 ? qMax(1, atoi(argv[1])) : 65535;
    const int rounds = argc > 2 ? qMax(1, atoi(argv[2])) : 5;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gross.bmt"));
    if (!WriteProject(path, count)) {
        std::fprintf(stderr, "cannot write the project\n");
        return 1;
    }
    std::printf("project: %d records, %lld bytes\n", count, QFile(path).size());

    CMessageRecorder messages;
    std::vector<double> open;
    for (int round = 0; round < rounds; ++round) {
        CQuillmarkDoc doc;
        doc.SetProjectPath(path);
        CMainFrame frame(&doc, path);
        frame.resize(900, 700);
        frame.show();
        if (!QTest::qWaitForWindowExposed(&frame))
            return 1;
        QElapsedTimer timer;
        timer.start();
        if (!frame.OpenDocument(path) || doc.Records().GetCount() != count) {
            std::fprintf(stderr, "open failed: %s\n", qPrintable(messages.Texts().join(" | ")));
            return 1;
        }
        frame.View()->viewport()->repaint();
        QCoreApplication::processEvents();
        open.push_back(timer.nsecsElapsed() / 1e6);
        doc.SetModifiedFlag(false);
    }
    std::printf("open into the window (offscreen, incl. first paint): median %.1f ms, best %.1f ms "
                "of %d\n",
                Median(open), *std::min_element(open.begin(), open.end()), rounds);

    std::vector<double> cli;
    for (int round = 0; round < rounds; ++round) {
        QProcess show;
        QElapsedTimer timer;
        timer.start();
        show.start(QStringLiteral(QUILLMARK_CLI_PATH), {QStringLiteral("show"), path});
        if (!show.waitForFinished(60000) || show.exitCode() != 0)
            return 1;
        show.readAllStandardOutput();
        cli.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("quillmark-cli show of the same file (process, incl. JSON): median %.1f ms\n",
                Median(cli));
    return 0;
}
