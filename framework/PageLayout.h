#pragma once

// Qt
#include <QString>
#include <QVector>

// A printed page as plain data: texts and rules at positions in tenths of a millimetre,
// measured from the top left corner of the printable area with the y axis pointing down.
// The programs compute their pages as such data, the painter puts them on any device, and
// tests read them without a printer.

// A font as the page uses it: family and em height in 0.1 mm, normal weight, upright. An
// empty family stands for the device's own font (used when a face is not installed).
struct PageFont
{
    QString family;
    int height = 40;

    bool operator==(const PageFont& other) const
    {
        return family == other.family && height == other.height;
    }
};

enum class PageAlign { Left, Center, Right };

// One text: x is its left edge, centre or right edge by align; y is the top of its cell.
struct PageText
{
    QString text;
    PageFont font;
    int x = 0;
    int y = 0;
    PageAlign align = PageAlign::Left;
};

// A horizontal rule: `thickness` lines one unit apart from depth y down, from x1 to x2.
struct PageRule
{
    int x1 = 0;
    int x2 = 0;
    int y = 0;
    int thickness = 1;
};

struct PageLayout
{
    QVector<PageText> texts;
    QVector<PageRule> rules;

    // The first text equal to text, or nullptr (for tests and look-ups).
    const PageText* Find(const QString& text) const
    {
        for (const PageText& t : texts)
            if (t.text == text)
                return &t;
        return nullptr;
    }
};
