#include "PagePainter.h"

#include "CDurableFile.h"
#include "PrintFonts.h"

// Qt
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace PagePainter {

void Paint(QPainter& painter, const PageLayout& page)
{
    QPaintDevice* device = painter.device();
    painter.save();
    // 254 tenths of a millimetre to the inch.
    if (device)
        painter.scale(device->logicalDpiX() / 254.0, device->logicalDpiY() / 254.0);
    painter.setRenderHint(QPainter::TextAntialiasing);

    for (const PageRule& rule : page.rules) {
        const int left = qMin(rule.x1, rule.x2);
        const int width = qAbs(rule.x2 - rule.x1);
        painter.fillRect(QRectF(left, rule.y, width, rule.thickness), Qt::black);
    }

    painter.setPen(Qt::black);
    PageFont current;
    bool haveFont = false;
    for (const PageText& text : page.texts) {
        if (!haveFont || !(text.font == current)) {
            current = text.font;
            haveFont = true;
            painter.setFont(PrintFonts::ToQFont(current));
        }
        qreal x = text.x;
        if (text.align != PageAlign::Left) {
            const qreal width = PrintFonts::TextWidth(current, text.text);
            x -= text.align == PageAlign::Center ? width / 2 : width;
        }
        painter.drawText(QPointF(x, text.y + PrintFonts::Ascent(current)), text.text);
    }
    painter.restore();
}

bool PaintPages(QPagedPaintDevice& device, int first, int last, const PageSource& source,
                const Progress& progress)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const int total = last - first + 1;
    for (int page = first; page <= last; ++page) {
        if (page > first && !device.newPage()) {
            painter.end();
            return false;
        }
        Paint(painter, source(page));
        if (progress && !progress(page - first + 1, total)) {
            painter.end();
            return false;
        }
    }
    return painter.end();
}

bool WritePdf(const QString& path, int pageCount, const PageSource& source, QString* error,
              const QString& title, const Progress& progress)
{
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    CDurableFile file(path);
    if (!file.open())
        return fail(QStringLiteral("Die Datei kann nicht angelegt werden: ") + file.Describe());
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("Korvalin"));
        if (!title.isEmpty())
            writer.setTitle(title);
        if (!PaintPages(writer, 1, qMax(1, pageCount), source, progress) && !file.Failed()) {
            file.Cancel();
            return fail(QStringLiteral("Die PDF-Datei konnte nicht geschrieben werden."));
        }
    }
    if (!file.Commit())
        return fail(QStringLiteral("Die Datei konnte nicht geschrieben werden: ") +
                    file.Describe());
    return true;
}

} // namespace PagePainter
