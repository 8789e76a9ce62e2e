#include "CFollowPane.h"

#include "CRecordingSession.h"
#include "CTraceListView.h"

// Qt
#include <QMouseEvent>

CFollowPane::CFollowPane(CRecordingSession& session, QWidget* parent)
    : QLabel(QString::fromUtf8("Angehalten – Ende drücken zum Folgen"), parent), m_session(session)
{
    setObjectName(QStringLiteral("followPane"));
    setToolTip(QString::fromUtf8("Klicken: die Listen folgen wieder dem Ende"));
    setStyleSheet(QStringLiteral("QLabel { background: #ffe080; padding: 0 4px; }"));
    connect(&session.Control(), &CRecordingControl::RecordingChanged, this, &CFollowPane::Update);
    hide();
}

void CFollowPane::Watch(CTraceListView* view)
{
    m_views.append(view);
    connect(view, &CTraceListView::FollowingChanged, this, &CFollowPane::Update);
    Update();
}

void CFollowPane::mousePressEvent(QMouseEvent* event)
{
    for (CTraceListView* view : m_views)
        view->Follow();
    event->accept();
}

void CFollowPane::Update()
{
    const bool held = std::any_of(m_views.begin(), m_views.end(),
                                  [](const CTraceListView* v) { return !v->IsFollowing(); });
    setVisible(held && m_session.IsRecording());
}
