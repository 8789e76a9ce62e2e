#include "CliProcess.h"
#include "ProjectBytes.h"
#include "ProjectTypes.h"
#include "TestFiles.h"

// Qt
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Result = CliResult;

Result RunCli(const QStringList& args)
{
    return RunCliProcess(QStringLiteral(QUILLMARK_CLI), args);
}

class EditorCliTest : public ::testing::Test
{
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(WriteTestFile(path, bytes));
        return path;
    }

    static QByteArray Read(const QString& path) { return ReadTestFile(path); }

    QTemporaryDir dir;
    ProjectBytes file;
    const QByteArray record = "S0012"
                              "03"
                              "Halle \xC4u\xDF"
                              "ere"
                              "zwei                ";
};

} // namespace

TEST_F(EditorCliTest, ShowPrintsTheProjectAsJson)
{
    file.offset = 7;
    const QString path = Write("a.bmt", file.Header() + record + "E");
    const Result r = RunCli({"show", path});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["textFormat"].toInt(), 2);
    EXPECT_EQ(o["displayChars"].toInt(), 40);
    EXPECT_EQ(o["text1Length"].toInt(), 12);
    EXPECT_EQ(o["panelType"].toInt(), int(PanelType::Aritech));
    EXPECT_EQ(o["panelId"].toString(), "AT 1");
    EXPECT_EQ(o["groupOffset"].toString(), "7");
    EXPECT_EQ(o["projectPath"].toString(), path);
    EXPECT_EQ(o["coverPage"].toArray().size(), 6);
    EXPECT_EQ(o["lzAssignment"].toArray().size(), 255);
    const QJsonArray records = o["records"].toArray();
    ASSERT_EQ(records.size(), 1);
    const QJsonObject rec = records[0].toObject();
    EXPECT_EQ(rec["formatTag"].toString(), "S");
    EXPECT_EQ(rec["group"].toString(), "0012");
    EXPECT_EQ(rec["pseudoGroup"].toString(), "");
    EXPECT_EQ(rec["detector"].toString(), "03");
    EXPECT_EQ(rec["text1"].toString(), QString::fromUtf8("Halle Äußere"));
    EXPECT_EQ(rec["text2"].toString(), "zwei                ");
}

TEST_F(EditorCliTest, ShowReportsAFailedLoadOnStderr)
{
    const QString path = Write("b.bmt", "Kein Projekt");
    const Result r = RunCli({"show", path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Quillmark: Unbekanntes Dateiformat\n");
}

TEST_F(EditorCliTest, CopyIsByteForByte)
{
    file.panelId = "BO 1";
    QByteArray lz(255, '\x02');
    lz[3] = '\x01';
    const QByteArray bytes = file.Header() + record + "L" + lz + "E";
    const QString in = Write("in.bmt", bytes);
    const QString out = dir.filePath("out.bmt");
    const Result r = RunCli({"copy", in, out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(Read(out), bytes);
}

TEST_F(EditorCliTest, AddStoresInKeyOrderAndSaves)
{
    const QString path = Write("c.bmt", file.Header() + record + "E");
    Result r = RunCli({"add", path, "--group", "5", "--detector", "1", "--text1", "Vorne",
                       "--text2", QString::fromUtf8("Tür")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(Read(path), file.Header() +
                              "S0005"
                              "01"
                              "Vorne       "
                              "T\xFCr" +
                              QByteArray(17, ' ') + record + "E");
}

TEST_F(EditorCliTest, RefusedRecordLeavesTheFileUntouched)
{
    const QByteArray bytes = file.Header() + record + "E";
    const QString path = Write("d.bmt", bytes);
    Result r = RunCli({"add", path, "--group", "0", "--detector", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QString::fromUtf8("Hinweis: Die MelderGruppe 0 ist nicht zulässig !\n"));
    EXPECT_EQ(Read(path), bytes);

    r = RunCli({"add", path, "--group", "3", "--detector", "1", "--text1", QString(13, 'x')});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Text 1")) << r.err.toStdString();
    EXPECT_EQ(Read(path), bytes);

    r = RunCli({"add", path, "--group", "3"});
    EXPECT_EQ(r.status, 2) << "missing detector is a usage error";
    EXPECT_EQ(Read(path), bytes);
}

TEST_F(EditorCliTest, AddRefusesATextTheCodePageCannotHold)
{
    const QByteArray bytes = file.Header() + record + "E";
    const QString path = Write("omega.bmt", bytes);
    Result r =
        RunCli({"add", path, "--group", "3", "--detector", "1", "--text1", QString::fromUtf8("Ω")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QString::fromUtf8("Quillmark: Text 1 enthält das Zeichen \"Ω\", das das FAT "
                                       "nicht darstellen kann.\n"));
    EXPECT_EQ(Read(path), bytes) << "no 0x1A in the file";

    r = RunCli({"add", path, "--group", "3", "--detector", "1", "--text2",
                QString::fromUtf8("Tür \xF0\x9F\x94\xA5")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Text 2")) << r.err.toStdString();
    EXPECT_EQ(Read(path), bytes);

    r = RunCli(
        {"add", path, "--group", "3", "--detector", "1", "--text1", QString::fromUtf8("€ Öl")});
    EXPECT_EQ(r.status, 0) << "the euro sign is in the code page: " << r.err.toStdString();
}

TEST_F(EditorCliTest, AddTakesTheEntryDialogsGroupRangeAndCardListCleaning)
{
    file.groupDigits = 5;
    const QString wide = Write("w.bmt", file.Header() + "E");
    Result r = RunCli({"add", wide, "--group", "12345", "--detector", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("1 - 9999")) << r.err.toStdString();
    EXPECT_EQ(Read(wide), file.Header() + "E");

    file.groupDigits = 4;
    file.panelId = "EE 4"; // eff eff with output cards: the texts are card lists
    const QString cards = Write("k.bmt", file.Header() + "E");
    r = RunCli({"add", cards, "--group", "1", "--detector", "1", "--text1", "1/05 0/00"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(Read(cards).contains("S000101"
                                     "1/05        "))
        << Read(cards).toStdString();
}
