#include "CTracePrintCommands.h"

#include "CCommandTable.h"
#include "CLineprobeDoc.h"
#include "CTraceListView.h"
#include "CMainFrame.h"
#include "CMessages.h"
#include "LineprobeCommands.h"
#include "PagePainter.h"
#include "PrintJobs.h"
#include "TracePrintout.h"

// Qt
#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>

CTracePrintCommands::CTracePrintCommands(CMainFrame* frame)
    : QObject(frame), m_frame(frame),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Portrait);
}

CTracePrintCommands::~CTracePrintCommands() = default;

void CTracePrintCommands::Register(CCommandTable& table)
{
    CMainFrame* frame = m_frame;
    auto hasView = [frame] { return frame->ActiveListView() != nullptr; };
    table.SetHandler(
        LineprobeCommands::FilePrint,
        [this] {
            if (CTraceListView* view = m_frame->ActiveListView())
                OnFilePrint(view);
        },
        hasView);
    table.SetHandler(
        LineprobeCommands::FilePrintPreview,
        [this] {
            if (CTraceListView* view = m_frame->ActiveListView())
                OnFilePrintPreview(view);
        },
        hasView);
    table.SetHandler(LineprobeCommands::FilePrintSetup, [this] { OnFilePrintSetup(); });
}

void CTracePrintCommands::NameJob(CTraceListView* view)
{
    // The job (and the proposed PDF file) is named after the trace and the view.
    QString name = view->Doc() ? QFileInfo(view->Doc()->tracePath).completeBaseName() : QString();
    if (name.isEmpty())
        name = QStringLiteral("Lineprobe");
    m_printer->setDocName(name + (view->GetLook().view == LineRules::View::Hex
                                      ? QStringLiteral(" - Hex")
                                      : QStringLiteral(" - ASCII")));
}

const TracePrintFonts& CTracePrintCommands::Fonts()
{
    // Created on the first print job and kept as long as the window.
    if (!m_fonts)
        m_fonts = std::make_unique<TracePrintFonts>(TracePrintFonts::Create());
    return *m_fonts;
}

std::unique_ptr<TracePrintout> CTracePrintCommands::BeginPrinting(QPrinter& printer,
                                                                  CTraceListView* view)
{
    PrintJobs::UseWholeSheetForPdf(printer);
    // The printable area in 0.1 mm: pixels divided by pixels per inch, times 254.
    const QRectF area = printer.pageRect(QPrinter::DevicePixel);
    const qreal dpiX = qMax(1, printer.logicalDpiX());
    const qreal dpiY = qMax(1, printer.logicalDpiY());
    auto printout = std::make_unique<TracePrintout>(view->GetLook().view, Fonts());
    printout->MeasurePage(int(area.width() / dpiX * 254), int(area.height() / dpiY * 254));
    const QString path = view->Doc() ? view->Doc()->tracePath : QString();
    printout->Begin(
        view->ItemCount(), [view](int i) { return view->ItemText(i); }, path, QDate::currentDate());
    return printout;
}

bool CTracePrintCommands::PrintJob(QPrinter& printer, CTraceListView* view)
{
    std::unique_ptr<TracePrintout> printout;
    {
        // A long trace takes a moment to measure.
        CWaitCursor wait;
        printout = BeginPrinting(printer, view);
    }
    return PrintJobs::PrintPages(
        printer, m_frame, printout->PageCount(), [&](int page) { return printout->Page(page); },
        QString());
}

void CTracePrintCommands::OnFilePrint(CTraceListView* view)
{
    // Page count for the dialog's range before the dialog, on the printer as it stands.
    const int pages = BeginPrinting(*m_printer, view)->PageCount();
    NameJob(view);
    QPrintDialog dialog(m_printer.get(), m_frame);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    // Printing to a file writes a PDF, which is what a technician without a printer sends.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, pages);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintJob(*m_printer, view);
}

void CTracePrintCommands::OnFilePrintPreview(CTraceListView* view)
{
    NameJob(view);
    QPrintPreviewDialog preview(m_printer.get(), m_frame);
    preview.setWindowTitle(QStringLiteral("Seitenansicht"));
    // The preview's own print button asks again with the printer chosen there.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, view](QPrinter* target) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const std::unique_ptr<TracePrintout> printout = BeginPrinting(*target, view);
        const QPair<int, int> range = PrintJobs::PageRange(*target, printout->PageCount());
        PagePainter::PaintPages(*target, range.first, range.second,
                                [&](int page) { return printout->Page(page); });
        QApplication::restoreOverrideCursor();
    });
    m_preview = &preview;
    preview.resize(900, 1000);
    preview.exec();
}

void CTracePrintCommands::OnFilePrintSetup()
{
    QPageSetupDialog dialog(m_printer.get(), m_frame);
    dialog.setWindowTitle(QStringLiteral("Druckereinrichtung"));
    dialog.exec();
}
