// Types a run of records into "Standardeingabe" with QTest keys: for each record a new Text 1,
// then Alt+K ("&Kopieren"), with Quillmark's main window and its list behind the dialog.
// Reports the time per record. Run by hand: QT_QPA_PLATFORM=offscreen bench_entrydialog [records]
#include "BenchSetup.h"
#include "CEntryDlg.h"
#include "CMainFrame.h"
#include "CMaskEdit.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <ctime>

int main(int argc, char** argv)
{
    // The main window keeps recent files and the port in the settings: never the user's own.
    QTemporaryDir settings;
    PrepareBenchEnvironment(settings);
    QApplication app(argc, argv);
    const int count = argc > 1 ? qMax(1, atoi(argv[1])) : 1000;
    CMessageRecorder messages;

    CQuillmarkDoc doc;
    ProjectData& d = doc.Data();
    SetStandardProject(d, 4);
    d.panelType = 2;

    CMainFrame frame(&doc, QString());
    frame.resize(800, 600);
    frame.NewDocument();
    frame.show();
    frame.activateWindow();
    if (!QTest::qWaitForWindowActive(&frame))
        return 1;

    CEntryDlg* dlg = CEntryDlg::OpenForProject(doc, &frame, -1);
    if (!dlg)
        return 1;
    dlg->activateWindow();
    if (!QTest::qWaitFor([dlg] { return QApplication::activeWindow() == dlg; }, 5000))
        return 1;
    QTest::keyClicks(dlg->GroupField(), QStringLiteral("1"));
    QTest::keyClicks(dlg->DetectorField(), QStringLiteral("1"));
    QTest::keyClicks(dlg->Text2Field(), QStringLiteral("Erdgeschoss"));

    QElapsedTimer timer;
    timer.start();
    std::clock_t cpu = std::clock();
    for (int i = 0; i < count; ++i) {
        QTest::keyClick(dlg, Qt::Key_1, Qt::AltModifier);
        dlg->Text1Field()->selectAll();
        QTest::keyClicks(dlg->Text1Field(), QStringLiteral("Raum %1").arg(i));
        QTest::keyClick(dlg, Qt::Key_K, Qt::AltModifier);
        QApplication::processEvents();
    }
    const qint64 ns = timer.nsecsElapsed();
    const double cpuMs = double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
    const int rows = doc.Records().GetCount();
    std::printf("records typed: %d, rows stored: %d, messages: %d\n", count, rows,
                int(messages.Boxes().size()));
    std::printf("total %.1f ms, per record %.3f ms wall, %.3f ms CPU (Text 1 typed, Alt+K)\n",
                ns / 1e6, ns / 1e6 / count, cpuMs / count);

    // Alt+K alone: the same texts for every detector.
    timer.restart();
    cpu = std::clock();
    for (int i = 0; i < count; ++i) {
        QTest::keyClick(dlg, Qt::Key_K, Qt::AltModifier);
        QApplication::processEvents();
    }
    const qint64 ns2 = timer.nsecsElapsed();
    const double cpuMs2 = double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
    std::printf("Alt+K only: total %.1f ms, per record %.3f ms wall, %.3f ms CPU, rows %d\n",
                ns2 / 1e6, ns2 / 1e6 / count, cpuMs2 / count, doc.Records().GetCount());
    return rows == count ? 0 : 2;
}
