// Reads N texts (65,534 by default) from fatsim through "Daten auslesen" as the window runs it,
// once into a bare document and once into the document of Quillmark's main window (offscreen),
// so that the difference is what the list's notices to the view cost during the reading.
// Run by hand: bench_readtexts [records]
#include "BenchSetup.h"
#include "CFatCommands.h"
#include "CHeadlessTransfer.h"
#include "CMainFrame.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "CSerial.h"
#include "FatSimProcess.h"

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

QByteArray Store(int records)
{
    QJsonArray list;
    for (int i = 0; i < records; ++i) {
        const QByteArray group = QByteArray::number(i / 32 + 1).rightJustified(4, '0');
        const QByteArray detector = QByteArray::number(i % 32 + 1).rightJustified(2, '0');
        const QByteArray rec = QByteArray(1, char(0x88)) + group + detector +
                               QByteArray("Melder " + detector).leftJustified(12) +
                               QByteArray("Gruppe " + group).leftJustified(20);
        list.append(QString::fromLatin1(rec.toHex()));
    }
    QJsonObject o;
    o["hasTexts"] = true;
    o["groupOffset"] = 0;
    o["records"] = list;
    return QJsonDocument(o).toJson();
}

// Seconds of the reading until its last record, or -1 when it failed.
double ReadInto(CQuillmarkDoc& doc, int records, const QByteArray& store)
{
    FatSimProcess fat(QStringLiteral(FATSIM_PATH));
    QFile file(fat.StorePath());
    if (!file.open(QIODevice::WriteOnly) || file.write(store) != store.size())
        return -1;
    file.close();
    if (fat.Start({"--records", QString::number(records)}).isEmpty())
        return -1;
    CSerial serial;
    serial.SetPortName(fat.Device());
    QElapsedTimer clock;
    double lastRecord = -1;
    QObject::connect(&doc.Records(), &QAbstractItemModel::modelReset, [&] {
        if (doc.Records().GetCount() == records)
            lastRecord = clock.nsecsElapsed() / 1e9;
    });
    QObject::connect(&doc.Records(), &QAbstractItemModel::rowsInserted, [&] {
        if (doc.Records().GetCount() == records)
            lastRecord = clock.nsecsElapsed() / 1e9;
    });
    CFatCommands commands(doc, [&](int mode, const std::function<void()>& opened) {
        return CHeadlessTransfer::Run(mode, doc, serial, TransferTimeouts(), 0, opened) ==
               CHeadlessTransfer::Success;
    });
    clock.start();
    const bool ok = commands.ReadTexts();
    fat.Stop();
    return ok && doc.Records().GetCount() == records ? lastRecord : -1;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir settings;
    PrepareBenchEnvironment(settings);
    QApplication app(argc, argv);
    const int records = argc > 1 ? qBound(1, atoi(argv[1]), 65534) : 65534;
    const QByteArray store = Store(records);
    CMessageRecorder messages;

    CQuillmarkDoc bare;
    const double alone = ReadInto(bare, records, store);

    CQuillmarkDoc doc;
    CMainFrame frame(&doc, QString());
    frame.resize(900, 700);
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame))
        return 1;
    const double shown = ReadInto(doc, records, store);
    if (alone < 0 || shown < 0) {
        std::fprintf(stderr, "bench_readtexts: the reading failed\n");
        return 1;
    }
    std::printf("reading %d texts: %.2f s without a window, %.2f s into the main window\n", records,
                alone, shown);
    return 0;
}
