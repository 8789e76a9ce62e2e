// Imports 65,534 panel texts from a CMB file into a project shown in the main window, once in
// shuffled order and once sorted by group and detector: every text goes through the entry
// checks and the ordered insert of the record list.
#include "CMainFrame.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "ImportCmb.h"
#include "ProjectRules.h"

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

namespace {

const int kTexts = 65534;

// Text i: group i / 7 + 1, detector i % 7 + 1; distinct keys, ascending with i.
QByteArray CmbLine(int i)
{
    return "10 " + QByteArray::number(i % 7 + 1) + " " + QByteArray::number(i / 7 + 1) +
           " MELDER  Treppenhaus Ost Nord " + QByteArray::number(i) + ".\r\n";
}

QString WriteCmb(const QString& path, bool shuffled)
{
    std::vector<int> order(kTexts);
    for (int i = 0; i < kTexts; ++i)
        order[size_t(i)] = i;
    if (shuffled)
        std::shuffle(order.begin(), order.end(), std::mt19937(4711));
    QByteArray bytes = "Export\r\n@Text\r\n";
    for (const int i : order)
        bytes += CmbLine(i);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

void Import(const char* name, const QString& path)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    ProjectData& d = doc.Data();
    std::memset(&d, 0, sizeof d);
    d.textFormat = 2;
    d.displayChars = 40;
    d.maxRecords = kTexts;
    d.groupDigits = 5;
    d.detectorDigits = 2;
    d.pseudoGroupDigits = 3;
    std::strncpy(d.panelId, "TW 1", sizeof d.panelId - 1);
    ProjectRules::DecodePanelIdFile(d.panelId, d.panelType, d.panelVariant);
    CMainFrame frame(&doc, QString());
    frame.InitialUpdate();
    frame.show();
    QApplication::processEvents();

    QFile f(path);
    f.open(QIODevice::ReadOnly);
    QElapsedTimer clock;
    clock.start();
    PanelImport::ImportFrom(doc, f, f.size(), PanelImport::ScanCmb, true, ImportHooks());
    QApplication::processEvents();
    const double s = clock.nsecsElapsed() / 1e9;
    std::printf("%s: %.3f s, %d rows, %d messages (target 2 s)\n", name, s,
                doc.Records().GetCount(), int(messages.Texts().size()));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Import("65534 CMB texts, shuffled", WriteCmb(dir.filePath("gemischt.cmb"), true));
    Import("65534 CMB texts, sorted", WriteCmb(dir.filePath("sortiert.cmb"), false));
    return 0;
}
