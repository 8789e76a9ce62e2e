// Deletes all 65,534 rows of a project selected in Quillmark's main window (offscreen) and
// times "Rückgängig" bringing them back, the list repainted (should take at most 0.5 s).
// Run by hand: bench_undo [records] [rounds]
#include "BenchSetup.h"
#include "CCommandTable.h"
#include "CMainFrame.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "ProjectTypes.h"
#include "QuillmarkCommands.h"

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv)
{
    QTemporaryDir settings;
    PrepareBenchEnvironment(settings);
    QApplication app(argc, argv);
    const int count = argc > 1 ? qBound(1, atoi(argv[1]), 65534) : 65534;
    const int rounds = argc > 2 ? qMax(1, atoi(argv[2])) : 3;

    CMessageRecorder messages;
    CQuillmarkDoc doc;
    SetStandardProject(doc.Data(), 5);
    doc.Data().panelType = PanelType::Aritech;
    std::strcpy(doc.Data().panelId, "AT 0");
    CMainFrame frame(&doc, QString());
    frame.resize(900, 700);
    frame.show();
    frame.activateWindow();
    if (!QTest::qWaitForWindowActive(&frame) || !doc.SetupListColumns())
        return 1;
    {
        CRecordBatch batch(doc.Records());
        AddBenchRows(doc.Records(), count, "Geschoss");
    }
    frame.View()->PrepareList();
    const QByteArray original = doc.ProjectBytes();

    std::vector<double> deletes, undos;
    for (int round = 0; round < rounds; ++round) {
        frame.View()->setFocus();
        frame.View()->selectAll();
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(frame.View(), Qt::Key_Delete);
        frame.View()->viewport()->repaint();
        deletes.push_back(timer.nsecsElapsed() / 1e6);
        if (doc.Records().GetCount() != 0) {
            std::fprintf(stderr, "%d rows left after the delete\n", doc.Records().GetCount());
            return 1;
        }
        // The idle time that enables the command, as a user's keystroke finds it.
        frame.Commands().UpdateUi();
        timer.restart();
        QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
        frame.View()->viewport()->repaint();
        undos.push_back(timer.nsecsElapsed() / 1e6);
        if (doc.ProjectBytes() != original) {
            std::fprintf(stderr, "undo did not bring the rows back\n");
            return 1;
        }
    }
    const double worst = *std::max_element(undos.begin(), undos.end());
    std::printf("delete of %d selected rows: best %.1f ms\n", count,
                *std::min_element(deletes.begin(), deletes.end()));
    std::printf("undo of that delete (incl. repaint): best %.1f ms, worst %.1f ms of %d\n",
                *std::min_element(undos.begin(), undos.end()), worst, rounds);
    doc.SetModifiedFlag(false);
    return worst <= 500 ? 0 : 1;
}
