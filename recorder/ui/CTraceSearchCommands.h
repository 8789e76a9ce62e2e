#pragma once

// Qt
#include <QObject>
#include <QPointer>

class CMainFrame;
class CTraceSearchBar;
class QLabel;

// Searching in Lineprobe's trace views: the "&Bearbeiten" menu with "&Suchen...",
// "&Weitersuchen" and "&Rückwärts suchen", the search bar under the views and its status
// pane. Lives as a child of the main window.
class CTraceSearchCommands : public QObject
{
    Q_OBJECT

public:
    explicit CTraceSearchCommands(CMainFrame* frame);

    // Declares the three commands, their menu and their pane with the main window.
    static CTraceSearchCommands* Register(CMainFrame& frame);

    // The bar, made when it is first wanted (the views exist by then).
    CTraceSearchBar* Bar();
    QLabel* Pane() const { return m_pane; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CMainFrame* m_frame;
    QPointer<CTraceSearchBar> m_bar;
    QLabel* m_pane = nullptr;
};
