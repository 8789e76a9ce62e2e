#include "CMainFrame.h"

#include "CChildFrame.h"
#include "CCommandTable.h"
#include "CHandshake.h"
#include "CLineprobeAboutDlg.h"
#include "CLineprobeDoc.h"
#include "CLineprobeHelp.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMessages.h"
#include "CRecordingControl.h"
#include "LineprobeCommands.h"
#include "LineprobeIcon.h"

// Qt
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

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
    : QMainWindow(parent), m_startPath(tracePath)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(LineprobeIcon());
    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);

    m_commands = new CCommandTable(this);
    CreateCommands();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    resize(900, 700);
}

CMainFrame::~CMainFrame()
{
    // The views stop a running recording and keep the port number as they go; they need the
    // document for that, so they go first.
    for (CChildFrame* frame : {m_monitorFrame, m_hexFrame, m_asciiFrame})
        if (frame)
            frame->AllowClose();
    delete m_asciiFrame;
    delete m_hexFrame;
    delete m_monitorFrame;
    m_asciiFrame = m_hexFrame = m_monitorFrame = nullptr;
}

void CMainFrame::CreateCommands()
{
    CCommandTable& c = *m_commands;
    // &Datei
    c.Add(FileNew, QString(), U("Erstellt eine neue Aufzeichnung.\nNeu"), QKeySequence::New);
    c.Add(FileOpen, U("Ö&ffnen"), U("Öffnet eine bestehende Aufzeichnung.\nÖffnen"),
          QKeySequence(Qt::CTRL | Qt::Key_O));
    c.Add(FileSave, U("&Speichern"), U("Speichert den Listeninhalt.\nSpeichern"),
          QKeySequence(Qt::CTRL | Qt::Key_S));
    c.Add(FilePrint, U("&Drucken...\tStrg+P"), U("Druckt die aktive Ansicht.\nDrucken"),
          QKeySequence(Qt::CTRL | Qt::Key_P));
    c.Add(FilePrintPreview, U("Sei&tenansicht"), U("Zeigt ganze Seiten an.\nSeitenansicht"));
    c.Add(FilePrintSetup, U("Drucker&einrichtung..."),
          U("Ändert die Druckoptionen.\nDruckereinrichtung"));
    c.Add(AppExit, U("&Beenden"), U("Beendet die Anwendung.\nBeenden"));
    // FA&T
    c.Add(StartRecording, U("Aufzeichnung &starten"),
          U("Hiermit wird die Aufzeichnung gestartet.\nAnalyse start"));
    c.Add(StopRecording, U("Aufzeichnung &beenden"),
          U("Hiermit wird die Datenaufzeichnung beendet.\nAnalyse stop"));
    c.Add(SaveData, U("&Daten speichern"),
          U("Hiermit kann die Datenspeicherung deaktiviert werden"));
    c.Add(Configuration, U("&Konfiguration"),
          U("Hier kann die aktive Schnittstelle von COM1 - COM4 festgelegt werden"));
    c.Add(ExpertMode, U("&Expertenmodus"),
          U("Hier können die Schnittstellenparameter geändert werden"));
    // &Ansicht
    c.Add(ViewToolbar, U("&Symbolleiste"),
          U("Blendet die Symbolleiste ein oder aus.\nSymbolleiste ein-/ausblenden"));
    c.Add(ViewStatusBar, U("S&tatusleiste"),
          U("Blendet die Statusleiste ein oder aus.\nStatusleiste ein-/ausblenden"));
    // &Fenster
    c.Add(WindowCascade, U("Über&lappend"), U("Ordnet die Fenster überlappend an.\nÜberlappend"));
    c.Add(WindowTileHorz, U("&Nebeneinander"),
          U("Ordnet die Fenster untereinander an, ohne dass sie sich überlappen.\n"
            "Nebeneinander"));
    // &?
    c.Add(HelpIndex, U("&Hilfethemen"), U("Zeigt die Hilfethemen an.\nHilfethemen"));
    c.Add(AppAbout, U("Inf&o über Lineprobe..."),
          U("Zeigt Programminformationen, Versionsnummer und Copyright an.\nInfo"));
    c.Add(FatData, U("&FAT Daten"), QString());
    c.Add(Help, QString(), U("Zeigt die Hilfe zum aktiven Fenster an.\nHilfe"),
          QKeySequence(Qt::Key_F1));
    c.Add(ContextHelp, U("&Hilfe zum Fenster"),
          U("Zeigt Hilfe zu angeklickten Schaltflächen, Menüs und Fenstern an.\nHilfe"),
          QKeySequence(Qt::SHIFT | Qt::Key_F1));

    const auto idle = [this] { return !IsRecording(); };
    const auto recording = [this] { return IsRecording(); };
    const auto listView = [this] { return ActiveListView() != nullptr; };
    const auto haveDoc = [this] { return m_asciiView != nullptr; };

    c.SetHandler(FileNew, [this] { OnFileNew(); });
    c.SetHandler(
        FileOpen, [this] { OnFileOpen(); }, listView);
    c.SetHandler(
        FileSave, [this] { OnFileSave(); }, listView);
    c.SetHandler(AppExit, [this] { close(); });
    // Printing ("&Drucken...", "Sei&tenansicht": SetListViewHandler; "Drucker&einrichtung...":
    // Commands()->SetHandler) registers its handlers from its own source; until then the
    // three commands stay disabled.

    c.SetHandler(
        StartRecording, [this] { OnStart(); }, [=] { return haveDoc() && idle(); });
    c.SetHandler(
        StopRecording, [this] { OnStop(); }, [=] { return haveDoc() && recording(); });
    c.SetHandler(
        SaveData, [this] { OnToggleSaveData(); }, idle);
    c.SetCheckRule(SaveData, [this] { return m_saveData; });
    c.SetHandler(
        Configuration, [this] { OnConfiguration(); }, [=] { return haveDoc() && idle(); });
    c.SetHandler(
        ExpertMode, [this] { OnToggleExpertMode(); }, idle);
    c.SetCheckRule(ExpertMode, [this] { return m_expertMode; });

    c.SetHandler(ViewToolbar, [this] { m_toolBar->setVisible(!m_toolBar->isVisible()); });
    c.SetCheckRule(ViewToolbar, [this] { return m_toolBar && !m_toolBar->isHidden(); });
    c.SetHandler(ViewStatusBar, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    c.SetCheckRule(ViewStatusBar, [this] { return !statusBar()->isHidden(); });

    c.SetHandler(WindowCascade, [this] { m_mdi->cascadeSubWindows(); });
    c.SetHandler(WindowTileHorz, [this] { TileHorizontally(); });

    c.SetHandler(HelpIndex, [this] { ShowHelp(QStringLiteral("index.html")); });
    c.SetHandler(Help, [this] { OnContextHelp(); });
    c.SetHandler(ContextHelp, [this] { OnContextHelp(); });
    c.SetHandler(AppAbout, [this] { OnAbout(); });
    c.SetHandler(
        FatData, [this] { OnFatData(); }, haveDoc);

    // Keys without a menu item answer in the whole window.
    addAction(c.Action(FileNew));
    addAction(c.Action(Help));
}

void CMainFrame::CreateMenus()
{
    CCommandTable& c = *m_commands;
    QMenuBar* bar = menuBar();
    const auto menu = [this, bar](const QString& title) {
        QMenu* m = bar->addMenu(title);
        m->setObjectName(title);
        m_commands->WatchMenu(m);
        return m;
    };

    QMenu* file = menu(U("&Datei"));
    file->addAction(c.Action(FileOpen));
    file->addAction(c.Action(FileSave));
    file->addSeparator();
    file->addAction(c.Action(FilePrint));
    file->addAction(c.Action(FilePrintPreview));
    file->addAction(c.Action(FilePrintSetup));
    file->addSeparator();
    file->addAction(c.Action(AppExit));

    QMenu* fat = menu(U("FA&T"));
    fat->addAction(c.Action(StartRecording));
    fat->addAction(c.Action(StopRecording));
    fat->addSeparator();
    fat->addAction(c.Action(SaveData));
    fat->addSeparator();
    fat->addAction(c.Action(Configuration));
    fat->addSeparator();
    fat->addAction(c.Action(ExpertMode));

    QMenu* view = menu(U("&Ansicht"));
    view->addAction(c.Action(ViewToolbar));
    view->addAction(c.Action(ViewStatusBar));

    QMenu* window = menu(U("&Fenster"));
    window->addAction(c.Action(WindowCascade));
    window->addAction(c.Action(WindowTileHorz));
    // As in every MDI program, the open windows follow, numbered, the active one checked.
    connect(window, &QMenu::aboutToShow, this, [this, window] { UpdateWindowList(window); });

    QMenu* help = menu(U("&?"));
    help->addAction(c.Action(HelpIndex));
    help->addSeparator();
    help->addAction(c.Action(AppAbout));
    help->addSeparator();
    help->addAction(c.Action(FatData));
}

void CMainFrame::CreateToolBar()
{
    CCommandTable& c = *m_commands;
    m_toolBar = new QToolBar(U("Symbolleiste"), this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    QStyle* s = style();
    c.Action(FileOpen)->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    c.Action(FileSave)->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    c.Action(StartRecording)->setIcon(s->standardIcon(QStyle::SP_MediaPlay));
    c.Action(StopRecording)->setIcon(s->standardIcon(QStyle::SP_MediaStop));
    c.Action(AppAbout)->setIcon(s->standardIcon(QStyle::SP_MessageBoxInformation));
    c.Action(ContextHelp)->setIcon(s->standardIcon(QStyle::SP_TitleBarContextHelpButton));
    m_toolBar->addAction(c.Action(FileOpen));
    m_toolBar->addAction(c.Action(FileSave));
    m_toolBar->addSeparator();
    m_toolBar->addAction(c.Action(StartRecording));
    m_toolBar->addAction(c.Action(StopRecording));
    m_toolBar->addSeparator();
    m_toolBar->addAction(c.Action(AppAbout));
    m_toolBar->addAction(c.Action(ContextHelp));
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    // Shift+F1 has no menu item; the toolbar button alone would not take the key while hidden.
    addAction(c.Action(ContextHelp));
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

void CMainFrame::SetListViewHandler(int id, std::function<void(CListViewCourier*)> handler)
{
    m_commands->SetHandler(
        id,
        [this, handler] {
            if (CListViewCourier* view = ActiveListView())
                handler(view);
        },
        [this] { return ActiveListView() != nullptr; });
}

bool CMainFrame::IsRecording() const
{
    return m_doc && m_doc->recordingFlag != 0;
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
    if (!m_doc || m_doc->tracePath.isEmpty())
        return;
    // The part before the first "-" stays (the program's title), the base name follows.
    const QString current = windowTitle();
    const int hyphen = int(current.indexOf(QLatin1Char('-')));
    QString prefix = hyphen < 0 ? current + QLatin1Char(' ') : current.left(hyphen);
    const QString title = prefix + QStringLiteral("- ") + BaseName(m_doc->tracePath);
    if (title != current)
        setWindowTitle(title);
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
    // One document for the whole run: once it exists, "new" does nothing.
    if (m_asciiView)
        return;
    m_doc = std::make_unique<CLineprobeDoc>();
    m_doc->SetTitleHook([this] { UpdateTitle(); });
    if (!m_startPath.isEmpty())
        m_doc->OpenDocument(m_startPath);

    m_asciiView = new CLineprobeView(m_doc.get());
    m_asciiView->setObjectName(QStringLiteral("CLineprobeView"));
    if (CRecordingControl* recorder = m_asciiView->Recorder()) {
        recorder->SetSaveData(m_saveData);
        recorder->SetExpertMode(m_expertMode);
        connect(recorder, &CRecordingControl::StatusTextChanged, this, &CMainFrame::SetStatusText);
        // The monitor must exist before the start sends it the modem lines.
        connect(recorder, &CRecordingControl::MonitorWanted, this, &CMainFrame::OpenMonitor,
                Qt::DirectConnection);
    }
    m_asciiFrame = AddChild(m_asciiView, QStringLiteral("ASCII - Zeichen"));

    m_hexView = new CLineprobeHexView(m_doc.get());
    m_hexView->setObjectName(QStringLiteral("CLineprobeHexView"));
    m_hexFrame = AddChild(m_hexView, QStringLiteral("Hex - Werte"));
    TileHorizontally();
    m_mdi->setActiveSubWindow(m_asciiFrame);
    UpdateTitle();
}

void CMainFrame::UpdateWindowList(QMenu* menu)
{
    const QList<QAction*> actions = menu->actions();
    for (int i = 2; i < actions.size(); ++i) {
        menu->removeAction(actions[i]);
        if (actions[i]->parent() == menu)
            delete actions[i];
    }
    const QList<QMdiSubWindow*> subs = m_mdi->subWindowList(QMdiArea::CreationOrder);
    if (subs.isEmpty())
        return;
    menu->addSeparator();
    int number = 1;
    for (QMdiSubWindow* sub : subs) {
        auto* action =
            new QAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()), menu);
        action->setCheckable(true);
        action->setChecked(sub == m_mdi->currentSubWindow());
        connect(action, &QAction::triggered, this, [this, sub] {
            m_mdi->setActiveSubWindow(sub);
            if (sub->widget())
                sub->widget()->setFocus();
        });
        menu->addAction(action);
    }
}

void CMainFrame::OpenMonitor()
{
    if (m_monitor || !m_doc)
        return;
    // The window the recording was started from stays the active one, so that its commands
    // ("&Speichern", "Ö&ffnen") stay at hand.
    QMdiSubWindow* active = m_mdi->currentSubWindow();
    m_monitor = new CHandshake(m_doc.get());
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

CListViewCourier* CMainFrame::ActiveListView() const
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
    switch (ActiveTarget()) {
    case Target::Ascii:
        if (m_asciiView && m_asciiView->Recorder())
            m_asciiView->Recorder()->OnStartRecording();
        break;
    case Target::Hex:
        m_hexView->OnStartCommand();
        break;
    case Target::Monitor:
        m_monitor->OnStartCommand();
        break;
    }
}

void CMainFrame::OnStop()
{
    switch (ActiveTarget()) {
    case Target::Ascii:
        if (m_asciiView && m_asciiView->Recorder())
            m_asciiView->Recorder()->OnStopRecording();
        break;
    case Target::Hex:
        m_hexView->OnStopCommand();
        break;
    case Target::Monitor:
        m_monitor->OnStopCommand();
        break;
    }
}

void CMainFrame::OnConfiguration()
{
    switch (ActiveTarget()) {
    case Target::Ascii:
        if (m_asciiView && m_asciiView->Recorder())
            m_asciiView->Recorder()->OnConfiguration();
        break;
    case Target::Hex:
        m_hexView->OnConfigureCommand();
        break;
    case Target::Monitor:
        m_monitor->OnConfigureCommand();
        break;
    }
}

void CMainFrame::OnFatData()
{
    switch (ActiveTarget()) {
    case Target::Ascii:
        m_asciiView->ShowIdentification();
        break;
    case Target::Hex:
        m_hexView->OnFatDataCommand();
        break;
    case Target::Monitor:
        m_monitor->OnFatDataCommand();
        break;
    }
}

void CMainFrame::OnFileOpen()
{
    if (ActiveTarget() == Target::Hex)
        m_hexView->OnFileOpen();
    else if (ActiveTarget() == Target::Ascii)
        m_asciiView->OnFileOpen();
}

void CMainFrame::OnFileSave()
{
    if (ActiveTarget() == Target::Hex)
        m_hexView->OnFileSave();
    else if (ActiveTarget() == Target::Ascii)
        m_asciiView->OnFileSave();
}

void CMainFrame::OnToggleSaveData()
{
    m_saveData = !m_saveData;
    if (m_asciiView && m_asciiView->Recorder())
        m_asciiView->Recorder()->SetSaveData(m_saveData);
}

void CMainFrame::OnToggleExpertMode()
{
    m_expertMode = !m_expertMode;
    if (m_asciiView && m_asciiView->Recorder())
        m_asciiView->Recorder()->SetExpertMode(m_expertMode);
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
    if (m_asciiView && m_asciiView->Recorder())
        m_asciiView->Recorder()->OnStopRecording();
    if (m_help)
        m_help->close();
    QMainWindow::closeEvent(event);
}
