#include "PrintJobs.h"

#include "CMessages.h"

// Qt
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QProgressDialog>

namespace PrintJobs {

QPair<int, int> PageRange(const QPrinter& printer, int pageCount)
{
    int first = 1;
    int end = pageCount;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = qBound(1, printer.fromPage(), pageCount);
        end = qBound(first, printer.toPage() > 0 ? printer.toPage() : pageCount, pageCount);
    }
    return {first, end};
}

void UseWholeSheetForPdf(QPrinter& printer)
{
    if (printer.outputFormat() != QPrinter::PdfFormat)
        return;
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool PrintPages(QPrinter& printer, QWidget* parent, int pageCount,
                const PagePainter::PageSource& source, const QString& caption)
{
    const QPair<int, int> range = PageRange(printer, pageCount);
    QProgressDialog progress(QStringLiteral("Die Seiten werden gedruckt..."),
                             QStringLiteral("&Abbrechen"), 0, range.second - range.first + 1,
                             parent);
    progress.setWindowTitle(QStringLiteral("Drucken"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    bool cancelled = false;
    const auto step = [&](int done, int) {
        progress.setValue(done);
        cancelled = progress.wasCanceled();
        return !cancelled;
    };
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        // A PDF file is written like every file of the programs: whole or not at all, and a
        // failure names the file and the reason.
        QString error;
        const bool written = PagePainter::WritePdf(
            printer.outputFileName(), range.second - range.first + 1,
            [&](int page) { return source(range.first + page - 1); }, &error, printer.docName(),
            step);
        progress.reset();
        if (!written && !cancelled)
            MessageBox(error, caption, msg::Error);
        return written;
    }
    const bool printed = PagePainter::PaintPages(printer, range.first, range.second, source,
                                                 [&](int done, int total) {
                                                     if (step(done, total))
                                                         return true;
                                                     printer.abort();
                                                     return false;
                                                 });
    progress.reset();
    if (!printed && !cancelled)
        MessageBox(QStringLiteral("Der Ausdruck konnte nicht erstellt werden."), caption,
                   msg::Error);
    return printed;
}

} // namespace PrintJobs
