#pragma once

#include "LineRules.h"
#include "PageLayout.h"
#include "TracePageSetup.h"
#include "TracePrintFonts.h"

// Qt
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <functional>
#include <vector>

// The printout of a trace view's list as page layouts: the items in a fixed-pitch font, cut
// into printed lines of a fixed number of characters, and a footer on every page. Both views
// print alike; the hex view keeps its lines on whole hex units.
class TracePrintout
{
public:
    using ItemSource = std::function<QByteArray(int index)>;
    enum { ItemChars = 254, MaxCharsPerLine = 255, ContinuationIndent = 4 };

    // Where a page begins: an item and the printed line inside it (0 unless a long item
    // continues from the page before).
    struct Position
    {
        int item = 0;
        int piece = 0;
        bool operator==(const Position& o) const { return item == o.item && piece == o.piece; }
    };

    TracePrintout(LineRules::View view, const TracePrintFonts& fonts);

    // The printable area in 0.1 mm.
    void MeasurePage(int width, int height);
    // Chooses the body font and the characters per line from the longest item, then
    // paginates. items(i) gives item i of count; it is asked again for the pages' texts.
    void Begin(int count, ItemSource items, const QString& tracePath, const QDate& date);

    int PageCount() const { return qMax(1, int(m_pageStarts.size()) - 1); }
    // Page k from 1 to PageCount().
    PageLayout Page(int k) const;

    const TracePageSetup& Setup() const { return m_setup; }
    int CharsPerLine() const { return m_charsPerLine; }
    bool SmallFont() const { return m_small; }
    // The first position of every page, and after the last page the item count.
    const std::vector<Position>& PageStarts() const { return m_pageStarts; }

    // Where the printed lines of an item of length characters end. With unitStart 0 or more
    // (the hex view: units of three characters from there on) a line that is not the item's
    // last ends between two units.
    static std::vector<int> Breaks(int length, int charsPerLine, int unitStart = -1);
    // Printed lines of an item of length characters.
    static int PrintedLines(int length, int charsPerLine, int unitStart = -1);
    // The printed lines of an item: pieces up to charsPerLine, all but the first indented.
    static QList<QByteArray> Pieces(const QByteArray& item, int charsPerLine, int unitStart = -1);
    static QString DateText(const QDate& date);

private:
    void ChooseFont(int longest);
    void Paginate(const std::vector<unsigned char>& lengths, const std::vector<bool>& indented);
    // Where the hex units of item begin; -1 in the ASCII view.
    int UnitStart(const QByteArray& item) const;
    QByteArray Item(int index) const;

    LineRules::View m_view;
    TracePrintFonts m_fonts;
    TracePageSetup m_setup;
    ItemSource m_items;
    int m_count = 0;
    QString m_tracePath;
    QDate m_date;
    int m_charsPerLine = 0;
    bool m_small = false;
    std::vector<Position> m_pageStarts;
};
