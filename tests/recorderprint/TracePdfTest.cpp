#include "CliProcess.h"
#include "ListFile.h"
#include "MakerAddress.h"
#include "PdfWords.h"

// Qt
#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class TracePdfTest : public ::testing::Test
{
protected:
    static CliResult Print(const QStringList& args)
    {
        return RunCliProcess(QStringLiteral(LINEPROBE_CLI), QStringList{"print"} + args);
    }
    void WriteList(const QString& path, const QList<QByteArray>& items)
    {
        ASSERT_TRUE(ListFile::Write(path, int(items.size()), [&](int i) { return items.at(i); }));
    }

    QTemporaryDir dir;
    const QString trace = dir.filePath("halle.ts");
};

} // namespace

TEST_F(TracePdfTest, TheAsciiListPrintsAsPdfWithItsFooter)
{
    QList<QByteArray> items;
    for (int i = 0; i < 60; ++i)
        items.append("Zeile " + QByteArray::number(i));
    WriteList(dir.filePath("halle.tvs"), items);
    const QString pdf = dir.filePath("halle.pdf");
    const QDate today = QDate::currentDate();
    const CliResult r = Print({trace, "--ascii", "--pdf", pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();

    const PdfPages pages = ReadPdfWords(pdf);
    ASSERT_TRUE(pages.ok) << "pdftotext from poppler-utils must be installed";
    // 54 lines a page on A4.
    ASSERT_EQ(pages.PageCount(), 2);
    EXPECT_NEAR(pages.sizes[0].first, 2100, 1);
    EXPECT_NEAR(pages.sizes[0].second, 2970, 1);
    // A loaded list item keeps the four blanks of the list file: 4 characters of 2.4 mm.
    EXPECT_EQ(pages.LineAt(1, 100), "Zeile 0");
    const auto first = pages.Find(1, "Zeile");
    ASSERT_EQ(first.size(), 54);
    EXPECT_NEAR(first[0].xMin, 100 + 4 * 24, 1);
    EXPECT_NEAR(first[0].yMin, 100, 2);
    EXPECT_NEAR(first[53].yMin, 100 + 53 * 50, 2);
    EXPECT_EQ(pages.LineAt(2, 100), "Zeile 54");
    EXPECT_EQ(pages.Find(2, "Zeile").size(), 6);

    EXPECT_EQ(pages.LineAt(2, 2880), "Seite 2 / 2");
    const auto seite = pages.Find(2, "Seite");
    ASSERT_EQ(seite.size(), 1);
    const auto two = pages.Find(2, "2");
    ASSERT_FALSE(two.isEmpty());
    EXPECT_NEAR((seite[0].xMin + two.last().xMax) / 2, 950, 3);
    const auto path = pages.Find(1, trace);
    ASSERT_EQ(path.size(), 1);
    EXPECT_NEAR(path[0].xMin, 100, 1);
    EXPECT_NEAR(path[0].yMin, 2850, 2);
    const auto stand = pages.Find(1, "Stand:");
    ASSERT_EQ(stand.size(), 1);
    const QString date = pages.LineAt(1, 2850).section(' ', -1);
    EXPECT_TRUE(date == today.toString("dd.MM.yyyy") ||
                date == QDate::currentDate().toString("dd.MM.yyyy"));
    const auto dateWord = pages.Find(1, date);
    ASSERT_FALSE(dateWord.isEmpty());
    EXPECT_NEAR(dateWord.last().xMax, 2000, 2);
    EXPECT_EQ(pages.LineAt(1, 2920), MakerAddressLine());
}

TEST_F(TracePdfTest, TheHexListWrapsOnWholeUnits)
{
    // 60 units "41 " make 180 characters: small font, 103 characters a line, 34 units.
    QByteArray line;
    for (int i = 0; i < 60; ++i)
        line += "41 ";
    WriteList(dir.filePath("halle.tvh"), {line, "0D 0A "});
    const QString pdf = dir.filePath("hex.pdf");
    const CliResult r = Print({trace, "--hex", "--pdf", pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const PdfPages pages = ReadPdfWords(pdf);
    ASSERT_EQ(pages.PageCount(), 1);
    // The item is "    " and the units; its first printed line holds 4 + 33 units' text.
    const auto units = pages.Find(1, "41");
    ASSERT_EQ(units.size(), 60);
    EXPECT_NEAR(units[0].xMin, 100 + 4 * 18, 1);
    int firstLine = 0;
    for (const PdfWord& w : units)
        firstLine += qAbs(w.yMin - units[0].yMin) < 5 ? 1 : 0;
    EXPECT_EQ(firstLine, 33);
    // The continuation stands four blanks in and starts on a whole unit.
    EXPECT_NEAR(units[33].yMin, units[0].yMin + 50, 2);
    EXPECT_NEAR(units[33].xMin, 100 + 4 * 18, 1);
    EXPECT_EQ(pages.LineAt(1, units[0].yMin + 50).count("41"), 27);
    EXPECT_EQ(pages.LineAt(1, units[0].yMin + 100), "0D 0A");
}

TEST_F(TracePdfTest, AnEmptyListFilePrintsOnePageWithTheFooter)
{
    QFile empty(dir.filePath("halle.tvs"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    const QString pdf = dir.filePath("leer.pdf");
    const CliResult r = Print({trace, "--ascii", "--pdf", pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const PdfPages pages = ReadPdfWords(pdf);
    ASSERT_EQ(pages.PageCount(), 1);
    EXPECT_EQ(pages.LineAt(1, 2880), "Seite 1 / 1");
    for (const PdfWord& w : pages.words)
        EXPECT_GE(w.yMin, 2840) << w.text.toStdString();
}

TEST_F(TracePdfTest, AMissingListFileIsReportedAndWritesNothing)
{
    const QString pdf = dir.filePath("x.pdf");
    CliResult r = Print({trace, "--hex", "--pdf", pdf});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("Lineprobe: File konnte nicht geöffnet werden"));
    EXPECT_FALSE(QFile::exists(pdf));

    WriteList(dir.filePath("halle.tvs"), {"eins"});
    r = Print({trace, "--ascii", "--pdf", dir.filePath("fehlt/x.pdf")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith("Lineprobe: ")) << r.err.toStdString();

    EXPECT_EQ(Print({trace, "--pdf", pdf}).status, 2);
    EXPECT_EQ(Print({trace, "--ascii", "--hex", "--pdf", pdf}).status, 2);
    EXPECT_EQ(Print({trace, "--ascii"}).status, 2);
    EXPECT_EQ(Print({"--ascii", "--pdf", pdf}).status, 2);
    EXPECT_FALSE(QFile::exists(pdf));
}
