#include "CMainFrame.h"

#include "CChildFrame.h"
#include "CCommandTable.h"
#include "CFatDataDlg.h"
#include "CFollowPane.h"
#include "CHandshake.h"
#include "CLineBreakDlg.h"
#include "CLineprobeAboutDlg.h"
#include "CLineprobeDoc.h"
#include "CLineprobeHelp.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMessages.h"
#include "CRecordingSession.h"
#include "CTracePrintCommands.h"
#include "CLineHealthPanes.h"
#include "CTraceSearchCommands.h"
#include "CTraceTimeCommands.h"
#include "LineprobeCommands.h"
#include "LineprobeIcon.h"

// Qt
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

using namespace LineprobeCommands;

namespace {

const char* const kTitle = "Lineprobe";
const char* const kReady = "Lineprobe ist für eine Aufnahme bereit";

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// The base name of a trace path: no folder (either separator), no extension.
QString BaseName(const QString& path)
{
    const int start =
        int(qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')))) + 1;
    QString name = path.mid(start);
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    if (dot >= 0)
        name.truncate(dot);
    return name;
}

} // namespace

CMainFrame::CMainFrame(const QString& tracePath, QWidget* parent)
    : QMainWindow(parent), m_startPath(tracePath), m_doc(std::make_unique<CLineprobeDoc>()),
      m_session(std::make_unique<CRecordingSession>(*m_doc))
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(LineprobeIcon());
    // The child windows above, bars such as the search below them.
    m_central = new QWidget(this);
    auto* column = new QVBoxLayout(m_central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_mdi = new QMdiArea(m_central);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    column->addWidget(m_mdi, 1);
    setCentralWidget(m_central);

    m_commands = new CCommandTable(this);
    CreateCommands();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    (new CTracePrintCommands(this))->Register(*m_commands);
    (new CTraceSearchCommands(this))->Register(*m_commands);
    (new CTraceTimeCommands(this))->Register(*m_commands);
    ConnectSession();
    resize(900, 700);
}

CMainFrame::~CMainFrame()
{
    // A running recording ends with its footer and lists; the port number is kept.
    m_session->Control().OnStopRecording();
    m_session->Control().WritePortSetting();
    for (CChildFrame* frame : {m_monitorFrame, m_hexFrame, m_asciiFrame})
        if (frame)
            frame->AllowClose();
    delete m_asciiFrame;
    delete m_hexFrame;
    delete m_monitorFrame;
    m_asciiFrame = m_hexFrame = m_monitorFrame = nullptr;
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    // Pane 1: the menu prompts while a command is pointed at, otherwise the idle text.
    m_messagePane = new QLabel(U("Bereit"), bar);
    m_messagePane->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(m_messagePane, 1);
    // Pane 101: the recording status, wide enough for the longest text and three blanks.
    m_statusPane = new QLabel(U(kReady), bar);
    m_statusPane->setObjectName(QStringLiteral("statusPane101"));
    m_statusPane->setMinimumWidth(
        m_statusPane->fontMetrics().horizontalAdvance(U(kReady) + QStringLiteral("   ")) +
        2 * m_statusPane->margin() + 8);
    bar->addPermanentWidget(m_statusPane);
    new CLineHealthPanes(m_session->Health(), bar);
}

CLineprobeHelp* CMainFrame::HelpWindow() const
{
    return m_help;
}

QMenu* CMainFrame::Menu(const QString& title) const
{
    return menuBar()->findChild<QMenu*>(title);
}

bool CMainFrame::Execute(int id)
{
    m_commands->UpdateUi();
    return m_commands->Execute(id);
}

bool CMainFrame::IsRecording() const
{
    return m_session->IsRecording();
}

bool CMainFrame::SaveDataChecked() const
{
    return m_session->Options().saveData;
}

bool CMainFrame::ExpertModeChecked() const
{
    return m_session->Options().expertMode;
}

void CMainFrame::ShowLoadProgress(qint64 read, qint64 total)
{
    if (read >= total) {
        m_loadProgress.reset();
        return;
    }
    if (!windowHandle() || !windowHandle()->isExposed()) {
        // Not on the screen yet (a list named on the command line): nothing to paint, no
        // window to show the progress over.
        QThread::msleep(50);
        return;
    }
    if (!m_loadProgress) {
        m_loadProgress = std::make_unique<QProgressDialog>(U("Die Listen werden gelesen..."),
                                                           QString(), 0, 1000, this);
        m_loadProgress->setWindowTitle(QString::fromLatin1(kTitle));
        m_loadProgress->setWindowModality(Qt::WindowModal);
        m_loadProgress->setCancelButton(nullptr);
        m_loadProgress->setMinimumDuration(0);
        m_loadProgress->setAutoClose(false);
        m_loadProgress->setAutoReset(false);
    }
    m_loadProgress->setValue(int(read * 1000 / total));
    // The windows' events for a moment, without spinning.
    QEventLoop wait;
    QTimer::singleShot(50, &wait, &QEventLoop::quit);
    wait.exec();
}

void CMainFrame::ConnectSession()
{
    m_session->SetLoadProgress(
        [this](qint64 read, qint64 total) { ShowLoadProgress(read, total); });
    CRecordingControl* recorder = &m_session->Control();
    recorder->ReadPortSetting();
    connect(recorder, &CRecordingControl::StatusTextChanged, this, &CMainFrame::SetStatusText);
    // The monitor must exist before the start sends it the modem lines.
    connect(recorder, &CRecordingControl::MonitorWanted, this, &CMainFrame::OpenMonitor,
            Qt::DirectConnection);
    connect(recorder, &CRecordingControl::ModemStatusChanged, this, [this](unsigned long status) {
        if (m_monitor)
            m_monitor->ShowModemStatus(status);
    });
    connect(recorder, &CRecordingControl::LineSettingsWanted, this,
            [this] { CLineBreakDlg::Edit(m_session->Options().lines, m_asciiView); });
}

QString CMainFrame::StatusText() const
{
    return m_statusPane->text();
}

void CMainFrame::SetStatusText(const QString& text)
{
    // The pane holds up to 100 characters.
    m_statusPane->setText(text.left(100));
}

void CMainFrame::UpdateTitle()
{
    if (m_doc->tracePath.isEmpty())
        return;
    // The part before the first "-" stays (the program's title), the base name follows.
    const QString current = windowTitle();
    const int hyphen = int(current.indexOf(QLatin1Char('-')));
    QString prefix = hyphen < 0 ? current + QLatin1Char(' ') : current.left(hyphen);
    const QString title = prefix + QStringLiteral("- ") + BaseName(m_doc->tracePath);
    if (title != current)
        setWindowTitle(title);
}

void CMainFrame::AddBelowViews(QWidget* widget)
{
    m_central->layout()->addWidget(widget);
}

QMdiSubWindow* CMainFrame::ChildOf(QWidget* widget) const
{
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (sub->widget() == widget)
            return sub;
    return nullptr;
}

CChildFrame* CMainFrame::AddChild(QWidget* widget, const QString& caption)
{
    auto* frame = new CChildFrame;
    frame->setWidget(widget);
    frame->setWindowTitle(caption);
    frame->setWindowIcon(windowIcon());
    m_mdi->addSubWindow(frame);
    frame->show();
    return frame;
}

void CMainFrame::OnFileNew()
{
    // One document for the whole run: once its views exist, "new" does nothing.
    if (m_asciiView)
        return;
    m_doc->SetTitleHook([this] { UpdateTitle(); });
    if (!m_startPath.isEmpty())
        m_doc->OpenDocument(m_startPath);

    m_asciiView = new CLineprobeView(*m_session);
    m_asciiView->setObjectName(QStringLiteral("CLineprobeView"));
    m_asciiFrame = AddChild(m_asciiView, QStringLiteral("ASCII - Zeichen"));

    m_hexView = new CLineprobeHexView(*m_session);
    m_hexView->setObjectName(QStringLiteral("CLineprobeHexView"));
    m_hexFrame = AddChild(m_hexView, QStringLiteral("Hex - Werte"));
    TileHorizontally();
    m_mdi->setActiveSubWindow(m_asciiFrame);
    UpdateTitle();

    auto* follow = new CFollowPane(*m_session, statusBar());
    follow->Watch(m_asciiView);
    follow->Watch(m_hexView);
    statusBar()->addPermanentWidget(follow);
    FitStatusBar();
}

void CMainFrame::FitStatusBar()
{
    if (isVisible())
        return;
    // Wide enough for every pane, also those that show only at times (the hold, the search),
    // as far as the screen allows (the line's health makes room for a long prompt).
    int width = 0;
    for (const QLabel* pane : statusBar()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        width += qMax(pane->sizeHint().width(), pane->minimumWidth()) + 8;
    if (const QScreen* s = screen())
        width = qMin(width, s->availableGeometry().width());
    if (width > this->width())
        resize(width, height());
}

void CMainFrame::OpenMonitor()
{
    if (m_monitor)
        return;
    // The window the recording was started from stays the active one, so that its commands
    // ("&Speichern", "Ö&ffnen") stay at hand.
    QMdiSubWindow* active = m_mdi->currentSubWindow();
    m_monitor = new CHandshake;
    connect(m_monitor, &CHandshake::ModemLineRequested, &m_session->Control(),
            &CRecordingControl::OnModemLine);
    m_monitorFrame = AddChild(m_monitor, QStringLiteral("Handshake"));
    TileHorizontally();
    if (active)
        m_mdi->setActiveSubWindow(active);
}

void CMainFrame::TileHorizontally()
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (sub->isVisible() && !sub->isMinimized())
            windows.append(sub);
    if (windows.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    // The monitor needs only its buttons' height; the trace views share the rest.
    int fixed = 0;
    int flexible = 0;
    for (QMdiSubWindow* sub : windows) {
        if (sub == m_monitorFrame)
            fixed += sub->minimumSizeHint().height();
        else
            ++flexible;
    }
    const int each = flexible ? qMax(60, (area.height() - fixed) / flexible) : 0;
    int y = 0;
    for (QMdiSubWindow* sub : windows) {
        if (sub->isMaximized())
            sub->showNormal();
        const int h = sub == m_monitorFrame ? sub->minimumSizeHint().height() : each;
        sub->setGeometry(0, y, area.width(), h);
        y += h;
    }
}

CMainFrame::Target CMainFrame::ActiveTarget() const
{
    QMdiSubWindow* sub = m_mdi->currentSubWindow();
    if (sub && m_monitor && sub->widget() == m_monitor)
        return Target::Monitor;
    if (sub && m_hexView && sub->widget() == m_hexView)
        return Target::Hex;
    return Target::Ascii;
}

CTraceListView* CMainFrame::ActiveListView() const
{
    switch (ActiveTarget()) {
    case Target::Ascii:
        return m_asciiView;
    case Target::Hex:
        return m_hexView;
    case Target::Monitor:
        break;
    }
    return nullptr;
}

void CMainFrame::OnStart()
{
    m_session->Control().OnStartRecording();
}

void CMainFrame::OnStop()
{
    // Writing the lists of a long recording takes a moment.
    CWaitCursor wait;
    m_session->Control().OnStopRecording();
}

void CMainFrame::OnConfiguration()
{
    m_session->Control().OnConfiguration();
}

void CMainFrame::OnFatData()
{
    CFatDataDlg::ShowIdentification(*m_doc, this);
}

void CMainFrame::OnFileOpen()
{
    if (ActiveListView())
        m_session->OpenListFile();
}

void CMainFrame::OnFileSave()
{
    // While recording, the active view's list is saved (the other one beside it); otherwise
    // "&Speichern" starts a recording.
    CTraceListView* view = ActiveListView();
    if (!view)
        return;
    if (IsRecording())
        m_session->SaveLists(view->GetLook().view);
    else
        m_session->Control().OnStartRecording();
}

void CMainFrame::OnToggleSaveData()
{
    m_session->Options().saveData = !m_session->Options().saveData;
}

void CMainFrame::OnToggleExpertMode()
{
    m_session->Options().expertMode = !m_session->Options().expertMode;
}

void CMainFrame::OnAbout()
{
    CLineprobeAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::ShowHelp(const QString& page)
{
    if (!m_help)
        m_help = new CLineprobeHelp(this);
    if (!m_help->ShowPage(page))
        MessageBox(U("Die Hilfe von Lineprobe wurde nicht gefunden."), QString(), msg::Information);
}

void CMainFrame::OnContextHelp()
{
    switch (ActiveTarget()) {
    case Target::Ascii:
        ShowHelp(QStringLiteral("ansichten.html#ascii"));
        break;
    case Target::Hex:
        ShowHelp(QStringLiteral("ansichten.html#hex"));
        break;
    case Target::Monitor:
        ShowHelp(QStringLiteral("expertenmodus.html#handshake"));
        break;
    }
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The windows made at start-up are tiled again once the area has its real size.
    if (!m_tiledOnShow) {
        m_tiledOnShow = true;
        TileHorizontally();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // A running recording ends with its footer and lists while the windows still stand.
    if (IsRecording()) {
        CWaitCursor wait;
        m_session->Control().OnStopRecording();
    }
    if (m_help)
        m_help->close();
    QMainWindow::closeEvent(event);
}
