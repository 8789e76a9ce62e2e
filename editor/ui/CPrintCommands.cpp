#include "CPrintCommands.h"

#include "CCommandTable.h"
#include "CCoverPageDlg.h"
#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "PagePainter.h"
#include "PrintJobs.h"
#include "ProjectPrintout.h"
#include "QuillmarkCommands.h"

// Qt
#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

CPrintCommands::CPrintCommands(CQuillmarkDoc* document, QWidget* view,
                               std::function<bool()> portOpen)
    : QObject(view), m_document(document), m_view(view), m_portOpen(std::move(portOpen))
{
    m_metrics.SetLinesPerPage(PrintMetrics::StandardLinesPerPage);
}

CPrintCommands::~CPrintCommands() = default;

void CPrintCommands::Register(CCommandTable& commands)
{
    auto hasRows = [this] { return m_document->Records().GetCount() > 0; };
    commands.SetHandler(
        Cmd::FilePrint, [this] { OnFilePrint(); }, hasRows);
    commands.SetHandler(
        Cmd::FilePrintPreview, [this] { OnFilePrintPreview(); }, hasRows);
    commands.SetHandler(
        Cmd::CoverPage, [this] { OnCoverPage(); }, [this] { return !m_portOpen(); });
}

QPrinter& CPrintCommands::Printer()
{
    // One printer for the view's life: the choices of one print dialog hold for the next.
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        PreparePrinter(*m_printer);
    }
    return *m_printer;
}

const ProjectPrintFonts& CPrintCommands::Fonts()
{
    // Created on the first print job and kept as long as the view.
    if (!m_fonts)
        m_fonts = std::make_unique<ProjectPrintFonts>(ProjectPrintFonts::Create());
    return *m_fonts;
}

QString CPrintCommands::PathName() const
{
    const QString path = m_document->GetPathName();
    const QFileInfo info(path);
    return info.exists() ? info.absoluteFilePath() : path;
}

int CPrintCommands::LastPage() const
{
    return m_metrics.firstListPage - 1 +
           ProjectPrintout::ListPages(m_document->Records().GetCount(), m_metrics.linesPerPage);
}

void CPrintCommands::NameJob(QPrinter& printer) const
{
    // The job (and the proposed PDF file) is named after the project.
    const QString name = QFileInfo(m_document->GetTitle()).completeBaseName();
    printer.setDocName(name.isEmpty() ? QStringLiteral("FAT Versorgungstexte") : name);
}

void CPrintCommands::PreparePrinter(QPrinter& printer)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QStringLiteral("FAT Versorgungstexte"));
}

std::unique_ptr<ProjectPrintout> CPrintCommands::BeginPrinting(QPrinter& printer)
{
    // A PDF has no unprintable border: the positions hold on the sheet exactly.
    PrintJobs::UseWholeSheetForPdf(printer);
    // Offsets of the printable area from the paper's edges, in 0.1 mm, truncated.
    const QRectF area = printer.pageRect(QPrinter::DevicePixel);
    const qreal dpiX = qMax(1, printer.logicalDpiX());
    const qreal dpiY = qMax(1, printer.logicalDpiY());
    m_metrics.offsetX = printer.fullPage() ? 0 : int(area.left() / dpiX * 254);
    m_metrics.offsetY = printer.fullPage() ? 0 : int(area.top() / dpiY * 254);
    return std::make_unique<ProjectPrintout>(m_document->Data(), m_document->Records(), m_metrics,
                                             Fonts(), PathName(), QDate::currentDate());
}

bool CPrintCommands::PrintJob(QPrinter& printer)
{
    const std::unique_ptr<ProjectPrintout> printout = BeginPrinting(printer);
    return PrintJobs::PrintPages(
        printer, m_view, printout->LastPage(), [&](int page) { return printout->Page(page); },
        QStringLiteral("Fehler"));
}

void CPrintCommands::OnFilePrint()
{
    QPrinter& printer = Printer();
    NameJob(printer);
    QPrintDialog dialog(&printer, m_view);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    // Printing to a file writes a PDF, which is what goes to a customer without a printer.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, LastPage());
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintJob(printer);
}

void CPrintCommands::OnFilePrintPreview()
{
    QPrinter& printer = Printer();
    NameJob(printer);
    QPrintPreviewDialog preview(&printer, m_view);
    preview.setWindowTitle(QStringLiteral("Seitenansicht"));
    // The preview's own print button asks again with the printer chosen there.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const std::unique_ptr<ProjectPrintout> printout = BeginPrinting(*target);
        const QPair<int, int> range = PrintJobs::PageRange(*target, printout->LastPage());
        PagePainter::PaintPages(*target, range.first, range.second,
                                [&](int page) { return printout->Page(page); });
        QApplication::restoreOverrideCursor();
    });
    m_preview = &preview;
    preview.resize(900, 1000);
    preview.exec();
}

void CPrintCommands::OnCoverPage()
{
    CCoverPageDlg dialog(m_document->Data(), m_view);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_document->History().Record(QStringLiteral("Deckseite"), CEditHistory::Scope::Settings, [&] {
        CCoverPageDlg::StoreTexts(m_document->Data(), dialog.Texts());
        return true;
    });
    m_document->UpdateTitle();
}
