#include "MakerAddress.h"
#include "PrintProject.h"
#include "ProjectPrintout.h"

// Qt
#include <QPoint>

#include <gtest/gtest.h>

namespace {

class ProjectPrintoutTest : public ::testing::Test
{
protected:
    ProjectPrintout Printout(const QDate& date = QDate(2026, 3, 5))
    {
        return ProjectPrintout(doc.Data(), doc.Records(), metrics, fonts,
                               QStringLiteral("/daten/halle.bmt"), date);
    }
    static PageFont Font(const char* face, int height)
    {
        return *PrintFonts::Create(QString::fromLatin1(face), height);
    }
    static const PageText& Text(const PageLayout& page, const QString& text)
    {
        const PageText* found = page.Find(text);
        static const PageText none{QStringLiteral("<fehlt>"), PageFont(), 0, 0, PageAlign::Left};
        EXPECT_NE(found, nullptr) << text.toStdString();
        return found ? *found : none;
    }

    void SetUp() override
    {
        metrics.SetLinesPerPage(PrintMetrics::StandardLinesPerPage);
        ASSERT_TRUE(fonts.courier40 && fonts.arial70 && fonts.arial30 && fonts.arial20)
            << "fonts-liberation must be installed";
    }

    CQuillmarkDoc doc;
    PrintMetrics metrics;
    ProjectPrintFonts fonts = ProjectPrintFonts::Create();
};

} // namespace

TEST(PrintFonts, ArialAndCourierNewResolveToTheirMetricTwins)
{
    const auto courier = PrintFonts::Create("Courier New", 40);
    ASSERT_TRUE(courier);
    EXPECT_EQ(courier->height, 40);
    // A "Courier New" character 40 high is 2.4 mm wide.
    EXPECT_NEAR(PrintFonts::Advance(*courier, 'A'), 24.0, 0.05);
    EXPECT_EQ(PrintFonts::TextWidth(*courier, QString(10, 'W')), 240);
    EXPECT_FALSE(PrintFonts::Create("Keine Solche Schrift", 40));
    EXPECT_TRUE(PrintFonts::DeviceFont().family.isEmpty());
}

TEST(PrintFonts, SelectingAMissingFontKeepsTheOneInUse)
{
    CSelectedFont font;
    EXPECT_EQ(font.Current(), PrintFonts::DeviceFont());
    font.Select(PageFont{"Liberation Sans", 70});
    font.Select(std::nullopt);
    EXPECT_EQ(font.Current(), (PageFont{"Liberation Sans", 70}));
}

TEST(PrintMetricsTest, LinesPerPageIgnoresZeroAndLess)
{
    PrintMetrics m;
    EXPECT_EQ(m.linesPerPage, 0);
    EXPECT_EQ(m.firstListPage, 2);
    m.SetLinesPerPage(50);
    m.SetLinesPerPage(0);
    m.SetLinesPerPage(-3);
    EXPECT_EQ(m.linesPerPage, 50);
}

TEST_F(ProjectPrintoutTest, PageCountFollowsTheRowsFiftyPerPage)
{
    EXPECT_EQ(ProjectPrintout::ListPages(0, 50), 1);
    EXPECT_EQ(ProjectPrintout::ListPages(1, 50), 1);
    EXPECT_EQ(ProjectPrintout::ListPages(50, 50), 1);
    EXPECT_EQ(ProjectPrintout::ListPages(51, 50), 2);
    EXPECT_EQ(ProjectPrintout::ListPages(65535, 50), 1311);

    FillPrintProject(doc, 50);
    ProjectPrintout fifty = Printout();
    EXPECT_EQ(fifty.LastPage(), 2);
    EXPECT_EQ(Text(fifty.Page(2), "Seite 2 / 2").y, 2830);
    EXPECT_TRUE(fifty.Page(3).texts.isEmpty());

    FillPrintProject(doc, 51);
    ProjectPrintout more = Printout();
    ASSERT_EQ(more.LastPage(), 3);
    const PageLayout third = more.Page(3);
    EXPECT_NE(third.Find("Seite 3 / 3"), nullptr);
    // Row 51 alone, at the first row's depth.
    EXPECT_EQ(Text(third, "0051").y, 270);
    EXPECT_EQ(Text(third, "Halle 51").x, 800);
    EXPECT_EQ(third.Find("0050"), nullptr);
    EXPECT_EQ(Text(more.Page(2), "0050").y, 270 + 49 * 50);
}

TEST_F(ProjectPrintoutTest, AListPageReadsOnlyItsOwnRows)
{
    FillPrintProject(doc, 175);
    ProjectPrintout printout = Printout();
    ASSERT_EQ(printout.LastPage(), 5);
    const PageLayout page = printout.Page(3);
    // Page 3 starts with row 50, the 51st row.
    EXPECT_EQ(Text(page, "0051").y, 270);
    EXPECT_EQ(Text(page, "0100").y, 270 + 49 * 50);
    EXPECT_EQ(page.Find("0050"), nullptr);
    EXPECT_EQ(page.Find("0101"), nullptr);
    const PageLayout last = printout.Page(5);
    EXPECT_EQ(Text(last, "0151").y, 270);
    EXPECT_EQ(Text(last, "0175").y, 270 + 24 * 50);
}

TEST_F(ProjectPrintoutTest, ListPageLayoutInTextFormat2)
{
    FillPrintProject(doc, 3);
    const PageLayout page = Printout().Page(2);
    const PageText& title = Text(page, "FAT Versorgungstexte");
    EXPECT_EQ(title.font, Font("Arial", 70));
    EXPECT_EQ(title.align, PageAlign::Left);
    EXPECT_EQ(QPoint(title.x, title.y), QPoint(250, 100));
    const QList<QPair<QString, int>> headings = {
        {"Meldergruppe", 250}, {"Melder", 600}, {"Text 1", 800}, {"Text 2", 1400}};
    for (const auto& h : headings) {
        const PageText& t = Text(page, h.first);
        EXPECT_EQ(QPoint(t.x, t.y), QPoint(h.second, 190)) << h.first.toStdString();
        EXPECT_EQ(t.font, Font("Courier New", 40));
    }
    EXPECT_EQ(page.Find("PseudoMG"), nullptr);
    EXPECT_EQ(Text(page, "0002").x, 250);
    EXPECT_EQ(Text(page, "0002").y, 320);
    EXPECT_EQ(Text(page, "Halle 2").x, 800);
    EXPECT_EQ(Text(page, "Halle 3").y, 370);
    ASSERT_EQ(page.rules.size(), 2);
    EXPECT_EQ(page.rules[0].x1, 100);
    EXPECT_EQ(page.rules[0].x2, 2000);
    EXPECT_EQ(page.rules[0].y, 240);
    EXPECT_EQ(page.rules[0].thickness, 5);
    EXPECT_EQ(page.rules[1].y, 2780);
    EXPECT_EQ(page.rules[1].thickness, 5);
}

TEST_F(ProjectPrintoutTest, ListPageFooter)
{
    FillPrintProject(doc, 1);
    const PageLayout page = Printout().Page(2);
    const PageText& path = Text(page, "/daten/halle.bmt");
    EXPECT_EQ(QPoint(path.x, path.y), QPoint(100, 2800));
    EXPECT_EQ(path.align, PageAlign::Left);
    EXPECT_EQ(path.font, Font("Arial", 30));
    const PageText& number = Text(page, "Seite 2 / 2");
    EXPECT_EQ(QPoint(number.x, number.y), QPoint(900, 2830));
    EXPECT_EQ(number.align, PageAlign::Center);
    const PageText& date = Text(page, "Stand: 05.03.2026");
    EXPECT_EQ(QPoint(date.x, date.y), QPoint(2000, 2800));
    EXPECT_EQ(date.align, PageAlign::Right);
    const PageText& address = Text(page, MakerAddressLine());
    EXPECT_EQ(QPoint(address.x, address.y), QPoint(900, 2880));
    EXPECT_EQ(address.align, PageAlign::Center);
    EXPECT_EQ(address.font, Font("Arial", 20));
}

TEST_F(ProjectPrintoutTest, EffEffPagesHaveNoAddressLineAndNameWinmag)
{
    FillPrintProject(doc, 2, 2, 3);
    doc.Data().panelVariant = 5;
    ProjectPrintout printout = Printout();
    EXPECT_EQ(printout.Page(2).Find(MakerAddressLine()), nullptr);
    EXPECT_NE(printout.Page(2).Find("Seite 2 / 2"), nullptr);
    const PageLayout cover = printout.Page(1);
    EXPECT_EQ(Text(cover, "WINMAG").y, Text(cover, "Anlage:").y);
    EXPECT_EQ(cover.Find(MakerAddressLine()), nullptr) << "the cover page has no footer";
    EXPECT_EQ(cover.Find("Seite 1 / 2"), nullptr);
}

TEST_F(ProjectPrintoutTest, NotifierHeadingsStandOverTheFormat3Columns)
{
    FillPrintProject(doc, 1, 3, 6);
    const PageLayout page = Printout().Page(2);
    const QList<QPair<QString, int>> headings = {
        {"Zentrale/Loop", 250}, {"Adresse", 600}, {"Text 1", 800}, {"Text 2", 1400}};
    for (const auto& h : headings) {
        EXPECT_EQ(Text(page, h.first).x, h.second) << h.first.toStdString();
        EXPECT_EQ(Text(page, h.first).y, 190);
    }
    EXPECT_EQ(page.Find("Meldergruppe"), nullptr);
    EXPECT_EQ(Text(page, "0001").x, 250);
    EXPECT_EQ(Text(page, "00077").x, 550);
    EXPECT_EQ(Text(page, "01").x, 800);
    EXPECT_EQ(Text(page, "Halle 1").x, 1000);
    EXPECT_EQ(Text(page, "Tor Nord").x, 1500);
}

TEST_F(ProjectPrintoutTest, PseudoGroupHeadingsOfOtherPanels)
{
    FillPrintProject(doc, 1, 3, 2);
    const PageLayout page = Printout().Page(2);
    const QList<QPair<QString, int>> headings = {{"Meldergruppe", 250},
                                                 {"PseudoMG", 550},
                                                 {"Melder", 800},
                                                 {"Text 1", 1000},
                                                 {"Text 2", 1500}};
    for (const auto& h : headings)
        EXPECT_EQ(Text(page, h.first).x, h.second) << h.first.toStdString();
    EXPECT_EQ(Text(page, "00077").y, 270);
}

TEST_F(ProjectPrintoutTest, CoverPagePlacesItsBlocks)
{
    FillPrintProject(doc, 7);
    ProjectData& d = doc.Data();
    SetCoverText(d, 0,
                 "Gewerbepark S\xFC"
                 "d");
    SetCoverText(d, 1,
                 "Hafenstra\xDF"
                 "e 3");
    SetCoverText(d, 2, "Kassel");
    SetCoverText(d, 3, "Stadtwerke");
    SetCoverText(d, 4, "Ringweg 1");
    SetCoverText(d, 5, "Baunatal");
    const PageLayout cover = Printout().Page(1);

    const PageFont arial70 = Font("Arial", 70);
    const PageFont courier = Font("Courier New", 40);
    const int h70 = PrintFonts::TextHeight(arial70);
    const int w70 = PrintFonts::TextWidth(arial70, "FAT Versorgungstexte");
    const int h = PrintFonts::TextHeight(courier);

    const PageText& title = Text(cover, "FAT Versorgungstexte");
    EXPECT_EQ(QPoint(title.x, title.y), QPoint(1050, 300));
    EXPECT_EQ(title.align, PageAlign::Center);
    ASSERT_GE(cover.rules.size(), 3);
    const PageRule& titleRule = cover.rules[0];
    EXPECT_EQ(titleRule.y, 300 + h70 + 20);
    EXPECT_EQ(titleRule.thickness, 5);
    EXPECT_EQ(titleRule.x2 - titleRule.x1, w70);
    EXPECT_NEAR((titleRule.x1 + titleRule.x2) / 2.0, 1050, 1);

    // Two columns: X1 after the longest label, X2 after "Straße:".
    const int x1 = 200 + PrintFonts::TextWidth(courier, QStringLiteral("Kunde / Auftraggeber:"));
    const int x2 = x1 + PrintFonts::TextWidth(courier, QStringLiteral("Straße:")) + 50;
    EXPECT_EQ(x1, 200 + 21 * 24);
    EXPECT_EQ(x2, x1 + 7 * 24 + 50);

    const int project = titleRule.y + 200;
    const PageText& projekt = Text(cover, "Projekt:");
    EXPECT_EQ(QPoint(projekt.x, projekt.y), QPoint(150, project));
    EXPECT_EQ(projekt.font, courier);
    const PageRule& underline = cover.rules[1];
    EXPECT_EQ(underline.y, project + h + 10);
    EXPECT_EQ(underline.thickness, 2);
    EXPECT_EQ(underline.x1, 150);
    EXPECT_EQ(underline.x2, 150 + 8 * 24);
    EXPECT_EQ(QPoint(Text(cover, QStringLiteral("Gewerbepark Süd")).x,
                     Text(cover, QStringLiteral("Gewerbepark Süd")).y),
              QPoint(x2, project));
    EXPECT_EQ(Text(cover, QStringLiteral("Hafenstraße 3")).y, project + h + 10);
    EXPECT_EQ(Text(cover, "Kassel").y, project + 2 * (h + 10));
    EXPECT_EQ(Text(cover, "Kassel").x, x2);

    const int customer = project + 2 * (h + 10) + 300;
    EXPECT_EQ(Text(cover, "Kunde / Auftraggeber:").y, customer);
    EXPECT_EQ(Text(cover, "Kunde / Auftraggeber:").x, 150);
    EXPECT_EQ(cover.rules[2].y, customer + h + 10);
    EXPECT_EQ(cover.rules[2].x2 - cover.rules[2].x1, 21 * 24);
    EXPECT_EQ(Text(cover, "Stadtwerke").y, customer);
    EXPECT_EQ(Text(cover, "Baunatal").y, customer + 2 * (h + 10));

    const int x3 = 200 + PrintFonts::TextWidth(courier, QStringLiteral("Anzahl Meldungen:"));
    const int data = customer + 2 * (h + 10) + 400;
    EXPECT_EQ(QPoint(Text(cover, "Anlage:").x, Text(cover, "Anlage:").y), QPoint(150, data));
    const PageText& model = Text(cover, "UEZ1000 / UEZ2000 / BZ500 / UGM");
    EXPECT_EQ(QPoint(model.x, model.y), QPoint(x3, data));
    EXPECT_EQ(Text(cover, "Standardeingabe").y, data + 200);
    EXPECT_EQ(Text(cover, "Anzahl Meldungen:").y, data + 400);
    EXPECT_EQ(QPoint(Text(cover, "7").x, Text(cover, "7").y), QPoint(x3, data + 400));
    EXPECT_EQ(cover.Find("Offset:"), nullptr);
    EXPECT_EQ(Text(cover, "erstellt:").y, data + 600);
    EXPECT_EQ(Text(cover, "05.03.2026").y, data + 600);
}

TEST_F(ProjectPrintoutTest, OffsetLineOnlyForAnOffsetOtherThanZero)
{
    FillPrintProject(doc, 1);
    for (const QByteArray zero :
         {QByteArray("0"), QByteArray(), QByteArray("00"), QByteArray(" -0")}) {
        SetOffset(doc.Data(), zero);
        EXPECT_EQ(Printout().Page(1).Find("Offset:"), nullptr) << zero.constData();
    }
    SetOffset(doc.Data(), "-3");
    const PageLayout cover = Printout().Page(1);
    const PageText& label = Text(cover, "Offset:");
    const PageText& value = Text(cover, "-3");
    EXPECT_EQ(value.y, label.y);
    EXPECT_EQ(label.y, Text(cover, "Anzahl Meldungen:").y + 200);
    EXPECT_EQ(Text(cover, "erstellt:").y, label.y + 200);
    // The stored text stands unchanged.
    SetOffset(doc.Data(), "+012");
    EXPECT_NE(Printout().Page(1).Find("+012"), nullptr);
}

TEST_F(ProjectPrintoutTest, PrintableAreaOffsetsMovePaperPositions)
{
    FillPrintProject(doc, 1);
    metrics.offsetX = 42;
    metrics.offsetY = 61;
    ProjectPrintout printout = Printout();
    const PageLayout cover = printout.Page(1);
    EXPECT_EQ(Text(cover, "FAT Versorgungstexte").x, 1050 - 42);
    EXPECT_EQ(Text(cover, "FAT Versorgungstexte").y, 300 - 61);
    // The blocks below are measured from the printable area.
    EXPECT_EQ(Text(cover, "Projekt:").x, 150);
    const PageLayout list = printout.Page(2);
    EXPECT_EQ(QPoint(Text(list, "0001").x, Text(list, "0001").y), QPoint(250 - 42, 270 - 61));
    EXPECT_EQ(list.rules[1].y, 2780 - 61);
    EXPECT_EQ(Text(list, "Stand: 05.03.2026").x, 2000 - 42);
}

TEST_F(ProjectPrintoutTest, PrintDateHasLeadingZeros)
{
    EXPECT_EQ(ProjectPrintout::DateText(QDate(2026, 3, 5)), "05.03.2026");
    EXPECT_EQ(ProjectPrintout::DateText(QDate(2001, 12, 6)), "06.12.2001");
    FillPrintProject(doc, 1);
    ProjectPrintout printout = Printout(QDate(2026, 3, 5));
    EXPECT_NE(printout.Page(1).Find("05.03.2026"), nullptr);
    EXPECT_NE(printout.Page(2).Find("Stand: 05.03.2026"), nullptr);
}

TEST_F(ProjectPrintoutTest, PanelModelsAndFormatsOfTheCoverPage)
{
    EXPECT_EQ(ProjectPrintout::PanelModel(0, 0), "FC 330A");
    EXPECT_EQ(ProjectPrintout::PanelModel(0, 1), "FC 330A mit Eingangskarte");
    EXPECT_EQ(ProjectPrintout::PanelModel(0, 4), "");
    EXPECT_EQ(ProjectPrintout::PanelModel(1, 0), "Reihe FP 2000");
    EXPECT_EQ(ProjectPrintout::PanelModel(2, 0), "UEZ1000 / UEZ2000 / BZ500 / UGM");
    EXPECT_EQ(ProjectPrintout::PanelModel(3, 4), "FAT mit Ausgangskarten");
    EXPECT_EQ(ProjectPrintout::PanelModel(3, 5), "WINMAG");
    EXPECT_EQ(ProjectPrintout::PanelModel(3, 1), "BMC 1024-F / BMC 1016-F / BMC 664-F");
    EXPECT_EQ(ProjectPrintout::PanelModel(4, 0), "ESSER 800x");
    EXPECT_EQ(ProjectPrintout::PanelModel(5, 0), "FMZ 4100");
    EXPECT_EQ(ProjectPrintout::PanelModel(6, 0), "NF 1000");
    EXPECT_EQ(ProjectPrintout::PanelModel(7, 0), "SIGMASYS C / M");
    EXPECT_EQ(ProjectPrintout::PanelModel(7, 1), "AlgoRex 1115");
    EXPECT_EQ(ProjectPrintout::PanelModel(7, 5), "");
    EXPECT_EQ(ProjectPrintout::PanelModel(8, 0), "FAST 2000");
    EXPECT_EQ(ProjectPrintout::PanelModel(10, 0), "");
    EXPECT_EQ(ProjectRules::ModelText(7, 5), "") << "no model for a variant the panel lacks";
    EXPECT_EQ(ProjectRules::ModelText(0, 0), "Zentrale: FC 330A");

    EXPECT_EQ(ProjectPrintout::FormatText(2), "Standardeingabe");
    EXPECT_EQ(ProjectPrintout::FormatText(3), "Pseudo Meldergruppe");
    EXPECT_EQ(ProjectPrintout::FormatText(4), "2 x 20 Zeichen freier Text");
    EXPECT_EQ(ProjectPrintout::FormatText(1), "");

    // A project without a model or format prints no text beside the labels.
    FillPrintProject(doc, 1, 2, 7);
    doc.Data().panelVariant = 5;
    doc.Data().textFormat = 9;
    const PageLayout cover = Printout().Page(1);
    const int anlage = Text(cover, "Anlage:").y;
    const int format = Text(cover, "Textformat:").y;
    for (const PageText& t : cover.texts)
        if (t.y == anlage || t.y == format)
            EXPECT_EQ(t.x, 150) << t.text.toStdString();
}

TEST_F(ProjectPrintoutTest, MissingFacesPrintInTheFontInUse)
{
    FillPrintProject(doc, 1);
    fonts.arial70.reset();
    fonts.arial30.reset();
    const PageLayout list = Printout().Page(2);
    // No "Arial" 70: the title keeps the device's font.
    EXPECT_EQ(Text(list, "FAT Versorgungstexte").font, PrintFonts::DeviceFont());
    // No "Arial" 30: the footer keeps "Courier New" 40, selected for the rows.
    EXPECT_EQ(Text(list, "Seite 2 / 2").font, Font("Courier New", 40));
    EXPECT_EQ(Text(list, MakerAddressLine()).font, Font("Arial", 20));
}

TEST_F(ProjectPrintoutTest, LinesPerPageBeforeTheFirstUpdateIsTheStandard)
{
    FillPrintProject(doc, 120);
    metrics = PrintMetrics();
    EXPECT_EQ(Printout().LastPage(), 4);
    metrics.SetLinesPerPage(40);
    ProjectPrintout printout = Printout();
    EXPECT_EQ(printout.LastPage(), 4);
    EXPECT_EQ(Text(printout.Page(3), "0041").y, 270);
}

TEST_F(ProjectPrintoutTest, CoverPageTextsUpToTheirNul)
{
    FillPrintProject(doc, 1);
    SetCoverText(doc.Data(), 3, QByteArray(40, 'K'));
    EXPECT_NE(Printout().Page(1).Find(QString(40, 'K')), nullptr);
}
