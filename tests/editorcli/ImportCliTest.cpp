#include "BmfRecords.h"
#include "CliProcess.h"
#include "ProjectBytes.h"

// Qt
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CliResult Cli(const QStringList& args)
{
    return RunCliProcess(QStringLiteral(QUILLMARK_CLI), args);
}

class ImportCliTest : public ::testing::Test
{
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QString Project(const QByteArray& panelId, int textFormat = 2)
    {
        ProjectBytes p;
        p.panelId = panelId;
        p.textFormat = textFormat;
        QByteArray bytes = p.Header() + "S0012"
                                        "03"
                                        "Alter Text  "
                                        "zwei                ";
        if (panelId.startsWith("BO"))
            bytes += 'L' + QByteArray(255, '\2');
        return Write("projekt.bmt", bytes + 'E');
    }
    QJsonObject Show(const QString& path)
    {
        const CliResult r = Cli({"show", path});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out).object();
    }
    QString Out() const { return dir.filePath("neu.bmt"); }

    QTemporaryDir dir;
    const QByteArray mixed =
        Bmf::Standard(5, 2, "Kurz", "eins") + Bmf::TwoLines(6, 1, "Zwanzig Zeichen lang", "zwei");
};

TEST_F(ImportCliTest, ImportBmfWritesTheImportedProject)
{
    const QString project = Project("AT 1");
    const QString bmf =
        Write("a.bmf", Bmf::Pseudo(12, 3, 0x1234, "Halle", "Nord") + Bmf::Pseudo(4, 1, 9, "B", ""));
    const CliResult r = Cli({"import-bmf", project, bmf, "--out", Out()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Sollten Sie einen Offset versorgt haben")) << r.err.toStdString();
    const QJsonObject o = Show(Out());
    EXPECT_EQ(o["textFormat"].toInt(), 3);
    const QJsonArray records = o["records"].toArray();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].toObject()["group"].toString(), "0004");
    EXPECT_EQ(records[1].toObject()["pseudoGroup"].toString(), "466"); // first 3 digits of 4660
    EXPECT_TRUE(r.err.contains("Die Umwandlung konnte nicht komplett"));
    // The project itself stays as it was.
    EXPECT_EQ(Show(project)["records"].toArray()[0].toObject()["text1"].toString(), "Alter Text  ");
}

TEST_F(ImportCliTest, ImportBmfAnswersTheFormatDialogWithFormat)
{
    const QString project = Project("AT 1");
    const QString bmf = Write("a.bmf", mixed);

    CliResult r = Cli({"import-bmf", project, bmf, "--out", Out()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("--format")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(Out()));

    r = Cli({"import-bmf", project, bmf, "--out", Out(), "--format", "3"}); // disabled kind
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(QFile::exists(Out()));

    r = Cli({"import-bmf", project, bmf, "--out", Out(), "--format", "4"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = Show(Out());
    EXPECT_EQ(o["textFormat"].toInt(), 4);
    EXPECT_EQ(o["records"].toArray()[1].toObject()["formatTag"].toString(), "F");

    EXPECT_EQ(Cli({"import-bmf", project, bmf, "--out", Out(), "--format", "5"}).status, 2);
}

TEST_F(ImportCliTest, ImportBmfIsRefusedWhereTheCommandIsDisabled)
{
    const QString project = Project("AC 2"); // Alarmcom with input card
    const CliResult r =
        Cli({"import-bmf", project, Write("a.bmf", Bmf::Standard(1, 1, "a", "")), "--out", Out()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("BMF - Dateien importieren")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(Out()));
}

TEST_F(ImportCliTest, ImportBmfReadsTheLzFileOfABoschProjectWhenGiven)
{
    const QString project = Project("BO 1");
    const QString bmf = Write("a.bmf", Bmf::Standard(1, 1, "a", ""));
    CliResult r = Cli({"import-bmf", project, bmf, "--out", Out()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Möchten Sie die LZ-Daten einlesen ?"));
    EXPECT_EQ(Show(Out())["lzAssignment"].toArray()[0].toInt(), 2);

    const QString lz = Write("a.lz", "F\nab 123 S\n");
    r = Cli({"import-bmf", project, bmf, "--out", Out(), "--lz", lz});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonArray table = Show(Out())["lzAssignment"].toArray();
    EXPECT_EQ(table[0].toInt(), 1);
    EXPECT_EQ(table[1].toInt(), 4);
    EXPECT_EQ(table[2].toInt(), 2);

    QFile::remove(Out());
    r = Cli({"import-bmf", project, bmf, "--out", Out(), "--lz", Write("leer.lz", "")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(QFile::exists(Out()));
}

TEST_F(ImportCliTest, ImportLzWritesInPlaceOrToOut)
{
    const QString project = Project("BO 1");
    const QString lz = Write("a.lz", "A\n");
    ASSERT_EQ(Cli({"import-lz", project, lz, "--out", Out()}).status, 0);
    EXPECT_EQ(Show(Out())["lzAssignment"].toArray()[0].toInt(), 3);
    EXPECT_EQ(Show(project)["lzAssignment"].toArray()[0].toInt(), 2);
    ASSERT_EQ(Cli({"import-lz", project, lz}).status, 0);
    EXPECT_EQ(Show(project)["lzAssignment"].toArray()[0].toInt(), 3);
    EXPECT_EQ(Show(project)["records"].toArray().size(), 1);

    const QString other = Write("at.bmt", ProjectBytes().Header() + 'E');
    EXPECT_EQ(Cli({"import-lz", other, lz}).status, 1);
}

TEST_F(ImportCliTest, ImportPanelDispatchesByThePanel)
{
    const QString project = Project("AC 1");
    const QString cfg = Write("a.cfg", "Meldergruppe 12\r\nElementnummer 3\r\n"
                                       "LCD Zeile 2 :  Treppenhaus Ost\r\n");
    CliResult r = Cli({"import-panel", project, cfg, "--out", Out()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Kontrollieren Sie die importiereten Texte"));
    QJsonArray records = Show(Out())["records"].toArray();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].toObject()["text1"].toString(), "Treppenhaus ");
    EXPECT_EQ(records[0].toObject()["text2"].toString(), "Ost                 ");

    QFile::remove(Out());
    r = Cli({"import-panel", Project("TW 1"),
             Write("a.cmb", "@Text\r\n01 5 0012 Wort 0123456789X\r\n"), "--out", Out()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    records = Show(Out())["records"].toArray();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].toObject()["detector"].toString(), "05");

    QFile::remove(Out());
    r = Cli({"import-panel", Project("BO 1"), cfg, "--out", Out()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Zentralentexte übernehmen"));
    EXPECT_FALSE(QFile::exists(Out()));

    r = Cli({"import-panel", Project("AC 1"), Write("leer.cfg", ""), "--out", Out()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("In der Datei befinden sich keine Texte."));
    EXPECT_FALSE(QFile::exists(Out()));
}

TEST_F(ImportCliTest, ConvertTakesOneOfTheTwoOtherFormats)
{
    const QString project = Project("AT 1");
    CliResult r = Cli({"convert", project, "--to", "3", "--out", Out()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Hierdurch können Zeichen verloren gehen."));
    EXPECT_TRUE(r.err.contains("Kontrollieren Sie alle Daten auf ihre Richtigkeit."));
    const QJsonObject o = Show(Out());
    EXPECT_EQ(o["textFormat"].toInt(), 3);
    EXPECT_EQ(o["text1Length"].toInt(), 13);
    EXPECT_EQ(o["records"].toArray()[0].toObject()["pseudoGroup"].toString(), "000");
    EXPECT_EQ(o["records"].toArray()[0].toObject()["text1"].toString(), "Alter Text   ");

    QFile::remove(Out());
    for (const char* to : {"2", "7", "x"}) {
        r = Cli({"convert", project, "--to", to, "--out", Out()});
        EXPECT_EQ(r.status, 1) << to;
        EXPECT_FALSE(QFile::exists(Out()));
    }
    r = Cli({"convert", Project("NF 1"), "--to", "4", "--out", Out()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Eingabeformat ändern"));
    EXPECT_FALSE(QFile::exists(Out()));
    EXPECT_EQ(Cli({"convert", project, "--out", Out()}).status, 2);
}

} // namespace
