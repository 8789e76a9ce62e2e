// The recording against fatsim: the simulated FAT's identification, its traffic, and an
// adapter pulled out and plugged in again in the middle of a recording.
#include "FatSimProcess.h"
#include "RecordingFixture.h"
#include "TraceReader.h"

// Qt
#include <QFileInfo>
#include <QRegularExpression>

namespace {

class RecordingFatSimTest : public RecordingFixture
{
protected:
    void StartFat(const QStringList& options)
    {
        ASSERT_FALSE(fat.Start(options).isEmpty()) << fat.ErrorOutput().toStdString();
        rec.Serial().SetPortName(fat.Device());
    }
    // fatsim's identification for a maker and model digit (its defaults otherwise).
    static QByteArray FatSimOptions_Ident(const char* maker = "EE", char digit = '4')
    {
        QByteArray id(32, ' ');
        id[0] = maker[0];
        id[1] = maker[1];
        id[3] = digit;
        id.replace(4, 6, "FATSIM");
        id.replace(10, 6, "V2.10 ");
        return id; // only its maker, model and version reach the header
    }
    qint64 FileSize(const QString& name) const { return QFileInfo(dir.filePath(name)).size(); }
    int Count(const QByteArray& item) const { return int(AsciiItems().count(item)); }

    FatSimProcess fat{QStringLiteral(FATSIM_PATH)};
};

} // namespace

TEST_F(RecordingFatSimTest, TheFatsTrafficLandsInTheTraceFilesByteForByte)
{
    StartFat({"--maker", "EE", "--model", "4", "--rate", "0", "--traffic-bytes", "20000"});
    StartSaving("fat.tds");
    ASSERT_TRUE(WaitFor([&] { return rec.RecordingState() == CRecordingControl::Recording; }));
    EXPECT_EQ(rec.PanelCode(), 3);
    ASSERT_TRUE(WaitFor([&] {
        return FileSize("fat.ts") == Header(FatSimOptions_Ident()).size() + 20000;
    })) << FileSize("fat.ts");
    rec.OnStopRecording();
    EXPECT_EQ(fat.Stop(), 0);

    EXPECT_EQ(fat.FromPc(), "TSH");
    const QByteArray sent = fat.FromFat();
    ASSERT_EQ(sent.size(), 32 + 20000);
    const QByteArray header = Header(sent.left(32));
    const QByteArray traffic = sent.mid(32);
    EXPECT_EQ(ReadFile(dir.filePath("fat.ts")), header + traffic + Footer());
    // The timestamped trace reads back as the same bytes, chunk by chunk.
    QByteArray chunks;
    int count = 0;
    for (const TraceReader::Segment& s : TraceReader::ParseTds(ReadFile(dir.filePath("fat.tds"))))
        if (s.kind == TraceReader::Segment::Chunk) {
            chunks += s.bytes;
            ++count;
            EXPECT_LE(s.bytes.size(), CRecordingControl::MaxChunk);
        }
    EXPECT_EQ(chunks, traffic);
    EXPECT_GE(count, 20000 / CRecordingControl::MaxChunk);
    // Marked lines and plain lines ending in line feeds, as the panel frames them.
    EXPECT_TRUE(AsciiItems().contains(QByteArray(".Feuer")));
    EXPECT_TRUE(AsciiItems().contains(QByteArray(" MG 0001/01 Halle 3 EG\r\n")));
    EXPECT_EQ(ReadFile(dir.filePath("fat.tvs")), ListBytes(AsciiItems()));
    EXPECT_EQ(ReadFile(dir.filePath("fat.tvh")), ListBytes(HexItems()));
    EXPECT_TRUE(messages.Boxes().isEmpty()) << messages.Texts().join('|').toStdString();
}

TEST_F(RecordingFatSimTest, AnAdapterPulledMidRecordingIsFoundAgainUnderItsLink)
{
    const QString link = fat.Folder() + "/ttyFAT";
    StartFat({"--link", link, "--maker", "NF", "--rate", "0", "--traffic-bytes", "3000",
              "--vanish-at", "traffic:1000", "--return-after", "500"});
    rec.Serial().SetPortName(link);
    rec.SetTimerPeriods(CRecordingControl::IdentTimeoutMs, 100);
    StartSaving("pulled.tds");
    ASSERT_TRUE(WaitFor([&] { return Count("IO Fehler") == 1; }));
    EXPECT_TRUE(rec.IsRecording());
    EXPECT_TRUE(rec.TimerActive(CRecordingControl::ReconnectTimer));
    ASSERT_TRUE(WaitFor([&] { return Count("Lineprobe: 1.8") == 2; }, 20000));
    EXPECT_FALSE(rec.TimerActive(CRecordingControl::ReconnectTimer));
    const qint64 expected = 2 * Header(FatSimOptions_Ident("NF")).size() + 1000 + 9 + 3000;
    ASSERT_TRUE(WaitFor([&] { return FileSize("pulled.ts") == expected; }))
        << FileSize("pulled.ts") << " " << expected;
    rec.OnStopRecording();
    EXPECT_EQ(fat.Stop(), 0);

    EXPECT_TRUE(QRegularExpression("^TST+SH$").match(QString::fromLatin1(fat.FromPc())).hasMatch())
        << fat.FromPc().constData();
    const QByteArray sent = fat.FromFat();
    const QByteArray id = sent.left(32);
    // The traffic of both lives of the FAT, with the error and the second header between.
    const QByteArray first = sent.mid(32, 1000);
    const QByteArray second = sent.right(3000);
    EXPECT_EQ(ReadFile(dir.filePath("pulled.ts")),
              Header(id) + first + "IO Fehler" + Header(id) + second + Footer());
    EXPECT_TRUE(QFile::exists(dir.filePath("pulled.tvs")));
    EXPECT_TRUE(messages.Boxes().isEmpty()) << messages.Texts().join('|').toStdString();
}

TEST_F(RecordingFatSimTest, ExpertModeNeverAsksForTheIdentification)
{
    StartFat({"--maker", "BO", "--rate", "0"});
    options.expertMode = true;
    StartSaving("expert.tds");
    ASSERT_TRUE(rec.IsRecording());
    QTest::qWait(300);
    rec.OnStopRecording();
    EXPECT_EQ(fat.Stop(), 0);
    EXPECT_EQ(fat.FromPc(), "H");
    EXPECT_TRUE(fat.FromFat().isEmpty());
    EXPECT_TRUE(ReadFile(dir.filePath("expert.ts")).contains("Baudrate: 9600\r\n"));
}
