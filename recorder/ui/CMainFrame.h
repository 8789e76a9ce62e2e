#pragma once

// Qt
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class CChildFrame;
class CCommandTable;
class CHandshake;
class CLineprobeDoc;
class CLineprobeHelp;
class CLineprobeHexView;
class CLineprobeView;
class CRecordingSession;
class CTraceListView;
class QLabel;
class QMdiArea;
class QProgressDialog;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// Lineprobe's main window: the one trace document and its recording session with the ASCII
// and hex views (and, from the first expert-mode start, the modem-line monitor) as MDI
// children that cannot be closed, the menu, toolbar and keys through one command table, the
// status text and the title. The recording commands and the option check marks go to the
// session; opening and saving lists act on the active trace view's list.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    // tracePath: the command line, taken as the document's trace path (empty = none).
    explicit CMainFrame(const QString& tracePath = QString(), QWidget* parent = nullptr);
    ~CMainFrame() override;

    CCommandTable* Commands() const { return m_commands; }
    // Runs a command as the menu, toolbar or key would; false when it is disabled.
    bool Execute(int id);

    // Command 57600: both trace views on the document, unless they already exist.
    void OnFileNew();

    CLineprobeDoc* Doc() const { return m_doc.get(); }
    CRecordingSession* Session() const { return m_session.get(); }
    CLineprobeView* AsciiView() const { return m_asciiView; }
    CLineprobeHexView* HexView() const { return m_hexView; }
    CHandshake* Monitor() const { return m_monitor; }
    QMdiArea* MdiArea() const { return m_mdi; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QMenu* Menu(const QString& title) const;
    // The trace view of the active child window; nullptr while the monitor or nothing is.
    CTraceListView* ActiveListView() const;
    // The child window that holds widget (a view or the monitor).
    QMdiSubWindow* ChildOf(QWidget* widget) const;

    bool SaveDataChecked() const;
    bool ExpertModeChecked() const;
    bool IsRecording() const;
    // The text of the status bar's second pane.
    QString StatusText() const;
    void SetStatusText(const QString& text);
    // The title with the base name of the trace path.
    void UpdateTitle();

    // A bar under the child windows (the search).
    void AddBelowViews(QWidget* widget);

    // Child windows one above the other over the whole width ("&Nebeneinander").
    void TileHorizontally();

    CLineprobeHelp* HelpWindow() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // What handles a command: the active child window's widget.
    enum class Target { Ascii, Hex, Monitor };
    Target ActiveTarget() const;

    void CreateCommands();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    // Widens the window, before it is first shown, to the panes of the status bar.
    void FitStatusBar();
    // The recording's signals to the status bar, the monitor and the line-break dialog.
    void ConnectSession();
    CChildFrame* AddChild(QWidget* widget, const QString& caption);
    void OpenMonitor();
    // The numbered list of the child windows at the end of the "&Fenster" menu.
    void UpdateWindowList(QMenu* menu);

    void OnStart();
    void OnStop();
    void OnConfiguration();
    void OnFatData();
    void OnFileOpen();
    void OnFileSave();
    void OnToggleSaveData();
    void OnToggleExpertMode();
    void OnAbout();
    void ShowHelp(const QString& page);
    // Help on the active child window (F1, Shift+F1).
    void OnContextHelp();
    // Reading the lists of a long recording: a progress window, while the windows go on
    // painting what they showed.
    void ShowLoadProgress(qint64 read, qint64 total);

    QString m_startPath;
    std::unique_ptr<CLineprobeDoc> m_doc;
    std::unique_ptr<CRecordingSession> m_session;
    CCommandTable* m_commands = nullptr;
    QMdiArea* m_mdi = nullptr;
    QWidget* m_central = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_statusPane = nullptr;
    QPointer<CLineprobeHelp> m_help;
    std::unique_ptr<QProgressDialog> m_loadProgress;

    CLineprobeView* m_asciiView = nullptr;
    CLineprobeHexView* m_hexView = nullptr;
    CHandshake* m_monitor = nullptr;
    CChildFrame* m_asciiFrame = nullptr;
    CChildFrame* m_hexFrame = nullptr;
    CChildFrame* m_monitorFrame = nullptr;
    bool m_tiledOnShow = false;
};
