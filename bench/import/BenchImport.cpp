// Scans a CFG and a CMB file of 50 MB through the panel text import, with the progress window
// shown (offscreen), next to a plain block read of the same file in the same run; then
// imports a BMF file of 1000 records into a project shown in a table view.
#include "CImportCommands.h"
#include "CImportProgressDlg.h"
#include "CMainFrame.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "ImportBmf.h"
#include "ImportCfg.h"
#include "ImportCmb.h"
#include "ProjectRules.h"

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>
#include <cstring>

namespace {

const qint64 kFileSize = 50 * 1000 * 1000;

void MakeProject(CQuillmarkDoc& doc, const char* panelId, int maxRecords)
{
    ProjectData& d = doc.Data();
    std::memset(&d, 0, sizeof d);
    d.textFormat = 2;
    d.displayChars = 40;
    d.maxRecords = maxRecords;
    d.groupDigits = 4;
    d.detectorDigits = 2;
    d.pseudoGroupDigits = 3;
    std::strncpy(d.panelId, panelId, sizeof d.panelId - 1);
    ProjectRules::DecodePanelIdFile(d.panelId, d.panelType, d.panelVariant);
    doc.SetupListColumns();
    doc.SetModifiedFlag(false);
}

QByteArray CfgEntry(int i)
{
    return "[Element " + QByteArray::number(i) + "]\r\nMeldergruppe " +
           QByteArray::number(i % 9999 + 1) +
           "\r\nBezeichnung Melder im Lager\r\n"
           "Elementnummer " +
           QByteArray::number(i / 9999 % 100) +
           "\r\nTyp Optischer Melder\r\nLCD Zeile 1 :  Brandabschnitt Mitte\r\n"
           "LCD Zeile 2 :  Treppenhaus Ost Nord Erdgeschoss\r\n\r\n";
}

QByteArray CmbLine(int i)
{
    return QByteArray::number(i % 90 + 10) + " " + QByteArray::number(i / 9999 % 100) + " " +
           QByteArray::number(i % 9999 + 1) + " MELDER  Treppenhaus Ost Nord Erdgeschoss.\r\n";
}

QString WriteFile(const QString& path, const QByteArray& head, QByteArray (*entry)(int))
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    QByteArray block = head;
    for (int i = 0; f.size() + block.size() < kFileSize; ++i) {
        block += entry(i);
        if (block.size() > (1 << 20)) {
            f.write(block);
            block.clear();
        }
    }
    f.write(block);
    return path;
}

double PlainRead(const QString& path)
{
    QElapsedTimer clock;
    clock.start();
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    QByteArray block(64 * 1024, '\0');
    quint64 sum = 0;
    qint64 n;
    while ((n = f.read(block.data(), block.size())) > 0)
        for (qint64 i = 0; i < n; ++i)
            sum += static_cast<unsigned char>(block[i]);
    const double s = clock.nsecsElapsed() / 1e9;
    std::printf("  plain read: %.3f s, %.0f MB/s (checksum %llu)\n", s, f.size() / 1e6 / s,
                static_cast<unsigned long long>(sum));
    return s;
}

void Scan(const char* name, const QString& path, const char* panelId,
          const PanelImport::Scanner& scanner)
{
    std::printf("%s, %.1f MB:\n", name, QFile(path).size() / 1e6);
    PlainRead(path);
    for (const bool shown : {false, true}) {
        CMessageRecorder messages;
        CQuillmarkDoc doc;
        MakeProject(doc, panelId, 1000);
        CImportProgressDlg progress;
        ImportHooks hooks;
        hooks.progress = shown ? &progress : nullptr;
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        QElapsedTimer clock;
        clock.start();
        PanelImport::ImportFrom(doc, f, f.size(), scanner, true, hooks);
        const double s = clock.nsecsElapsed() / 1e9;
        std::printf("  import scan %s: %.3f s, %.0f MB/s, %d rows, %d repaints\n",
                    shown ? "with the progress window" : "without a window", s, f.size() / 1e6 / s,
                    doc.Records().GetCount(), progress.Repaints());
    }
}

void Bmf(const QString& path)
{
    QByteArray bytes;
    for (int i = 0; i < 1000; ++i) {
        QByteArray r(92, '\0');
        // Descending groups: every record goes in before all others, the worst case.
        qToLittleEndian<qint32>(2000 - i, r.data());
        r[4] = char(i % 100);
        const QByteArray body = "Halle " + QByteArray::number(i) + "@Treppenhaus Ost";
        std::memcpy(r.data() + 6, body.constData(), size_t(body.size()));
        bytes += r;
    }
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    f.close();

    CMessageRecorder messages;
    CQuillmarkDoc doc;
    MakeProject(doc, "AT 1", 1000);
    CMainFrame frame(&doc, QString());
    frame.InitialUpdate();
    frame.show();
    QApplication::processEvents();
    messages.FileNext(path);
    QElapsedTimer clock;
    clock.start();
    CImportCommands::ImportBmf(frame);
    QApplication::processEvents();
    const double s = clock.nsecsElapsed() / 1e9;
    std::printf("BMF, 1000 records in descending order into the open window: %.3f s, %d rows\n", s,
                doc.Records().GetCount());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Scan("CFG", WriteFile(dir.filePath("gross.cfg"), "[Zentrale]\r\n", CfgEntry), "AC 1",
         PanelImport::ScanCfg);
    Scan("CMB", WriteFile(dir.filePath("gross.cmb"), "Export\r\n@Text\r\n", CmbLine), "TW 1",
         PanelImport::ScanCmb);
    Bmf(dir.filePath("texte.bmf"));
    return 0;
}
