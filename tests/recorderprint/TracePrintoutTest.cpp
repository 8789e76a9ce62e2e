#include "MakerAddress.h"
#include "TracePrintout.h"

// Qt
#include <QPoint>

#include <gtest/gtest.h>

namespace {

using View = LineRules::View;

class TracePrintoutTest : public ::testing::Test
{
protected:
    // Prints items on a printable area of width x height.
    TracePrintout Print(View view, int width = 2100, int height = 2970)
    {
        TracePrintout printout(view, fonts);
        printout.MeasurePage(width, height);
        printout.Begin(
            int(items.size()), [this](int i) { return items.at(i); },
            QStringLiteral("/spur/halle.ts"), QDate(2001, 12, 6));
        return printout;
    }
    // The body texts of a page (those left of the footer), top to bottom.
    static QList<PageText> Body(const PageLayout& page, const TracePageSetup& setup)
    {
        QList<PageText> body;
        for (const PageText& t : page.texts)
            if (t.y < setup.rulePosition)
                body.append(t);
        return body;
    }
    static const PageText* Starting(const PageLayout& page, const QString& prefix)
    {
        for (const PageText& t : page.texts)
            if (t.text.startsWith(prefix))
                return &t;
        return nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(fonts.bodyNormal && fonts.bodySmall && fonts.footer && fonts.address)
            << "fonts-liberation must be installed";
    }

    TracePrintFonts fonts = TracePrintFonts::Create();
    QList<QByteArray> items;
};

} // namespace

TEST(TracePageSetupTest, FilledFromThePrintableArea)
{
    const TracePageSetup s = TracePageSetup::ForArea(2100, 2970);
    EXPECT_EQ(s.textWidth, 1900);
    EXPECT_EQ(s.footerCentre, 950);
    EXPECT_EQ(s.rulePosition, 2830);
    EXPECT_EQ(s.pathLine, 2850);
    EXPECT_EQ(s.pageNumberLine, 2880);
    EXPECT_EQ(s.addressLine, 2920);
    EXPECT_EQ(s.linesPerPage, 54);
    EXPECT_EQ(TracePageSetup::ForArea(2000, 2869).linesPerPage, 51);
}

TEST(TracePrintoutPieces, AnItemOf200CharactersAt80PrintsAsThreeLines)
{
    const QByteArray item = QByteArray(80, 'a') + QByteArray(80, 'b') + QByteArray(40, 'c');
    const QList<QByteArray> pieces = TracePrintout::Pieces(item, 80);
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces[0], QByteArray(80, 'a'));
    EXPECT_EQ(pieces[1], "    " + QByteArray(80, 'b'));
    EXPECT_EQ(pieces[2], "    " + QByteArray(40, 'c'));
    EXPECT_EQ(TracePrintout::PrintedLines(200, 80), 3);
    EXPECT_EQ(TracePrintout::PrintedLines(160, 80), 2);
    EXPECT_EQ(TracePrintout::Pieces(QByteArray(160, 'x'), 80).size(), 2);
    EXPECT_EQ(TracePrintout::PrintedLines(79, 80), 1);
    EXPECT_EQ(TracePrintout::PrintedLines(0, 80), 1);
    EXPECT_EQ(TracePrintout::PrintedLines(200, 0), 1);
    EXPECT_EQ(TracePrintout::Pieces("", 80), QList<QByteArray>{""});
    EXPECT_EQ(TracePrintout::DateText(QDate(2001, 12, 6)), "06.12.2001");
}

TEST(TracePrintoutPieces, HexLinesEndBetweenTwoUnits)
{
    // A line of the live view: units from the first character.
    QByteArray live;
    for (int i = 0; i < 80; ++i)
        live += "41 ";
    EXPECT_EQ(TracePrintout::Breaks(240, 103, 0), (std::vector<int>{102, 204, 240}));
    const QList<QByteArray> pieces = TracePrintout::Pieces(live, 103, 0);
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces[0], live.left(102));
    EXPECT_EQ(pieces[1], "    " + live.mid(102, 102));
    EXPECT_EQ(pieces[2], "    " + live.mid(204));
    EXPECT_EQ(TracePrintout::PrintedLines(240, 103, 0), 3);
    // A loaded list line: four blanks, then the units, cut at 254 characters.
    const QByteArray loaded = ("    " + live).left(254);
    EXPECT_EQ(TracePrintout::Breaks(254, 103, 4), (std::vector<int>{103, 205, 254}));
    for (const QByteArray& piece : TracePrintout::Pieces(loaded, 103, 4))
        EXPECT_TRUE(piece.startsWith("    41 ")) << piece.constData();
    // The ASCII view cuts at the full width.
    EXPECT_EQ(TracePrintout::Breaks(200, 80), (std::vector<int>{80, 160, 200}));
    EXPECT_EQ(TracePrintout::Breaks(80, 80), (std::vector<int>{80}));
    EXPECT_EQ(TracePrintout::Breaks(5, 0), (std::vector<int>{5}));
}

TEST_F(TracePrintoutTest, TheHexViewKeepsEveryUnitWhole)
{
    QByteArray live;
    for (int i = 0; i < 80; ++i)
        live += QByteArray::number(i % 16 + 0xA0, 16).toUpper() + ' ';
    items = {"Hersteller:  BOSCH", live};
    const TracePrintout printout = Print(View::Hex);
    ASSERT_EQ(printout.CharsPerLine(), 103);
    const QList<PageText> body = Body(printout.Page(1), printout.Setup());
    ASSERT_EQ(body.size(), 4);
    EXPECT_EQ(body[1].text.size(), 102);
    EXPECT_EQ(body[2].text, "    " + QString::fromLatin1(live.mid(102, 102)));
    EXPECT_EQ(body[3].y, 250);
    for (const PageText& t : body.mid(1))
        EXPECT_TRUE(t.text.trimmed().split(' ').last().size() == 2) << t.text.toStdString();
}

TEST_F(TracePrintoutTest, AnEmptyListPrintsOnePageWithTheFooterOnly)
{
    const TracePrintout printout = Print(View::Ascii);
    ASSERT_EQ(printout.PageCount(), 1);
    const PageLayout page = printout.Page(1);
    EXPECT_TRUE(Body(page, printout.Setup()).isEmpty());
    ASSERT_EQ(page.rules.size(), 1);
    EXPECT_EQ(page.rules[0].x1, 100);
    EXPECT_EQ(page.rules[0].x2, 2000);
    EXPECT_EQ(page.rules[0].y, 2830);
    EXPECT_EQ(page.rules[0].thickness, 5);
    const PageText* path = page.Find("/spur/halle.ts");
    ASSERT_TRUE(path);
    EXPECT_EQ(QPoint(path->x, path->y), QPoint(100, 2850));
    EXPECT_EQ(path->font, *fonts.footer);
    const PageText* number = page.Find("Seite 1 / 1");
    ASSERT_TRUE(number);
    EXPECT_EQ(QPoint(number->x, number->y), QPoint(950, 2880));
    EXPECT_EQ(number->align, PageAlign::Center);
    const PageText* date = page.Find("Stand: 06.12.2001");
    ASSERT_TRUE(date);
    EXPECT_EQ(QPoint(date->x, date->y), QPoint(2000, 2850));
    EXPECT_EQ(date->align, PageAlign::Right);
    const PageText* address = page.Find(MakerAddressLine());
    ASSERT_TRUE(address);
    EXPECT_EQ(QPoint(address->x, address->y), QPoint(950, 2920));
    EXPECT_EQ(address->font, *fonts.address);
}

TEST_F(TracePrintoutTest, ItemsThatFitPrintOneLineEach4mmHigh5mmApart)
{
    for (int i = 0; i < 10; ++i)
        items.append("Zeile " + QByteArray::number(i) + QByteArray(60, '.'));
    items.append(QByteArray(79, 'W')); // the longest that fits 190 mm at 2.4 mm
    const TracePrintout printout = Print(View::Ascii);
    EXPECT_FALSE(printout.SmallFont());
    EXPECT_EQ(printout.CharsPerLine(), 79);
    const QList<PageText> body = Body(printout.Page(1), printout.Setup());
    ASSERT_EQ(body.size(), 11);
    for (int i = 0; i < body.size(); ++i) {
        EXPECT_EQ(body[i].x, 100);
        EXPECT_EQ(body[i].y, 100 + 50 * i);
        EXPECT_EQ(body[i].font, *fonts.bodyNormal);
        EXPECT_EQ(body[i].text.toLatin1(), items[i]);
    }
}

TEST_F(TracePrintoutTest, LongerItemsTakeTheSmallFontThenWrap)
{
    items = {QByteArray(80, 'x')};
    TracePrintout printout = Print(View::Ascii);
    EXPECT_TRUE(printout.SmallFont());
    EXPECT_EQ(printout.CharsPerLine(), 80);

    items = {QByteArray(105, 'x')};
    printout = Print(View::Ascii);
    EXPECT_TRUE(printout.SmallFont());
    EXPECT_EQ(printout.CharsPerLine(), 105);
    EXPECT_EQ(printout.Page(1).texts.first().font, *fonts.bodySmall);

    // 190 mm hold 105 letters of 1.8 mm; the hex view keeps 4 + 3k of them.
    items = {QByteArray(106, 'x')};
    EXPECT_EQ(Print(View::Ascii).CharsPerLine(), 105);
    EXPECT_EQ(Print(View::Hex).CharsPerLine(), 103);
    items = {QByteArray(254, 'x')};
    EXPECT_EQ(Print(View::Hex).CharsPerLine(), 103);
    // A hex view list that fits is not cut to units.
    items = {QByteArray(100, 'x')};
    EXPECT_EQ(Print(View::Hex).CharsPerLine(), 100);
}

TEST_F(TracePrintoutTest, AnItemOf200CharactersWrapsAt80)
{
    // 145 mm of text width hold 80 letters of 1.8 mm.
    const QByteArray item = QByteArray(80, 'a') + QByteArray(80, 'b') + QByteArray(40, 'c');
    items = {"davor", item, "danach"};
    const TracePrintout printout = Print(View::Ascii, 1650, 2970);
    ASSERT_EQ(printout.CharsPerLine(), 80);
    const QList<PageText> body = Body(printout.Page(1), printout.Setup());
    ASSERT_EQ(body.size(), 5);
    EXPECT_EQ(body[1].text, QString(80, 'a'));
    EXPECT_EQ(body[2].text, "    " + QString(80, 'b'));
    EXPECT_EQ(body[3].text, "    " + QString(40, 'c'));
    EXPECT_EQ(body[4].text, "danach");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(body[i].y, 100 + 50 * i);
}

TEST_F(TracePrintoutTest, ItemsLongerThan254AreCut)
{
    items = {QByteArray(300, 'z')};
    const TracePrintout printout = Print(View::Ascii);
    EXPECT_EQ(printout.CharsPerLine(), 105);
    const QList<PageText> body = Body(printout.Page(1), printout.Setup());
    ASSERT_EQ(body.size(), 3);
    EXPECT_EQ(body[2].text, "    " + QString(254 - 210, 'z'));
}

TEST_F(TracePrintoutTest, PaginationTableAndPageNumbers)
{
    // 54 lines a page: 250 one-line items make 5 pages.
    for (int i = 0; i < 250; ++i)
        items.append("Zeile " + QByteArray::number(i));
    const TracePrintout printout = Print(View::Ascii);
    ASSERT_EQ(printout.PageCount(), 5);
    const auto& starts = printout.PageStarts();
    ASSERT_EQ(starts.size(), 6u);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(starts[size_t(k)], (TracePrintout::Position{54 * k, 0}));
    EXPECT_EQ(starts[5], (TracePrintout::Position{250, 0}));
    const PageLayout second = printout.Page(2);
    EXPECT_NE(second.Find("Seite 2 / 5"), nullptr);
    EXPECT_EQ(Body(second, printout.Setup()).first().text, "Zeile 54");
    EXPECT_EQ(Body(second, printout.Setup()).last().text, "Zeile 107");
    EXPECT_EQ(Body(printout.Page(5), printout.Setup()).size(), 250 - 4 * 54);
}

TEST_F(TracePrintoutTest, AnItemThatWouldPassThePageEndBeginsTheNextPage)
{
    // 80 characters a line: 53 one-line items, then one of two lines.
    for (int i = 0; i < 53; ++i)
        items.append("kurz");
    items.append(QByteArray(120, 'L'));
    items.append("danach");
    const TracePrintout printout = Print(View::Ascii, 1650, 2970);
    ASSERT_EQ(printout.CharsPerLine(), 80);
    ASSERT_EQ(printout.PageCount(), 2);
    EXPECT_EQ(printout.PageStarts()[1], (TracePrintout::Position{53, 0}));
    const QList<PageText> body = Body(printout.Page(2), printout.Setup());
    ASSERT_EQ(body.size(), 3);
    EXPECT_EQ(body[0].y, 100);
    EXPECT_EQ(body[1].text, "    " + QString(40, 'L'));
    EXPECT_EQ(body[2].y, 200);
}

TEST_F(TracePrintoutTest, AnItemLongerThanAPageGoesOnOverTheNextPages)
{
    // A sheet of 4 lines and 10 characters a line: an item of 100 characters needs 10 lines.
    const int height = 100 + 170 + 4 * 50;
    const int width = 200 + 10 * 18;
    items = {"a", QByteArray(30, '1') + QByteArray(30, '2') + QByteArray(40, '3'), "b"};
    const TracePrintout printout = Print(View::Ascii, width, height);
    ASSERT_EQ(printout.Setup().linesPerPage, 4);
    ASSERT_EQ(printout.CharsPerLine(), 10);
    const auto& starts = printout.PageStarts();
    ASSERT_EQ(starts.size(), 5u);
    EXPECT_EQ(starts[0], (TracePrintout::Position{0, 0}));
    EXPECT_EQ(starts[1], (TracePrintout::Position{1, 0}));
    EXPECT_EQ(starts[2], (TracePrintout::Position{1, 4}));
    EXPECT_EQ(starts[3], (TracePrintout::Position{1, 8}));
    EXPECT_EQ(starts[4], (TracePrintout::Position{3, 0}));
    ASSERT_EQ(printout.PageCount(), 4);
    // No printed line reaches the footer.
    for (int k = 1; k <= 4; ++k) {
        const QList<PageText> body = Body(printout.Page(k), printout.Setup());
        EXPECT_LE(body.size(), 4);
        for (const PageText& t : body)
            EXPECT_LE(t.y + 40, printout.Setup().rulePosition);
    }
    const QList<PageText> third = Body(printout.Page(3), printout.Setup());
    ASSERT_EQ(third.size(), 4);
    EXPECT_EQ(third[0].text, "    " + QString(10, '2'));
    EXPECT_EQ(third[3].text, "    " + QString(10, '3'));
    const QList<PageText> last = Body(printout.Page(4), printout.Setup());
    ASSERT_EQ(last.size(), 3);
    EXPECT_EQ(last[1].text, "    " + QString(10, '3'));
    EXPECT_EQ(last[2].text, "b");
    EXPECT_NE(printout.Page(4).Find("Seite 4 / 4"), nullptr);

    // The first item alone too long: page 1 is not left empty.
    items = {QByteArray(100, 'x')};
    const TracePrintout alone = Print(View::Ascii, width, height);
    EXPECT_EQ(alone.PageCount(), 3);
    EXPECT_EQ(Body(alone.Page(1), alone.Setup()).size(), 4);
}

TEST_F(TracePrintoutTest, BodyAndFooterFontsThatAreMissingKeepTheFontInUse)
{
    fonts.bodyNormal.reset();
    fonts.footer.reset();
    items = {"eins"};
    const TracePrintout printout = Print(View::Ascii);
    const PageLayout page = printout.Page(1);
    EXPECT_EQ(page.Find("eins")->font, PrintFonts::DeviceFont());
    EXPECT_EQ(page.Find("Seite 1 / 1")->font, PrintFonts::DeviceFont());
    EXPECT_EQ(page.Find(MakerAddressLine())->font, *fonts.address);
}

TEST_F(TracePrintoutTest, Windows1252ItemsPrintAsTheirCharacters)
{
    items = {"T\xFC"
             "r offen \x80"};
    const TracePrintout printout = Print(View::Ascii);
    EXPECT_NE(printout.Page(1).Find(QStringLiteral("Tür offen €")), nullptr);
}
