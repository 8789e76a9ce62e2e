#pragma once

// Qt
#include <QObject>

class CCommandTable;
class CMainFrame;

// The arrival times in Lineprobe's trace views: "&Zeitstempel" shows each line's time before
// it in both views, "&Gehe zu Zeit..." selects the first line of a time. Lives as a child of
// the main window.
class CTraceTimeCommands : public QObject
{
    Q_OBJECT

public:
    explicit CTraceTimeCommands(CMainFrame* frame);

    // Registers both commands; they act once the views exist.
    void Register(CCommandTable& table);

private:
    void OnToggleTimes();
    void OnGoToTime();

    CMainFrame* m_frame;
    bool m_show = false;
};
