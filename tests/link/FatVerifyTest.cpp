#include "CliProcess.h"
#include "LinkFixture.h"

#include "FatVerify.h"

namespace {

// "Mit FAT vergleichen" against fatsim: the reading into memory and the comparison by key.
class FatVerifyTest : public LinkTest
{
protected:
    FatVerify::Result Verify()
    {
        const FatVerify::Result result = FatVerify::Verify(m_doc, [this](CQuillmarkDoc& scratch) {
            return CHeadlessTransfer::Run(ReadTexts, scratch, m_serial, Quick(), 0, {}, true) ==
                   CHeadlessTransfer::Success;
        });
        m_fat.Stop();
        return result;
    }

    static QStringList Lines(const FatVerify::Result& result)
    {
        QStringList lines;
        for (const FatVerify::Difference& diff : result.differences)
            lines.append(diff.Describe());
        return lines;
    }
};

} // namespace

TEST_F(FatVerifyTest, ComparesByKeyWithTheProjectAsSent)
{
    struct Case
    {
        const char* name;
        QStringList fatOptions;
        QList<QByteArray> store;
        bool hasTexts;
        FatVerify::Status status;
        QStringList lines;
        QString box; // the transfer's message, if any
    };
    const QList<QByteArray> same{SRecord("0001", "01", "Eingang", "Halle 1"),
                                 SRecord("0002", "03", "Lager", "Keller")};
    const QList<Case> cases{
        {"same", {}, same, true, FatVerify::Same, {}, {}},
        {"different",
         {},
         {SRecord("0002", "03", "Lager", "Dach"), SRecord("0007", "01", "Alt", "")},
         true,
         FatVerify::Different,
         {"MG 0001 Melder 01: fehlt im FAT (\"Eingang\" / \"Halle 1\")",
          "MG 0002 Melder 03: Projekt \"Lager\" / \"Keller\", FAT \"Lager\" / \"Dach\"",
          "MG 0007 Melder 01: nur im FAT (\"Alt\" / \"\")"},
         {}},
        {"missing",
         {},
         {},
         false,
         FatVerify::Different,
         {"MG 0001 Melder 01: fehlt im FAT (\"Eingang\" / \"Halle 1\")",
          "MG 0002 Melder 03: fehlt im FAT (\"Lager\" / \"Keller\")"},
         {}},
        {"silent", {"--silent"}, same, true, FatVerify::NotCompared, {}, NoAnswer()},
    };
    MakeProject();
    AddRow("S", "0001", "01", "Eingang", "Halle 1");
    AddRow("S", "2", "3", "Lager", "Keller"); // padded to the FAT's widths when compared
    const QByteArray before = m_doc.ProjectBytes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_recorder.Clear();
        StartFat(c.fatOptions, StoreJson(c.store, 0, c.hasTexts));
        const FatVerify::Result result = Verify();
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(Lines(result), c.lines);
        EXPECT_EQ(Boxes(), c.box.isEmpty() ? QStringList() : QStringList{c.box});
        EXPECT_EQ(m_doc.ProjectBytes(), before); // the project stays as it was
    }
}

TEST_F(FatVerifyTest, CliExitStatusAsDiff)
{
    MakeProject();
    AddRow("S", "0001", "01", "Eingang", "Halle 1");
    const QString file = m_fat.Folder() + "/p.bmt";
    m_recorder.FileNext(file);
    ASSERT_TRUE(m_doc.SaveProject(CQuillmarkDoc::SaveAs));
    const QString cli = QStringLiteral(QUILLMARK_CLI_PATH);

    StartFat();
    CliResult r = RunCliProcess(cli, {"send", file, "--port", m_fat.Device(), "--verify"}, 30000);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, FatVerify::SameText().toUtf8() + "\n");
    m_fat.Stop();

    StartFat({}, StoreJson({SRecord("0001", "01", "Eingang", "Halle 2")}));
    r = RunCliProcess(cli, {"verify", file, "--port", m_fat.Device()}, 30000);
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("FAT \"Eingang\" / \"Halle 2\""));
    m_fat.Stop();

    StartFat({"--silent"});
    r = RunCliProcess(cli, {"verify", file, "--port", m_fat.Device()}, 30000);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("FAT antwortet nicht.")) << r.err.toStdString();
}
