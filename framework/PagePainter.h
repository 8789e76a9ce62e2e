#pragma once

#include "PageLayout.h"

// Qt
#include <QString>

#include <functional>

class QPainter;
class QPagedPaintDevice;

// Puts page layouts on a painter: a printer, a print preview, a PDF or an image. One unit of
// a layout is 0.1 mm on the device; the painter's origin is the printable area's corner.
namespace PagePainter {

using PageSource = std::function<PageLayout(int page)>;
// Called after each page with the pages done and the total; false stops the job.
using Progress = std::function<bool(int done, int total)>;

void Paint(QPainter& painter, const PageLayout& page);

// Paints pages first..last (1-based, inclusive) of source on device, one sheet each. False
// when the painter could not start on the device or progress stopped the job.
bool PaintPages(QPagedPaintDevice& device, int first, int last, const PageSource& source,
                const Progress& progress = Progress());

// Writes pages 1..pageCount as a PDF on A4 portrait with the whole sheet as printable area.
// The file appears only when every page was written; error gets a German reason with the
// file's name otherwise.
// A progress that stops the job leaves the file as it was.
bool WritePdf(const QString& path, int pageCount, const PageSource& source,
              QString* error = nullptr, const QString& title = QString(),
              const Progress& progress = Progress());

} // namespace PagePainter
