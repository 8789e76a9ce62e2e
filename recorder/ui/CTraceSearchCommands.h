#pragma once

// Qt
#include <QObject>
#include <QPointer>

class CCommandTable;
class CMainFrame;
class CTraceSearchBar;
class QLabel;

// Searching in Lineprobe's trace views: "&Suchen...", "&Weitersuchen" and "&Rückwärts
// suchen", the search bar under the views and its status pane. Lives as a child of the main
// window.
class CTraceSearchCommands : public QObject
{
    Q_OBJECT

public:
    explicit CTraceSearchCommands(CMainFrame* frame);

    // Registers the three commands; they act once the views exist.
    void Register(CCommandTable& table);

    // The bar, made when it is first wanted (the views exist by then).
    CTraceSearchBar* Bar();
    QLabel* Pane() const { return m_pane; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CMainFrame* m_frame;
    QPointer<CTraceSearchBar> m_bar;
    const QObject* m_barObject = nullptr;
    QLabel* m_pane;
};
