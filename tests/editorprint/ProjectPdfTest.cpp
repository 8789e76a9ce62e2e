#include "CMessageRecorder.h"
#include "CliProcess.h"
#include "MakerAddress.h"
#include "PdfWords.h"
#include "PrintProject.h"
#include "ProjectPrintout.h"

// Qt
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ProjectPdfTest : public ::testing::Test
{
protected:
    // Saves a project of rows (and the given cover texts) as name in the temporary folder.
    QString SaveProject(const QString& name, int rows, int textFormat = 2, int panelType = 2)
    {
        CQuillmarkDoc doc;
        FillPrintProject(doc, rows, textFormat, panelType);
        SetCoverText(doc.Data(), 0,
                     "Gewerbepark S\xFC"
                     "d");
        SetCoverText(doc.Data(), 3, "Stadtwerke Kassel");
        SetOffset(doc.Data(), "-3");
        const QString path = dir.filePath(name);
        CMessageRecorder messages;
        messages.FileNext(path);
        EXPECT_TRUE(doc.SaveProject(CQuillmarkDoc::SaveAs));
        return path;
    }

    static CliResult Print(const QStringList& args)
    {
        return RunCliProcess(QStringLiteral(QUILLMARK_CLI), QStringList{"print"} + args);
    }

    // Either date: the run may cross midnight.
    static bool IsToday(const QString& text, const QDate& before)
    {
        return text == ProjectPrintout::DateText(before) ||
               text == ProjectPrintout::DateText(QDate::currentDate());
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ProjectPdfTest, PrintWritesTheLayoutOntoA4)
{
    const QString project = SaveProject("halle.bmt", 51);
    const QString pdf = dir.filePath("halle.pdf");
    const QDate today = QDate::currentDate();
    const CliResult r = Print({project, "--pdf", pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();

    const PdfPages pages = ReadPdfWords(pdf);
    ASSERT_TRUE(pages.ok) << "pdftotext from poppler-utils must be installed";
    ASSERT_EQ(pages.PageCount(), 3);
    for (const auto& size : pages.sizes) {
        EXPECT_NEAR(size.first, 2100, 1);
        EXPECT_NEAR(size.second, 2970, 1);
    }

    // Cover page: the title centred at 105 mm, its top 30 mm from the top edge.
    const auto fat = pages.Find(1, "FAT");
    const auto title = pages.Find(1, "Versorgungstexte");
    ASSERT_EQ(fat.size(), 1);
    ASSERT_EQ(title.size(), 1);
    EXPECT_NEAR((fat[0].xMin + title[0].xMax) / 2, 1050, 3);
    EXPECT_NEAR(fat[0].yMin, 300, 3);
    const auto projekt = pages.Find(1, "Projekt:");
    ASSERT_EQ(projekt.size(), 1);
    EXPECT_NEAR(projekt[0].xMin, 150, 1);
    EXPECT_EQ(pages.LineAt(1, projekt[0].yMin), QStringLiteral("Projekt: Name: Gewerbepark Süd"));
    const auto kunde = pages.Find(1, "Stadtwerke");
    ASSERT_EQ(kunde.size(), 1);
    EXPECT_NEAR(kunde[0].xMin, 200 + 21 * 24 + 7 * 24 + 50, 1);
    const auto offset = pages.Find(1, "Offset:");
    ASSERT_EQ(offset.size(), 1);
    EXPECT_EQ(pages.LineAt(1, offset[0].yMin), "Offset: -3");
    const auto count = pages.Find(1, "Meldungen:");
    ASSERT_EQ(count.size(), 1);
    EXPECT_EQ(pages.LineAt(1, count[0].yMin), "Anzahl Meldungen: 51");
    EXPECT_NEAR(offset[0].yMin - count[0].yMin, 200, 1);
    const auto created = pages.Find(1, "erstellt:");
    ASSERT_EQ(created.size(), 1);
    EXPECT_TRUE(IsToday(pages.LineAt(1, created[0].yMin).mid(10), today));

    // List page 2: rows from 27 mm down, 5 mm apart; the footer at the sheet's foot.
    const auto first = pages.Find(2, "0001");
    ASSERT_EQ(first.size(), 1);
    EXPECT_NEAR(first[0].xMin, 250, 1);
    EXPECT_NEAR(first[0].yMin, 270, 2);
    EXPECT_EQ(pages.LineAt(2, first[0].yMin), "0001 01 Halle 1 Tor Nord");
    const auto fiftieth = pages.Find(2, "0050");
    ASSERT_EQ(fiftieth.size(), 1);
    EXPECT_NEAR(fiftieth[0].yMin, 270 + 49 * 50, 2);
    const auto heading = pages.Find(2, "Meldergruppe");
    ASSERT_EQ(heading.size(), 1);
    EXPECT_NEAR(heading[0].yMin, 190, 2);
    EXPECT_EQ(pages.LineAt(2, 2830), "Seite 2 / 3");
    const auto seite = pages.Find(2, "Seite");
    ASSERT_EQ(seite.size(), 1);
    const auto last = pages.Find(2, "3");
    ASSERT_FALSE(last.isEmpty());
    EXPECT_NEAR((seite[0].xMin + last.last().xMax) / 2, 900, 3);
    const auto stand = pages.Find(2, "Stand:");
    ASSERT_EQ(stand.size(), 1);
    EXPECT_NEAR(stand[0].yMin, 2800, 2);
    const QString footer = pages.LineAt(2, 2800);
    EXPECT_TRUE(footer.startsWith(QFileInfo(project).absoluteFilePath())) << footer.toStdString();
    EXPECT_TRUE(IsToday(footer.section(' ', -1), today)) << footer.toStdString();
    EXPECT_EQ(pages.LineAt(2, 2880), MakerAddressLine());

    // Page 3 holds the 51st row alone.
    const auto lone = pages.Find(3, "0051");
    ASSERT_EQ(lone.size(), 1);
    EXPECT_NEAR(lone[0].yMin, 270, 2);
    EXPECT_TRUE(pages.Find(3, "0050").isEmpty());
    EXPECT_EQ(pages.LineAt(3, 2830), "Seite 3 / 3");
}

TEST_F(ProjectPdfTest, AProjectWithoutRowsIsRefusedAndWritesNothing)
{
    const QString project = SaveProject("leer.bmt", 0);
    const QString pdf = dir.filePath("leer.pdf");
    const CliResult r = Print({project, "--pdf", pdf});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith("Quillmark: ")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(ProjectPdfTest, FailuresExitWithAMessageAndLeaveNoFile)
{
    const QString pdf = dir.filePath("x.pdf");
    CliResult r = Print({dir.filePath("fehlt.bmt"), "--pdf", pdf});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_FALSE(QFile::exists(pdf));

    const QString project = SaveProject("a.bmt", 2);
    r = Print({project, "--pdf", dir.filePath("kein/ordner/x.pdf")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("kann nicht angelegt werden")) << r.err.toStdString();

    // An existing file stays as it was when the printout is refused.
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("alt");
    old.close();
    r = Print({SaveProject("leer.bmt", 0), "--pdf", pdf});
    EXPECT_EQ(r.status, 1);
    QFile check(pdf);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), "alt");

    EXPECT_EQ(Print({project}).status, 2);
    EXPECT_EQ(Print({project, "--pdf"}).status, 2);
    EXPECT_EQ(Print({"--pdf", pdf}).status, 2);
    EXPECT_EQ(Print({project, "--pdf", pdf, "--bunt"}).status, 2);
}
