#pragma once

// Qt
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QVector>

// The words of a PDF with their boxes as poppler's pdftotext -bbox reads them back, in
// tenths of a millimetre from the sheet's top left corner.
struct PdfWord
{
    int page = 0; // from 1
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

struct PdfPages
{
    bool ok = false;
    QVector<QPair<double, double>> sizes; // page width and height
    QVector<PdfWord> words;

    int PageCount() const { return int(sizes.size()); }
    // All words of page that equal text.
    QVector<PdfWord> Find(int page, const QString& text) const
    {
        QVector<PdfWord> found;
        for (const PdfWord& w : words)
            if (w.page == page && w.text == text)
                found.append(w);
        return found;
    }
    // The words of page whose top lies within 5 units of y, left to right, joined by blanks.
    QString LineAt(int page, double y) const
    {
        QStringList parts;
        for (const PdfWord& w : words)
            if (w.page == page && qAbs(w.yMin - y) < 5)
                parts.append(w.text);
        return parts.join(QLatin1Char(' '));
    }
};

inline PdfPages ReadPdfWords(const QString& path)
{
    PdfPages result;
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return result;
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    // Points to tenths of a millimetre.
    const double unit = 254.0 / 72.0;
    static const QRegularExpression tag(
        QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">|"
                       "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!m.captured(1).isEmpty()) {
            result.sizes.append({m.captured(1).toDouble() * unit, m.captured(2).toDouble() * unit});
            continue;
        }
        PdfWord w;
        w.page = int(result.sizes.size());
        w.xMin = m.captured(3).toDouble() * unit;
        w.yMin = m.captured(4).toDouble() * unit;
        w.xMax = m.captured(5).toDouble() * unit;
        w.yMax = m.captured(6).toDouble() * unit;
        w.text = m.captured(7)
                     .replace(QLatin1String("&lt;"), QLatin1String("<"))
                     .replace(QLatin1String("&gt;"), QLatin1String(">"))
                     .replace(QLatin1String("&quot;"), QLatin1String("\""))
                     .replace(QLatin1String("&amp;"), QLatin1String("&"));
        result.words.append(w);
    }
    result.ok = true;
    return result;
}
