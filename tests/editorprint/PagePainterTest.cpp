#include "PagePainter.h"
#include "PrintFonts.h"

// Qt
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// An image of 254 dots per inch: one pixel is one tenth of a millimetre.
QImage Sheet(const PageLayout& page)
{
    QImage image(1400, 700, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    QPainter painter(&image);
    PagePainter::Paint(painter, page);
    return image;
}

bool Ink(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// The box of the dark pixels inside area.
QRect InkBox(const QImage& image, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (Ink(image, x, y))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

} // namespace

TEST(PagePainter, RulesCoverExactlyTheirUnits)
{
    PageLayout page;
    page.rules.append(PageRule{100, 300, 50, 5});
    page.rules.append(PageRule{400, 420, 80, 2});
    const QImage image = Sheet(page);
    EXPECT_EQ(InkBox(image, QRect(0, 0, 1400, 700)), QRect(100, 50, 320, 32));
    EXPECT_EQ(InkBox(image, QRect(0, 0, 350, 700)), QRect(100, 50, 200, 5));
    EXPECT_EQ(InkBox(image, QRect(350, 0, 1000, 700)), QRect(400, 80, 20, 2));
}

TEST(PagePainter, TextsStandByTheirAlignmentWithTheirCellTopAtY)
{
    const PageFont courier = *PrintFonts::Create("Courier New", 40);
    const QString text = QStringLiteral("HHHH");
    const int width = PrintFonts::TextWidth(courier, text);
    ASSERT_EQ(width, 96);
    PageLayout page;
    page.texts.append(PageText{text, courier, 100, 100, PageAlign::Left});
    page.texts.append(PageText{text, courier, 700, 100, PageAlign::Center});
    page.texts.append(PageText{text, courier, 1300, 100, PageAlign::Right});
    const QImage image = Sheet(page);

    const int capTop = 100 + int(PrintFonts::Ascent(courier)) - 30;
    const QRect left = InkBox(image, QRect(0, 0, 400, 700));
    ASSERT_FALSE(left.isNull());
    // Ink begins within the side bearing of the first letter and ends on the baseline.
    EXPECT_GE(left.left(), 100);
    EXPECT_LE(left.left(), 106);
    EXPECT_GE(left.right(), 100 + width - 7);
    EXPECT_LE(left.right(), 100 + width);
    EXPECT_GE(left.top(), capTop - 3);
    EXPECT_LE(left.bottom(), 100 + int(PrintFonts::Ascent(courier)) + 1);

    const QRect centre = InkBox(image, QRect(400, 0, 600, 700));
    EXPECT_NEAR((centre.left() + centre.right()) / 2.0, 700, 2);
    EXPECT_EQ(centre.top(), left.top());
    const QRect right = InkBox(image, QRect(1000, 0, 400, 700));
    EXPECT_LE(right.right(), 1300);
    EXPECT_GE(right.right(), 1294);
}

TEST(PagePainter, TheSameFontSizeOnEveryDevice)
{
    // A 2.4 mm "Courier New" letter is 24 units wide at 254 dots per inch and at 600.
    const PageFont courier = *PrintFonts::Create("Courier New", 40);
    PageLayout page;
    page.texts.append(PageText{QString(40, QLatin1Char('M')), courier, 0, 0});
    QImage fine(2400, 200, QImage::Format_RGB32);
    fine.setDotsPerMeterX(23622); // 600 dpi
    fine.setDotsPerMeterY(23622);
    fine.fill(Qt::white);
    {
        QPainter painter(&fine);
        PagePainter::Paint(painter, page);
    }
    const QRect box = InkBox(fine, fine.rect());
    // 40 letters of 2.4 mm: 96 mm less the bearings, at 600 dpi about 2268 pixels.
    EXPECT_NEAR(box.width(), 96.0 / 25.4 * 600, 30);
}
