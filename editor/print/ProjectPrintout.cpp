#include "ProjectPrintout.h"

#include "CRecordList.h"
#include "CodePage.h"
#include "MakerAddress.h"
#include "ProjectRules.h"
#include "TextFormats.h"

namespace {

// A fixed-size text of the settings block, up to its first NUL.
QString BlockText(const char* text, size_t size)
{
    return FromCp1252(QByteArray(text, int(qstrnlen(text, size))));
}

// Collects the texts of one page in the font selected at the time.
class PageBuilder
{
public:
    PageBuilder(PageLayout& page, CSelectedFont& font) : m_page(page), m_font(font) {}

    void Text(const QString& text, int x, int y, PageAlign align = PageAlign::Left)
    {
        if (!text.isEmpty())
            m_page.texts.append(PageText{text, m_font.Current(), x, y, align});
    }
    void Rule(int x1, int x2, int y, int thickness)
    {
        m_page.rules.append(PageRule{x1, x2, y, thickness});
    }
    int Width(const QString& text) const { return PrintFonts::TextWidth(m_font.Current(), text); }
    int Height() const { return PrintFonts::TextHeight(m_font.Current()); }

private:
    PageLayout& m_page;
    CSelectedFont& m_font;
};

} // namespace

ProjectPrintout::ProjectPrintout(const ProjectData& data, const CRecordList& records,
                                 const PrintMetrics& metrics, const ProjectPrintFonts& fonts,
                                 const QString& pathName, const QDate& date)
    : m_data(data), m_records(records), m_metrics(metrics), m_fonts(fonts), m_pathName(pathName),
      m_date(date), m_rows(records.GetCount())
{
    m_lastPage = m_metrics.firstListPage - 1 + ListPages(m_rows, LinesPerPage());
}

int ProjectPrintout::LinesPerPage() const
{
    // Before the view's first update the count is 0; never divide by it.
    return m_metrics.linesPerPage > 0 ? m_metrics.linesPerPage
                                      : int(PrintMetrics::StandardLinesPerPage);
}

int ProjectPrintout::ListPages(int rows, int linesPerPage)
{
    if (linesPerPage <= 0)
        return 1;
    const int pages = rows / linesPerPage + (rows % linesPerPage ? 1 : 0);
    return qMax(1, pages);
}

QString ProjectPrintout::PanelModel(int panelType, int panelVariant)
{
    return ProjectRules::PrintModelText(panelType, panelVariant);
}

QString ProjectPrintout::FormatText(int textFormat)
{
    const TextFormats::Format* format = TextFormats::Of(textFormat);
    return format ? QString::fromLatin1(format->fullName) : QString();
}

QString ProjectPrintout::DateText(const QDate& date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString ProjectPrintout::CoverText(int index) const
{
    return BlockText(m_data.coverPage[index], sizeof m_data.coverPage[index]);
}

PageLayout ProjectPrintout::Page(int n) const
{
    if (n == 1)
        return CoverPage();
    if (n >= m_metrics.firstListPage && n <= m_lastPage)
        return ListPage(n);
    return PageLayout();
}

PageLayout ProjectPrintout::CoverPage() const
{
    PageLayout page;
    CSelectedFont font;
    PageBuilder b(page, font);
    const int ox = m_metrics.offsetX;
    const int oy = m_metrics.offsetY;

    // Title centred on the sheet, its rule as wide as the text.
    font.Select(m_fonts.arial70);
    const int titleTop = 300 - oy;
    const int titleWidth = b.Width(Title());
    b.Text(Title(), 1050 - ox, titleTop, PageAlign::Center);
    const int titleRule = titleTop + b.Height() + 20;
    const int titleLeft = 1050 - ox - titleWidth / 2;
    b.Rule(titleLeft, titleLeft + titleWidth, titleRule, 5);

    // From here x is measured from the printable area, each line from the one before.
    font.Select(m_fonts.courier40);
    const int h = b.Height();
    const int x1 = 200 + b.Width(QStringLiteral("Kunde / Auftraggeber:"));
    const int x2 = x1 + b.Width(QStringLiteral("Straße:")) + 50;
    const auto block = [&](const QString& heading, int first, int y) {
        b.Text(heading, 150, y);
        b.Rule(150, 150 + b.Width(heading), y + h + 10, 2);
        const QString labels[] = {QStringLiteral("Name:"), QStringLiteral("Straße:"),
                                  QStringLiteral("Ort:")};
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                y += h + 10;
            b.Text(labels[i], x1, y);
            b.Text(CoverText(first + i), x2, y);
        }
        return y;
    };
    int y = block(QStringLiteral("Projekt:"), 0, titleRule + 200);
    y = block(QStringLiteral("Kunde / Auftraggeber:"), 3, y + 300);

    const int x3 = 200 + b.Width(QStringLiteral("Anzahl Meldungen:"));
    const auto line = [&](const QString& label, const QString& value) {
        b.Text(label, 150, y);
        b.Text(value, x3, y);
    };
    y += 400;
    line(QStringLiteral("Anlage:"), PanelModel(m_data.panelType, m_data.panelVariant));
    y += 200;
    line(QStringLiteral("Textformat:"), FormatText(m_data.textFormat));
    y += 200;
    line(QStringLiteral("Anzahl Meldungen:"), QString::number(m_rows));
    const QByteArray offset(m_data.groupOffset,
                            int(qstrnlen(m_data.groupOffset, sizeof m_data.groupOffset)));
    if (CRecordList::DecimalValue(offset) != 0) {
        y += 200;
        line(QStringLiteral("Offset:"), FromCp1252(offset));
    }
    y += 200;
    line(QStringLiteral("erstellt:"), DateText(m_date));
    return page;
}

PageLayout ProjectPrintout::ListPage(int n) const
{
    PageLayout page;
    CSelectedFont font;
    PageBuilder b(page, font);
    // List pages are placed from the paper's edges.
    const int ox = m_metrics.offsetX;
    const int oy = m_metrics.offsetY;
    const bool pseudo = m_data.textFormat == FormatPseudo;

    font.Select(m_fonts.arial70);
    b.Text(Title(), 250 - ox, 100 - oy);

    font.Select(m_fonts.courier40);
    struct Heading
    {
        const char* text;
        int x;
    };
    static const Heading notifier[] = {
        {"Zentrale/Loop", 250}, {"Adresse", 600}, {"Text 1", 800}, {"Text 2", 1400}};
    static const Heading pseudoGroups[] = {{"Meldergruppe", 250},
                                           {"PseudoMG", 550},
                                           {"Melder", 800},
                                           {"Text 1", 1000},
                                           {"Text 2", 1500}};
    static const Heading standard[] = {
        {"Meldergruppe", 250}, {"Melder", 600}, {"Text 1", 800}, {"Text 2", 1400}};
    // NOTIFIER names its own columns, over the same positions.
    if (m_data.panelType == PanelType::Notifier) {
        for (const Heading& h : notifier)
            b.Text(QString::fromLatin1(h.text), h.x - ox, 190 - oy);
    } else if (pseudo) {
        for (const Heading& h : pseudoGroups)
            b.Text(QString::fromLatin1(h.text), h.x - ox, 190 - oy);
    } else {
        for (const Heading& h : standard)
            b.Text(QString::fromLatin1(h.text), h.x - ox, 190 - oy);
    }
    b.Rule(100 - ox, 2000 - ox, 240 - oy, 5);

    const int lines = LinesPerPage();
    const qint64 first = qint64(lines) * (n - m_metrics.firstListPage);
    const qint64 end = qMin(first + lines, qint64(m_rows));
    MessageRecord rec;
    for (qint64 row = first; row < end; ++row) {
        m_records.GetRecord(rec, int(row));
        const int y = int(270 + 50 * (row - first)) - oy;
        b.Text(FromCp1252(rec.group), 250 - ox, y);
        if (pseudo) {
            b.Text(FromCp1252(rec.pseudoGroup), 550 - ox, y);
            b.Text(FromCp1252(rec.detector), 800 - ox, y);
            b.Text(FromCp1252(rec.text1), 1000 - ox, y);
            b.Text(FromCp1252(rec.text2), 1500 - ox, y);
        } else {
            b.Text(FromCp1252(rec.detector), 600 - ox, y);
            b.Text(FromCp1252(rec.text1), 800 - ox, y);
            b.Text(FromCp1252(rec.text2), 1400 - ox, y);
        }
    }

    b.Rule(100 - ox, 2000 - ox, 2780 - oy, 5);
    font.Select(m_fonts.arial30);
    b.Text(m_pathName, 100 - ox, 2800 - oy);
    b.Text(QStringLiteral("Seite %1 / %2").arg(n).arg(m_lastPage), 900 - ox, 2830 - oy,
           PageAlign::Center);
    b.Text(QStringLiteral("Stand: ") + DateText(m_date), 2000 - ox, 2800 - oy, PageAlign::Right);
    // eff eff pages carry no address line.
    if (m_data.panelType != PanelType::EffEff) {
        font.Select(m_fonts.arial20);
        b.Text(MakerAddressLine(), 900 - ox, 2880 - oy, PageAlign::Center);
    }
    return page;
}
