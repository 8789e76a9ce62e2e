#pragma once

#include "PagePainter.h"

// Qt
#include <QPair>
#include <QString>

class QPrinter;
class QWidget;

// The parts of a print command that both programs share: the printer's page range, the PDF
// sheet, and a job with a cancellable progress window.
namespace PrintJobs {

// The pages the printer's range asks for, within 1..pageCount.
QPair<int, int> PageRange(const QPrinter& printer, int pageCount);

// A PDF has no unprintable border: the whole sheet is the printable area.
void UseWholeSheetForPdf(QPrinter& printer);

// Paints the pages of the printer's range of source, with a progress window over parent that
// can cancel the job. A cancelled job is withdrawn, not sent half printed; a job that fails
// otherwise is reported with caption. True when every page went out.
bool PrintPages(QPrinter& printer, QWidget* parent, int pageCount,
                const PagePainter::PageSource& source, const QString& caption);

} // namespace PrintJobs
