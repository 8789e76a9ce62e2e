#include "CMainFrame.h"

#include "CCommandTable.h"
#include "CEntryDlg.h"
#include "CFindCommands.h"
#include "CFrameCommands.h"
#include "CHelpWindow.h"
#include "CCsvCommands.h"
#include "CImportCommands.h"
#include "CListCommands.h"
#include "CMessages.h"
#include "CPrintCommands.h"
#include "CUndoCommands.h"
#include "CVerifyCommands.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "ProjectRules.h"
#include "ProjectTypes.h"
#include "QuillmarkCommands.h"

// Qt
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <cstring>

namespace {

const char kProgram[] = "Quillmark";
const char kIdlePrompt[] = "Drücken Sie F1, um Hilfe zu erhalten.";

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// The keyboard's caps-lock LED; false where none can be read.
bool ReadCapsLockLed()
{
    const QDir leds(QStringLiteral("/sys/class/leds"));
    const QStringList names =
        leds.entryList({QStringLiteral("*capslock*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        QFile file(leds.filePath(name + QStringLiteral("/brightness")));
        if (file.open(QIODevice::ReadOnly) && file.readAll().trimmed() != "0")
            return true;
    }
    return false;
}

// The caps-lock state for the status pane. Asked whenever the program falls idle, so the LED
// is read at most five times a second.
bool CapsLockOn()
{
    static QElapsedTimer lastRead;
    static bool on = false;
    if (lastRead.isValid() && lastRead.elapsed() < 200)
        return on;
    lastRead.start();
    on = ReadCapsLockLed();
    return on;
}

} // namespace

CMainFrame::CMainFrame(CQuillmarkDoc* document, const QString& rawArguments, QWidget* parent)
    : QMainWindow(parent), m_document(document), m_rawArguments(rawArguments),
      m_recentFiles(QString::fromLatin1(kProgram), 4)
{
    setObjectName(QStringLiteral("CMainFrame"));
    QIcon icon(QStringLiteral(":/quillmark/quillmark-64.png"));
    icon.addFile(QStringLiteral(":/quillmark/quillmark-128.png"));
    setWindowIcon(icon);
    m_recentFiles.Load();
    m_commands = new CCommandTable(this);
    CreateCommands();
    m_view = new CQuillmarkView(document, this);
    m_view->SetStatus(&m_status);
    setCentralWidget(m_view);
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    // Each feature registers its commands with their enable rules.
    CFrameCommands(*this).Register(*m_commands);
    CListCommands(*m_view).Register(*m_commands);
    (new CPrintCommands(document, m_view, [this] {
        return m_view->PortOpen();
    }))->Register(*m_commands);
    CImportCommands(*this).Register(*m_commands);
    CVerifyCommands(*this).Register(*m_commands);
    CCsvCommands(*this).Register(*m_commands);
    (new CFindCommands(*this))->Register(*m_commands);
    CUndoCommands(*this).Register(*m_commands);
    m_document->SetTitleHook([this] { UpdateTitle(); });
    m_document->SetGuard(&m_guard);
    connect(m_commands, &CCommandTable::idle, this, [this] {
        RefreshPanes();
        UpdateTitle();
    });
    setAcceptDrops(true);
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(this);
    m_document->SetTitleHook({});
    m_document->SetGuard(nullptr);
}

QSize CMainFrame::sizeHint() const
{
    // Wide enough for the status panes and the menu bar, not only for the list.
    QSize hint = QMainWindow::sizeHint();
    const int panes = m_messagePane->sizeHint().width() + m_countPane->minimumWidth() +
                      m_positionPane->minimumWidth() + m_capsPane->minimumWidth() + 48;
    hint.setWidth(qMax(hint.width(), qMax(panes, menuBar()->sizeHint().width())));
    return hint;
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    m_messagePane = new QLabel(U(kIdlePrompt));
    m_messagePane->setObjectName(QStringLiteral("AFX_IDW_STATUS_BAR"));
    // Room for the longest prompt: no prompt is cut, and the frame cannot become so narrow
    // that the panes beside it run into each other.
    m_messagePane->setMinimumWidth(
        m_commands->LongestPrompt(m_messagePane->fontMetrics(), m_messagePane->text()) + 8);
    bar->addWidget(m_messagePane, 1);
    auto pane = [bar](const QString& sizeText, const char* name) {
        auto* label = new QLabel;
        label->setObjectName(QString::fromLatin1(name));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(sizeText) + 8);
        bar->addPermanentWidget(label);
        return label;
    };
    m_countPane = pane(U("Anzahl Meldungen:           "), "ID_INDICATOR_COUNT");
    m_positionPane = pane(U("Position:           "), "ID_INDICATOR_POSITION");
    m_capsPane = pane(U("UF"), "ID_INDICATOR_CAPS");
    m_capsPane->setAlignment(Qt::AlignCenter);
    RefreshPanes();
}

QString CMainFrame::CountPaneText() const
{
    return U("Anzahl Meldungen: %1").arg(m_status.messageCount);
}

QString CMainFrame::PositionPaneText() const
{
    return U("Position: %1").arg(m_status.currentPosition);
}

QString CMainFrame::MessagePaneText() const
{
    const QString temporary = statusBar()->currentMessage();
    return temporary.isEmpty() ? m_messagePane->text() : temporary;
}

void CMainFrame::RefreshPanes()
{
    const QString count = CountPaneText();
    if (m_countPane->text() != count)
        m_countPane->setText(count);
    const QString position = PositionPaneText();
    if (m_positionPane->text() != position)
        m_positionPane->setText(position);
    const QString caps = CapsLockOn() ? QStringLiteral("UF") : QString();
    if (m_capsPane->text() != caps)
        m_capsPane->setText(caps);
}

void CMainFrame::SaveDocument(int mode)
{
    if (m_document->SaveProject(mode)) {
        const QString path = m_document->ProjectPath();
        if (QFileInfo::exists(path)) {
            m_recentFiles.Add(path);
            m_recentFiles.Save();
        }
    }
    UpdateTitle();
}

bool CMainFrame::SaveModified()
{
    // Texts still to be read from the FAT are no project to keep.
    return m_document->SaveProject(CQuillmarkDoc::SaveIfWanted);
}

void CMainFrame::NewDocument()
{
    ProjectData& d = m_document->Data();
    if (m_document->IsModified()) {
        // Right after start-up the project was just created; only the flag goes.
        m_document->SetModifiedFlag(false);
    } else {
        // A new project never takes the name of a file on disk, so "Speichern" cannot write
        // the empty project over the file the program was started with.
        std::memset(d.projectPath, 0, sizeof d.projectPath);
    }
    std::memset(d.groupOffset, 0, sizeof d.groupOffset);
    m_guard.Release();
    m_document->Records().DeleteAllItems();
    m_document->SetPathName(QString());
    m_document->SetModifiedFlag(false);
    InitialUpdate();
    m_document->History().Clear();
}

bool CMainFrame::OpenDocument(const QString& path)
{
    // The project shown stays as it was when the file cannot be read.
    const ProjectData before = m_document->Data();
    const QString pathBefore = m_document->GetPathName();
    const bool modifiedBefore = m_document->IsModified();
    QList<MessageRecord> rowsBefore;
    CRecordList& records = m_document->Records();
    for (int row = 0; row < records.GetCount(); ++row)
        rowsBefore.append(records.At(row));

    // Another editor's project opens only read-only, and only when the user wants it.
    ProjectGuard guard(ProjectGuard::Policy::Ask);
    if (!m_guard.Holds(path) && !guard.Open(path))
        return false;
    m_document->OpenProjectPath(path);
    if (InitialUpdate()) {
        m_document->History().Clear();
        if (!m_guard.Holds(path))
            m_guard.TakeOver(guard);
        m_guard.Remember(path);
        UpdateTitle();
        m_recentFiles.Add(path);
        m_recentFiles.Save();
        return true;
    }

    m_document->Data() = before;
    m_document->SetPathName(pathBefore);
    m_document->SetupListColumns();
    {
        CRecordBatch batch(records);
        records.DeleteAllItems();
        for (const MessageRecord& rec : std::as_const(rowsBefore))
            records.AddRecordAt(rec, records.GetCount());
    }
    m_document->SetModifiedFlag(modifiedBefore);
    m_view->PrepareList();
    m_view->UpdateStatusPanes(0);
    UpdateMenus();
    UpdateTitle();
    return false;
}

bool CMainFrame::InitialUpdate()
{
    ProjectData& d = m_document->Data();
    if (d.projectPath[0] == '\0')
        m_document->SetProjectPath(QStringLiteral("Unbenannt.bmt"));
    m_document->SetPathName(m_document->ProjectPath());

    CRecordList& records = m_document->Records();
    records.DeleteAllItems();
    records.ColumnsChanged(false);
    m_view->InitialSetup();
    m_view->PrepareList();

    bool loaded = true;
    if (d.textFormat != FormatFromFat)
        loaded = m_document->LoadProject();
    m_view->PrepareList();
    m_view->ApplyListWidths();
    m_view->scrollToTop();
    m_status.currentPosition = 0;
    m_status.messageCount = records.GetCount();
    if (d.textFormat == FormatFromFat)
        d.panelType = PanelType::None;
    UpdateMenus();
    UpdateTitle();
    return loaded;
}

void CMainFrame::UpdateMenus()
{
    // The project may have changed its shape: entry dialogs built for the old one close.
    CEntryDlg::CloseStale();
    QMenu* fat = m_commands->MenuOf(Cmd::SendTexts);
    QMenu* system = m_commands->MenuOf(Cmd::CoverPage);
    if (!fat || !system)
        return;
    // The LZ coding exists for Bosch panels only, the group offset in the standard format.
    const ProjectData& d = m_document->Data();
    const bool bosch = d.panelType == PanelType::Bosch;
    QList<int> fatIds{Cmd::SendTexts, Cmd::ReadTexts, Cmd::VerifyTexts, Cmd::VerifyAfterSend, 0};
    QList<int> systemIds{Cmd::CoverPage};
    if (bosch) {
        fatIds << Cmd::SendLzCoding << Cmd::ReadLzCoding << 0;
        systemIds << 0 << Cmd::LzAssignment;
    }
    fatIds << Cmd::Configuration;
    if (d.textFormat == FormatStandard)
        systemIds << 0 << Cmd::GroupOffset;
    FillMenu(fat, fatIds);
    FillMenu(system, systemIds);
    m_view->viewport()->update();
}

void CMainFrame::UpdateTitle()
{
    // Texts just read from a FAT have no path yet: the title names them "Unbenannt".
    const QString projectPath = m_document->ProjectPath();
    const QString name =
        projectPath.isEmpty() ? QStringLiteral("Unbenannt") : QFileInfo(projectPath).fileName();
    const QString title =
        name + (m_guard.ReadOnly() ? QStringLiteral(" (schreibgeschützt)") : QString()) +
        QStringLiteral(" - Quillmark  ") + ProjectRules::TitleSuffix(m_document->Data());
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CMainFrame::MarkUntitled()
{
    m_document->SetProjectPath(QStringLiteral("Unbenannt"));
    m_document->SetPathName(QStringLiteral("Unbenannt"));
}

QString CMainFrame::PanelInfoText(const ProjectData& d)
{
    const QString maker = ProjectRules::MakerText(d.panelType);
    if (maker.isEmpty())
        return U("Hersteller: unbekannt\nDie Zentrale des FAT ist diesem Programm nicht bekannt.");
    // eff eff names its model by the model digit, as a project file reads it.
    int variant = d.panelVariant;
    if (d.panelType == PanelType::EffEff)
        if (const PanelCatalogue::Model* m = PanelCatalogue::Select(
                PanelCatalogue::Reader::ProjectFile, d.panelType, d.panelId[3]))
            variant = m->panelVariant;
    const QString model = ProjectRules::ModelText(d.panelType, variant);
    return U("Hersteller: ") + maker + QLatin1Char('\n') + model;
}

bool CMainFrame::StartLineprobe(const QString& folder)
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("lineprobe.exe");
#else
    const QString name = QStringLiteral("lineprobe");
#endif
    const QString dir = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
    return QProcess::startDetached(QDir(dir).filePath(name), QStringList());
}

void CMainFrame::ShowHelp(const QString& page)
{
    if (!m_help) {
        m_help = new CHelpWindow(this);
        m_help->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (!m_help->ShowPage(page.isEmpty() ? QStringLiteral("index.html") : page)) {
        m_help->close();
        MessageBox(U("Die Hilfe konnte nicht aufgerufen werden."), QString(), msg::Warning);
    }
}

QString CMainFrame::ContextHelpPage() const
{
    QWidget* active = QApplication::activeWindow();
    if (active && active->objectName() == QLatin1String("CFindReplaceDlg"))
        return QStringLiteral("eingabe.html#suchen");
    if (active && active != this && active != m_help)
        return QStringLiteral("eingabe.html#dialoge");
    QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == m_view || m_view->isAncestorOf(focus)))
        return QStringLiteral("eingabe.html");
    return QStringLiteral("index.html");
}

void CMainFrame::EnterContextHelp()
{
    m_contextHelpMode = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_contextHelpMode)
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_contextHelpMode = false;
        QApplication::restoreOverrideCursor();
        return true;
    }
    if (event->type() != QEvent::MouseButtonPress)
        return QMainWindow::eventFilter(watched, event);
    // The press reaches the window before the widget under the pointer: explain that widget.
    QWidget* target = qobject_cast<QWidget*>(watched);
    if (!target) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        target = QApplication::widgetAt(mouse->globalPosition().toPoint());
        if (!target)
            return QMainWindow::eventFilter(watched, event);
    }
    // The next click is not carried out but explained.
    m_contextHelpMode = false;
    QApplication::restoreOverrideCursor();
    QString page = QStringLiteral("index.html");
    if (auto* button = qobject_cast<QToolButton*>(target); button && button->defaultAction()) {
        page = QStringLiteral("befehle.html#cmd%1").arg(button->defaultAction()->data().toInt());
    } else if (auto* menu = qobject_cast<QMenu*>(target); menu && menu->activeAction()) {
        page = QStringLiteral("befehle.html#cmd%1").arg(menu->activeAction()->data().toInt());
        menu->close();
    } else if (target == m_view || m_view->isAncestorOf(target)) {
        page = QStringLiteral("eingabe.html");
    } else if (statusBar()->isAncestorOf(target)) {
        page = QStringLiteral("befehle.html#statusleiste");
    }
    ShowHelp(page);
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    if (m_help)
        m_help->close();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            continue;
        event->acceptProposedAction();
        activateWindow();
        // Opened like "Öffnen": the save question first.
        const QString path = url.toLocalFile();
        QMetaObject::invokeMethod(
            this,
            [this, path] {
                if (SaveModified())
                    OpenDocument(path);
            },
            Qt::QueuedConnection);
        return;
    }
}
