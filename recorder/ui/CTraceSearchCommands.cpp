#include "CTraceSearchCommands.h"

#include "CCommandTable.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMainFrame.h"
#include "CTraceSearchBar.h"
#include "LineprobeCommands.h"

// Qt
#include <QEvent>
#include <QLabel>
#include <QStatusBar>

using namespace LineprobeCommands;

CTraceSearchCommands::CTraceSearchCommands(CMainFrame* frame)
    : QObject(frame), m_frame(frame), m_pane(new QLabel(frame->statusBar()))
{
    m_pane->setObjectName(QStringLiteral("searchPane"));
    m_pane->hide();
    frame->statusBar()->addPermanentWidget(m_pane);
}

void CTraceSearchCommands::Register(CCommandTable& table)
{
    CMainFrame* frame = m_frame;
    const auto haveViews = [frame] { return frame->AsciiView() != nullptr; };
    table.SetHandler(
        EditFind,
        [this] {
            // Bytes are searched in the list of the active view, a text in the ASCII list.
            CTraceListView* active = m_frame->ActiveListView();
            Bar()->Open(active ? active : m_frame->AsciiView());
        },
        haveViews);
    table.SetHandler(
        EditRepeat, [this] { Bar()->FindNext(); }, haveViews);
    table.SetHandler(
        EditFindPrevious, [this] { Bar()->FindPrevious(); }, haveViews);
}

bool CTraceSearchCommands::eventFilter(QObject* watched, QEvent* event)
{
    // Compared as a plain object: the bar may be half destroyed when its last events come.
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched == m_barObject)
        QMetaObject::invokeMethod(
            m_frame, [frame = m_frame] { frame->TileHorizontally(); }, Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

CTraceSearchBar* CTraceSearchCommands::Bar()
{
    if (!m_bar) {
        m_bar = new CTraceSearchBar(*m_frame->Session(), m_frame->AsciiView(), m_frame->HexView(),
                                    m_frame);
        m_frame->AddBelowViews(m_bar);
        // The bar takes height from the child windows: they are arranged again to fit.
        m_barObject = m_bar;
        m_bar->installEventFilter(this);
        connect(m_bar, &CTraceSearchBar::StatusChanged, m_pane, [this](const QString& text) {
            m_pane->setText(text);
            m_pane->setVisible(!text.isEmpty());
        });
    }
    return m_bar;
}
