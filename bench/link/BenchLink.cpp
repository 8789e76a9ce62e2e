// Sends a project of N records to fatsim and sets the time per record byte of the echo
// exchange against the raw echo round trip of a pseudo-terminal, measured in the same run.
// With --baud B, fatsim paces its answers by the byte time of B baud and the total time is
// compared with the wire limit (two byte times per record byte).
#include "CHeadlessTransfer.h"
#include "CMessageRecorder.h"
#include "CPseudoTerminal.h"
#include "CQuillmarkDoc.h"
#include "CSerial.h"
#include "FatSimProcess.h"
#include "TextProject.h"
#include "TransferTypes.h"

// Qt
#include <QCoreApplication>
#include <QElapsedTimer>

#include <atomic>
#include <cstdio>
#include <thread>

#include <poll.h>
#include <unistd.h>

namespace {

// Mean round trip of one byte through CSerial and an echoing pseudo-terminal, in seconds.
double RawEcho(int rounds)
{
    CPseudoTerminal pty;
    QString error;
    if (!pty.Open(error)) {
        std::fprintf(stderr, "bench_link: %s\n", qPrintable(error));
        return -1;
    }
    std::atomic<bool> stop{false};
    std::thread echo([&] {
        const int fd = pty.MasterFd();
        while (!stop) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            char buffer[64];
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0 && write(fd, buffer, size_t(n)) != n)
                break;
        }
    });
    CSerial serial;
    serial.SetPortName(pty.DevicePath());
    QObject receiver;
    double seconds = -1;
    if (serial.Open(&receiver) && serial.SetStandardParameter()) {
        QElapsedTimer clock;
        clock.start();
        int done = 0;
        for (; done < rounds; ++done) {
            const char byte = char(done & 0x7f);
            char back = 0;
            serial.SendData(&byte, 1);
            if (serial.WaitForData(1, 2000) < 1 || serial.ReadData(&back, 1) != 1 || back != byte)
                break;
        }
        if (done == rounds)
            seconds = clock.nsecsElapsed() / 1e9 / rounds;
        serial.Close();
    }
    stop = true;
    echo.join();
    return seconds;
}

void MakeProject(CQuillmarkDoc& doc, int records)
{
    MakeTextProject(doc, FormatStandard, PanelType::Bosch, "BO 1", 1000000);
    for (int i = 0; i < records; ++i) {
        MessageRecord r;
        r.formatTag = "S";
        r.group = QByteArray::number(1 + i / 32).rightJustified(4, '0');
        r.detector = QByteArray::number(1 + i % 32).rightJustified(2, '0');
        r.text1 = "Melder " + r.detector;
        r.text2 = "Gruppe " + r.group;
        doc.Records().AddRecordAt(r, doc.Records().GetCount());
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int records = 1000;
    int baud = 0;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--records"))
            records = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--baud"))
            baud = args[i + 1].toInt();
    }
    if (records < 1 || baud < 0 || args.size() % 2) {
        std::fprintf(stderr, "usage: bench_link [--records N] [--baud B]\n");
        return 2;
    }

    const double raw = RawEcho(2000);
    if (raw < 0) {
        std::fprintf(stderr, "bench_link: the raw echo failed\n");
        return 1;
    }

    CMessageRecorder messages;
    CQuillmarkDoc doc;
    MakeProject(doc, records);
    FatSimProcess fat(QStringLiteral(FATSIM_PATH));
    QStringList options = {"--records", QString::number(records)};
    if (baud > 0)
        options += {"--baud", QString::number(baud)};
    if (fat.Start(options).isEmpty()) {
        std::fprintf(stderr, "bench_link: fatsim: %s\n", fat.ErrorOutput().constData());
        return 1;
    }
    CSerial serial;
    serial.SetPortName(fat.Device());
    QElapsedTimer clock;
    clock.start();
    const auto outcome = CHeadlessTransfer::Run(SendTexts, doc, serial);
    const double total = clock.nsecsElapsed() / 1e9;
    fat.Stop();
    if (outcome != CHeadlessTransfer::Success) {
        std::fprintf(stderr, "bench_link: the transfer failed\n");
        return 1;
    }

    // From the first record byte the PC sent to the last echo, by fatsim's time stamps: the
    // ready answer and the closing wait are not part of the exchange.
    const QVector<FatSimProcess::Entry> log = fat.Log();
    const int header = 1 + 1 + 2 + 4; // "T", acknowledgement, count, offset
    int fromPc = 0, fromFat = 0;
    double first = -1, last = -1;
    const qint64 recordBytes = qint64(records) * (1 + 4 + 2 + 12 + 20);
    for (const FatSimProcess::Entry& e : log) {
        if (!e.fromFat) {
            if (++fromPc == header + 1) // the first record byte
                first = e.seconds;
        } else if (++fromFat == 32 + 1 + 6 + recordBytes) { // identification, ready, echoes
            last = e.seconds;
        }
    }
    std::printf("records: %d, record bytes: %lld\n", records, static_cast<long long>(recordBytes));
    std::printf("raw echo round trip: %.1f us\n", raw * 1e6);
    if (first >= 0 && last > first) {
        const double perByte = (last - first) / double(recordBytes);
        std::printf("echo exchange: %.1f us per record byte, ratio to raw echo %.2f\n",
                    perByte * 1e6, perByte / raw);
    }
    std::printf("whole transfer: %.3f s\n", total);
    if (baud > 0) {
        // One byte is 10 bits on an 8N1 line; each record byte goes out and comes back.
        const double wire = 2.0 * recordBytes * 10.0 / baud;
        std::printf("wire limit at %d baud: %.3f s, exchange / limit %.3f\n", baud, wire,
                    first >= 0 && last > first ? (last - first) / wire : 0.0);
    }
    return 0;
}
