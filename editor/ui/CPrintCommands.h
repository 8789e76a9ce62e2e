#pragma once

#include "PrintMetrics.h"
#include "ProjectPrintFonts.h"

// Qt
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QPrintPreviewDialog>

#include <functional>
#include <memory>

class CCommandTable;
class CQuillmarkDoc;
class ProjectPrintout;
class QPrinter;
class QWidget;

// Printing, print preview and the cover page of Quillmark's view: the print measures and the
// fonts it keeps for its lifetime, and the handlers of "&Drucken...", "Sei&tenansicht" and
// "&Deckseite". Lives as a child of the view.
class CPrintCommands : public QObject
{
    Q_OBJECT

public:
    // portOpen tells whether a transfer holds the serial port.
    CPrintCommands(CQuillmarkDoc* document, QWidget* view, std::function<bool()> portOpen);
    ~CPrintCommands() override;

    // Registers the three commands and their enable rules.
    void Register(CCommandTable& commands);

    void OnFilePrint();
    void OnFilePrintPreview();
    void OnCoverPage();

    PrintMetrics& Metrics() { return m_metrics; }
    // The open preview, while it is shown.
    QPrintPreviewDialog* Preview() const { return m_preview; }

    // The printer of the view's print jobs and previews, kept with its settings.
    QPrinter& Printer();
    // A4 portrait by default; PDF output gets the whole sheet as printable area.
    static void PreparePrinter(QPrinter& printer);
    // The begin step: measures the printable area's offsets on printer and lays the job out.
    std::unique_ptr<ProjectPrintout> BeginPrinting(QPrinter& printer);
    // Prints the pages the printer asks for (all, or its page range) with a progress window
    // for long jobs. False when nothing or not everything was printed.
    bool PrintJob(QPrinter& printer);

private:
    const ProjectPrintFonts& Fonts();
    void NameJob(QPrinter& printer) const;
    // The document's path as the footer names it.
    QString PathName() const;
    int LastPage() const;

    CQuillmarkDoc* m_document;
    QWidget* m_view;
    std::function<bool()> m_portOpen;
    PrintMetrics m_metrics;
    std::unique_ptr<ProjectPrintFonts> m_fonts;
    std::unique_ptr<QPrinter> m_printer;
    QPointer<QPrintPreviewDialog> m_preview;
};
