#pragma once

#include "TracePrintFonts.h"

// Qt
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QPrintPreviewDialog>

#include <memory>

class CCommandTable;
class CTraceListView;
class CMainFrame;
class QPrinter;
class TracePrintout;

// Printing of Lineprobe's trace views: "&Drucken..." and "Sei&tenansicht" for the active
// view, "Drucker&einrichtung..." for the application's printer, which the print jobs and
// previews then use. Lives as a child of the main window.
class CTracePrintCommands : public QObject
{
    Q_OBJECT

public:
    explicit CTracePrintCommands(CMainFrame* frame);
    ~CTracePrintCommands() override;

    // Registers the three commands; print and preview act on the active trace view.
    void Register(CCommandTable& table);

    void OnFilePrint(CTraceListView* view);
    void OnFilePrintPreview(CTraceListView* view);
    void OnFilePrintSetup();

    // The application's printer: page setup, print dialog and preview share it.
    QPrinter& Printer() { return *m_printer; }
    QPrintPreviewDialog* Preview() const { return m_preview; }

    // The begin step: measures the printable area of printer, chooses font and characters per
    // line from the view's items and paginates.
    std::unique_ptr<TracePrintout> BeginPrinting(QPrinter& printer, CTraceListView* view);
    // Prints the pages the printer asks for with a progress window for long jobs; false when
    // nothing or not everything was printed.
    bool PrintJob(QPrinter& printer, CTraceListView* view);

private:
    const TracePrintFonts& Fonts();
    void NameJob(CTraceListView* view);

    CMainFrame* m_frame;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<TracePrintFonts> m_fonts;
    QPointer<QPrintPreviewDialog> m_preview;
};
