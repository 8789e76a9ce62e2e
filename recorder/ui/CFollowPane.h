#pragma once

// Qt
#include <QLabel>
#include <QList>

class CRecordingSession;
class CTraceListView;

// The status bar pane that says a trace view holds still while a recording brings lines
// ("Angehalten – Ende drücken zum Folgen"); a click on it makes every view follow the end
// again.
class CFollowPane : public QLabel
{
    Q_OBJECT

public:
    explicit CFollowPane(CRecordingSession& session, QWidget* parent = nullptr);

    void Watch(CTraceListView* view);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Update();

    CRecordingSession& m_session;
    QList<CTraceListView*> m_views;
};
