#include "CTraceSearchCommands.h"

#include "CCommandTable.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMainFrame.h"
#include "CTraceSearchBar.h"
#include "LineprobeCommands.h"

// Qt
#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

using namespace LineprobeCommands;

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

CTraceSearchCommands::CTraceSearchCommands(CMainFrame* frame) : QObject(frame), m_frame(frame) {}

CTraceSearchCommands* CTraceSearchCommands::Register(CMainFrame& frame)
{
    auto* search = new CTraceSearchCommands(&frame);
    CCommandTable& c = *frame.Commands();
    c.Add(EditFind, U("&Suchen...\tStrg+F"),
          U("Sucht einen Text oder eine Bytefolge in den Listen.\nSuchen"),
          QKeySequence(Qt::CTRL | Qt::Key_F));
    c.Add(EditRepeat, U("&Weitersuchen\tF3"), U("Springt zum nächsten Treffer.\nWeitersuchen"),
          QKeySequence(Qt::Key_F3));
    c.Add(EditFindPrevious, U("&Rückwärts suchen\tUmschalt+F3"),
          U("Springt zum vorigen Treffer.\nRückwärts suchen"),
          QKeySequence(Qt::SHIFT | Qt::Key_F3));
    const auto haveViews = [&frame] { return frame.AsciiView() != nullptr; };
    c.SetHandler(
        EditFind,
        [search, &frame] {
            CTraceSearchBar* bar = search->Bar();
            const QMdiSubWindow* active = frame.MdiArea()->currentSubWindow();
            bar->Open(active && active->widget() == static_cast<QWidget*>(frame.HexView())
                          ? static_cast<CTraceListView*>(frame.HexView())
                          : static_cast<CTraceListView*>(frame.AsciiView()));
        },
        haveViews);
    c.SetHandler(
        EditRepeat, [search] { search->Bar()->FindNext(); }, haveViews);
    c.SetHandler(
        EditFindPrevious, [search] { search->Bar()->FindPrevious(); }, haveViews);

    // "&Bearbeiten" stands after "&Datei", as in every Windows program.
    QMenu* edit = new QMenu(U("&Bearbeiten"), frame.menuBar());
    edit->setObjectName(edit->title());
    c.WatchMenu(edit);
    edit->addAction(c.Action(EditFind));
    edit->addAction(c.Action(EditRepeat));
    edit->addAction(c.Action(EditFindPrevious));
    QMenuBar* bar = frame.menuBar();
    const QList<QAction*> menus = bar->actions();
    if (menus.size() > 1)
        bar->insertMenu(menus.at(1), edit);
    else
        bar->addMenu(edit);

    search->m_pane = new QLabel(frame.statusBar());
    search->m_pane->setObjectName(QStringLiteral("searchPane"));
    search->m_pane->hide();
    frame.statusBar()->addPermanentWidget(search->m_pane);
    return search;
}

bool CTraceSearchCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_bar && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
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
        m_bar->installEventFilter(this);
        connect(m_bar, &CTraceSearchBar::StatusChanged, m_pane, [this](const QString& text) {
            m_pane->setText(text);
            m_pane->setVisible(!text.isEmpty());
        });
    }
    return m_bar;
}
