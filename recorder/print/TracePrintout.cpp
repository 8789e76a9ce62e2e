#include "TracePrintout.h"

#include "CodePage.h"
#include "MakerAddress.h"

#include <cmath>

namespace {

// Widths are compared in whole tenths of a millimetre; this keeps a width that equals the
// text width from failing on the last bit of a fraction.
constexpr qreal Slack = 1e-6;

} // namespace

TracePrintout::TracePrintout(LineRules::View view, const TracePrintFonts& fonts)
    : m_view(view), m_fonts(fonts)
{
    m_pageStarts = {Position{}, Position{}};
}

void TracePrintout::MeasurePage(int width, int height)
{
    m_setup = TracePageSetup::ForArea(width, height);
}

std::vector<int> TracePrintout::Breaks(int length, int charsPerLine, int unitStart)
{
    std::vector<int> ends;
    if (length < charsPerLine || charsPerLine <= 0) {
        ends.push_back(length);
        return ends;
    }
    for (int start = 0; start < length;) {
        int end = qMin(start + charsPerLine, length);
        // A hex line ends between two units, so that no value is torn over two lines.
        if (unitStart >= 0 && end < length && end > unitStart) {
            const int shorter = end - (end - unitStart) % 3;
            if (shorter > start)
                end = shorter;
        }
        ends.push_back(end);
        start = end;
    }
    return ends;
}

int TracePrintout::PrintedLines(int length, int charsPerLine, int unitStart)
{
    if (unitStart < 0) {
        if (length >= charsPerLine && charsPerLine > 0)
            return length / charsPerLine + (length % charsPerLine ? 1 : 0);
        return 1;
    }
    return int(Breaks(length, charsPerLine, unitStart).size());
}

QList<QByteArray> TracePrintout::Pieces(const QByteArray& item, int charsPerLine, int unitStart)
{
    QList<QByteArray> pieces;
    int start = 0;
    for (const int end : Breaks(int(item.size()), charsPerLine, unitStart)) {
        const QByteArray piece = item.mid(start, end - start);
        pieces.append(start == 0 ? piece : QByteArray(ContinuationIndent, ' ') + piece);
        start = end;
    }
    return pieces;
}

int TracePrintout::UnitStart(const QByteArray& item) const
{
    if (m_view != LineRules::View::Hex)
        return -1;
    // A loaded list file gives its items four blanks in front of the units.
    return item.startsWith("    ") ? ContinuationIndent : 0;
}

QString TracePrintout::DateText(const QDate& date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QByteArray TracePrintout::Item(int index) const
{
    // The list gives at most this many characters of an item.
    return m_items ? m_items(index).left(ItemChars) : QByteArray();
}

void TracePrintout::Begin(int count, ItemSource items, const QString& tracePath, const QDate& date)
{
    m_items = std::move(items);
    m_count = qMax(0, count);
    m_tracePath = tracePath;
    m_date = date;

    // One pass over the items: their lengths fit a byte each, since an item is read with at
    // most 254 characters.
    std::vector<unsigned char> lengths(static_cast<size_t>(m_count));
    std::vector<bool> indented(m_view == LineRules::View::Hex ? size_t(m_count) : 0);
    int longest = 0;
    for (int i = 0; i < m_count; ++i) {
        const QByteArray item = m_items(i);
        const int length = int(qMin<qsizetype>(item.size(), ItemChars));
        lengths[size_t(i)] = static_cast<unsigned char>(length);
        if (!indented.empty())
            indented[size_t(i)] = UnitStart(item) > 0;
        longest = qMax(longest, length);
    }
    ChooseFont(longest);
    Paginate(lengths, indented);
}

void TracePrintout::ChooseFont(int longest)
{
    // A body font that was not created measures (and prints) in the device's font.
    const PageFont normal = m_fonts.bodyNormal.value_or(PrintFonts::DeviceFont());
    const PageFont small = m_fonts.bodySmall.value_or(PrintFonts::DeviceFont());
    const qreal width = m_setup.textWidth;
    // The letters of a fixed-pitch font all advance alike: n letters "A" are n advances.
    const auto fits = [&](const PageFont& font, int n) {
        return n * PrintFonts::Advance(font, QLatin1Char('A')) <= width + Slack;
    };
    if (fits(normal, longest)) {
        m_small = false;
        m_charsPerLine = longest;
        return;
    }
    m_small = true;
    if (fits(small, longest)) {
        m_charsPerLine = longest;
        return;
    }
    const qreal advance = PrintFonts::Advance(small, QLatin1Char('A'));
    int chars = MaxCharsPerLine;
    if (advance > 0)
        chars = int(qBound<qreal>(0, std::floor((width + Slack) / advance), MaxCharsPerLine));
    // Hex lines break between units: 4 + 3k characters, "XX " units after the indent.
    if (m_view == LineRules::View::Hex && chars >= 4)
        chars = 4 + (chars - 4) / 3 * 3;
    m_charsPerLine = chars;
}

void TracePrintout::Paginate(const std::vector<unsigned char>& lengths,
                             const std::vector<bool>& indented)
{
    const int perPage = qMax(1, m_setup.linesPerPage);
    m_pageStarts.clear();
    m_pageStarts.push_back(Position{});
    int used = 0;
    for (int i = 0; i < m_count; ++i) {
        const int unitStart =
            indented.empty() ? -1 : (indented[size_t(i)] ? int(ContinuationIndent) : 0);
        const int lines = PrintedLines(lengths[size_t(i)], m_charsPerLine, unitStart);
        if (used > 0 && used + lines > perPage) {
            m_pageStarts.push_back(Position{i, 0});
            used = 0;
        }
        // An item longer than a page goes on over the next pages instead of into the footer.
        int piece = 0;
        while (lines - piece > perPage - used) {
            piece += perPage - used;
            m_pageStarts.push_back(Position{i, piece});
            used = 0;
        }
        used += lines - piece;
    }
    m_pageStarts.push_back(Position{m_count, 0});
}

PageLayout TracePrintout::Page(int k) const
{
    PageLayout page;
    CSelectedFont font;
    font.Select(m_small ? m_fonts.bodySmall : m_fonts.bodyNormal);
    const auto text = [&](const QString& s, int x, int y, PageAlign align) {
        if (!s.isEmpty())
            page.texts.append(PageText{s, font.Current(), x, y, align});
    };

    if (k >= 1 && k < int(m_pageStarts.size())) {
        const Position start = m_pageStarts[size_t(k - 1)];
        const Position end = m_pageStarts[size_t(k)];
        int line = 0;
        for (int item = start.item; item <= end.item && item < m_count; ++item) {
            const QByteArray itemText = Item(item);
            const QList<QByteArray> pieces = Pieces(itemText, m_charsPerLine, UnitStart(itemText));
            const int first = item == start.item ? start.piece : 0;
            const int last = item == end.item ? end.piece : int(pieces.size());
            for (int piece = first; piece < last && piece < pieces.size(); ++piece, ++line)
                text(FromCp1252(pieces[piece]), TracePageSetup::LeftMargin,
                     TracePageSetup::TopMargin + TracePageSetup::LinePitch * line, PageAlign::Left);
        }
    }

    const int left = TracePageSetup::LeftMargin;
    const int right = left + m_setup.textWidth;
    page.rules.append(PageRule{left, right, m_setup.rulePosition, 5});
    font.Select(m_fonts.footer);
    text(m_tracePath, left, m_setup.pathLine, PageAlign::Left);
    text(QStringLiteral("Seite %1 / %2").arg(k).arg(PageCount()), m_setup.footerCentre,
         m_setup.pageNumberLine, PageAlign::Center);
    text(QStringLiteral("Stand: ") + DateText(m_date), right, m_setup.pathLine, PageAlign::Right);
    font.Select(m_fonts.address);
    text(MakerAddressLine(), m_setup.footerCentre, m_setup.addressLine, PageAlign::Center);
    return page;
}
