#include "CliProcess.h"
#include "LinkFixture.h"

#include "ComPortSettings.h"

// Qt
#include <QFileInfo>
#include <QProcess>

namespace {

// quillmark-cli's transfer commands as a user runs them, against fatsim.
class TransferCli : public LinkTest
{
protected:
    struct Result
    {
        int exitCode = -1;
        QString errors;
    };

    Result Cli(const QStringList& args)
    {
        const CliResult r = RunCliProcess(QStringLiteral(QUILLMARK_CLI_PATH), args, 30000);
        return Result{r.status, r.err};
    }

    QString SaveProjectFile(const QString& name)
    {
        const QString path = m_fat.Folder() + "/" + name;
        m_recorder.FileNext(path);
        EXPECT_TRUE(m_doc.SaveProject(CQuillmarkDoc::SaveAs));
        return path;
    }

    QJsonObject Show(const QString& path)
    {
        const CliResult r = RunCliProcess(QStringLiteral(QUILLMARK_CLI_PATH), {"show", path});
        return QJsonDocument::fromJson(r.out).object();
    }
};

} // namespace

TEST_F(TransferCli, SendThenReadBack)
{
    MakeProject();
    AddRow("S", "0001", "01", "Eingang", "Halle 1");
    AddRow("S", "0002", "03", "Lager", "Keller");
    SetOffset("-3");
    const QString file = SaveProjectFile("send.bmt");
    StartFat();
    const Result sent = Cli({"send", file, "--port", m_fat.Device()});
    EXPECT_EQ(sent.exitCode, 0) << sent.errors.toStdString();
    EXPECT_TRUE(sent.errors.contains("Hinweis: Die Datenübertragung wurde erfolgreich beendet."));

    // read through the port number mapping
    ComPortSettings::SetDevice(QStringLiteral("Quillmark"), 2, m_fat.Device());
    const QString out = m_fat.Folder() + "/out.bmt";
    const Result read = Cli({"read", out, "--com", "2"});
    EXPECT_EQ(read.exitCode, 0) << read.errors.toStdString();
    EXPECT_TRUE(read.errors.contains("Hinweis: Die Datenübertragung wurde erfolgreich beendet\n"));
    const QJsonObject project = Show(out);
    EXPECT_EQ(project["groupOffset"].toString(), "-3");
    EXPECT_EQ(project["panelType"].toInt(), int(PanelType::Bosch));
    // a Bosch project born of the FAT gets the standard LZ assignment, as a new one does
    const QJsonArray lz = project["lzAssignment"].toArray();
    EXPECT_EQ(lz[0].toInt(), 2);
    EXPECT_EQ(lz[14].toInt(), 1);
    const QJsonArray records = project["records"].toArray();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[1].toObject()["group"].toString(), "0002");
    EXPECT_EQ(records[1].toObject()["text1"].toString().trimmed(), "Lager");
    ComPortSettings::SetDevice(QStringLiteral("Quillmark"), 2, QString());
}

TEST_F(TransferCli, HiddenDetectorsAnsweredNoUnlessYes)
{
    MakeProject();
    AddRow("S", "0010", "00", "Gruppe", "");
    AddRow("S", "0010", "01", "Melder", "");
    const QString file = SaveProjectFile("hidden.bmt");
    StartFat();
    const Result no = Cli({"send", file, "--port", m_fat.Device()});
    EXPECT_EQ(no.exitCode, 1);
    EXPECT_TRUE(no.errors.startsWith("Quillmark: Es wird nur die Meldung der Meldergruppe 0010"));
    const Result yes = Cli({"send", file, "--port", m_fat.Device(), "--yes"});
    EXPECT_EQ(yes.exitCode, 0) << yes.errors.toStdString();
    m_fat.Stop();
    EXPECT_EQ(m_fat.FromPc().count('T'), 1); // only the second run opened the line
}

TEST_F(TransferCli, ReadFromAnEmptyFatSavesNothing)
{
    StartFat();
    const QString out = m_fat.Folder() + "/empty.bmt";
    const Result r = Cli({"read", out, "--port", m_fat.Device()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errors.contains("Hinweis: Im FAT befinden sich noch keine Texte"));
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(TransferCli, ReadOfAnIdentificationOutsideTheLimitsSavesNothing)
{
    // Before, such projects were saved with status 0 and "show" refused the file.
    const QStringList cases[][2] = {
        {{"--detector-digits", "12"}, {"Die Melder haben 12 Stellen"}},
        {{"--maker", "XY"}, {"Der Hersteller \"XY\" ist unbekannt."}},
    };
    for (const auto& c : cases) {
        FatSimProcess fat{QStringLiteral(FATSIM_PATH)};
        ASSERT_TRUE(fat.WriteStore(StoreJson({SRecord("0001", "01", "a", "b")})));
        ASSERT_FALSE(fat.Start(c[0]).isEmpty());
        const QString out = fat.Folder() + "/refused.bmt";
        const Result r = Cli({"read", out, "--port", fat.Device()});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(
            r.errors.contains("Fehler: Die Kennung des FAT passt zu keinem Projekt: " + c[1][0]))
            << r.errors.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out));
    }
}

TEST_F(TransferCli, SendEndsAtItsTimeoutWhenTheFatNeverBecomesReady)
{
    MakeProject();
    AddRow("S", "0001", "01", "Eingang", "Halle 1");
    const QString file = SaveProjectFile("never.bmt");
    StartFat({"--not-ready", "1000000"});
    QElapsedTimer clock;
    clock.start();
    const Result r = Cli({"send", file, "--port", m_fat.Device(), "--timeout", "2"});
    EXPECT_EQ(r.exitCode, 1) << "-1 would mean it hung";
    EXPECT_GE(clock.elapsed(), 2000);
    EXPECT_TRUE(r.errors.contains(QString::fromUtf8("nach 2 Sekunden abgebrochen")))
        << r.errors.toStdString();
    m_fat.Stop();
    EXPECT_FALSE(m_fat.FromPc().endsWith('\x04')) << "ended as a closed window, no end byte";
    EXPECT_EQ(StoreAfter()["records"].toArray().size(), 0);
}

TEST_F(TransferCli, SendLzEndsAtItsTimeoutWhenTheFatFallsSilentAfterItsIdentification)
{
    MakeProject();
    const QString file = SaveProjectFile("silent.bmt");
    StartFat({"--silent-at", "ready"});
    const Result r = Cli({"send-lz", file, "--port", m_fat.Device(), "--timeout", "3"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errors.contains(QString::fromUtf8("nach 3 Sekunden abgebrochen")))
        << r.errors.toStdString();
    EXPECT_EQ(Cli({"send-lz", file, "--port", m_fat.Device(), "--timeout", "0"}).exitCode, 2);
    EXPECT_EQ(Cli({"send", file, "--port", m_fat.Device(), "--timeout", "x"}).exitCode, 2);
}

TEST_F(TransferCli, LzCodingBothWays)
{
    MakeProject();
    AddRow("S", "0001", "01", "a", "b");
    for (int i = 0; i < 255; ++i)
        m_doc.Data().lzAssignment[i] = char(i % 5);
    const QString file = SaveProjectFile("lz.bmt");
    StartFat();
    const Result sent = Cli({"send-lz", file, "--port", m_fat.Device()});
    EXPECT_EQ(sent.exitCode, 0) << sent.errors.toStdString();
    m_fat.Stop();
    const QByteArray stored = QByteArray::fromHex(StoreAfter()["lz"].toString().toLatin1());
    ASSERT_EQ(stored.size(), 255);
    EXPECT_EQ(stored.at(7), char(2));

    // a FAT with another table: read-lz puts it into the project file
    FatSimProcess other{QStringLiteral(FATSIM_PATH)};
    QJsonObject o;
    o["lz"] = QString::fromLatin1(QByteArray(255, char(4)).toHex());
    ASSERT_TRUE(other.WriteStore(QJsonDocument(o).toJson()));
    ASSERT_FALSE(other.Start().isEmpty());
    const Result read = Cli({"read-lz", file, "--port", other.Device()});
    EXPECT_EQ(read.exitCode, 0) << read.errors.toStdString();
    const QJsonArray lz = Show(file)["lzAssignment"].toArray();
    ASSERT_EQ(lz.size(), 255);
    EXPECT_EQ(lz[0].toInt(), 4);
    EXPECT_EQ(lz[254].toInt(), 4);
    EXPECT_EQ(Show(file)["records"].toArray().size(), 1);
}

TEST_F(TransferCli, SendLzOfAnAllZeroTableNeedsForce)
{
    MakeProject();
    std::memset(m_doc.Data().lzAssignment, 0, 255);
    const QString file = SaveProjectFile("zero.bmt");
    StartFat();
    const Result refused = Cli({"send-lz", file, "--port", m_fat.Device()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.errors.contains("trotzdem senden ?")) << refused.errors.toStdString();
    const Result forced = Cli({"send-lz", file, "--port", m_fat.Device(), "--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.errors.toStdString();
    m_fat.Stop();
    EXPECT_EQ(m_fat.FromPc().count('T'), 1) << "only the forced run opened the line";
}

TEST_F(TransferCli, RefusalsAndUsage)
{
    MakeProject(FormatStandard, PanelType::Esser, "EF 1");
    AddRow("S", "0001", "01", "a", "b");
    const QString file = SaveProjectFile("esser.bmt");
    const Result lz = Cli({"send-lz", file, "--port", "/dev/null"});
    EXPECT_EQ(lz.exitCode, 1);
    EXPECT_TRUE(lz.errors.contains("only for Bosch"));

    EXPECT_EQ(Cli({"send", file}).exitCode, 2);
    EXPECT_EQ(Cli({"send", file, "--com", "5"}).exitCode, 2);
    EXPECT_EQ(Cli({"read", "x.bmt", "--port", "a", "--com", "1"}).exitCode, 2);
    EXPECT_EQ(Cli({"read", "x.bmt", "--port", "a", "--yes"}).exitCode, 2);

    const Result closed = Cli({"send", file, "--port", m_fat.Folder() + "/none"});
    EXPECT_EQ(closed.exitCode, 1);
    EXPECT_TRUE(closed.errors.contains(
        "Quillmark: " + m_fat.Folder() +
        "/none konnte nicht geöffnet werden: Datei oder Verzeichnis nicht gefunden\n"));
}
