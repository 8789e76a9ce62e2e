#pragma once

#include "CListEditView.h"
#include "CHelpWindow.h"
#include "CRecentFileList.h"
#include "ProjectGuard.h"

// Qt
#include <QMainWindow>
#include <QPointer>

class CCommandTable;
class CQuillmarkDoc;
class CQuillmarkView;
class QLabel;
class QMenu;
class QToolBar;

// Quillmark's main window: menus, toolbar and status bar over the one text list, the command
// table with its enable rules, the window title, the recent files and the document's life
// (new, open, save, close).
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    enum { IDR_MAINFRAME = 128, ID_INDICATOR_COUNT = 101, ID_INDICATOR_POSITION = 102 };

    // rawArguments is the program's argument string as started (used again by "Neu").
    CMainFrame(CQuillmarkDoc* document, const QString& rawArguments, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CCommandTable& Commands() { return *m_commands; }
    CQuillmarkDoc* Document() const { return m_document; }
    CQuillmarkView* View() const { return m_view; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // The popups of the menu bar in order: Datei, Bearbeiten, FAT, System, Analyse, Ansicht, ?
    // (for tests; the window finds its menus by the commands they hold).
    QMenu* Popup(int position) const;

    // The numbers of the status panes, written by the list.
    ListStatus& Status() { return m_status; }
    int MessageCount() const { return m_status.messageCount; }
    int CurrentPosition() const { return m_status.currentPosition; }
    QString CountPaneText() const;
    QString PositionPaneText() const;
    QString MessagePaneText() const;

    // The view's initial update: binds and loads the project, then the menus. False when the
    // project could not be loaded.
    bool InitialUpdate();
    void UpdateMenus();
    void UpdateTitle();
    void MarkUntitled();

    // The document's steps as the commands run them.
    void NewDocument();
    bool OpenDocument(const QString& path);
    // The save question; false when the user cancelled.
    bool SaveModified();
    // Saves (CQuillmarkDoc::Save or SaveAs) and keeps the file in the recent list.
    void SaveDocument(int mode);
    CRecentFileList& RecentFiles() { return m_recentFiles; }

    // The help window, opened at page (a file of the help) when asked.
    void ShowHelp(const QString& page = QString());
    CHelpWindow* HelpWindow() const { return m_help; }
    // The help page for what has the keyboard focus (F1).
    QString ContextHelpPage() const;
    // Shift+F1: the next click shows the help of what it hits.
    void EnterContextHelp();
    // The text of the "&Zentrale" box.
    static QString PanelInfoText(const struct ProjectData& data);
    // Starts the lineprobe program in folder (default: this program's own), without
    // arguments and without keeping it; failures are ignored. True when it started.
    static bool StartLineprobe(const QString& folder = QString());

    QSize sizeHint() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateCommands();
    void CreateMenus();
    // Puts the commands of ids into menu in this order, 0 for a separator.
    void FillMenu(QMenu* menu, const QList<int>& ids);
    void CreateToolBar();
    void CreateStatusBar();
    void RebuildRecentMenu();
    void RefreshPanes();

    CQuillmarkDoc* m_document;
    QString m_rawArguments;
    CCommandTable* m_commands = nullptr;
    CQuillmarkView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_countPane = nullptr;
    QLabel* m_positionPane = nullptr;
    QLabel* m_capsPane = nullptr;
    QList<QAction*> m_recentActions;
    ListStatus m_status;
    CRecentFileList m_recentFiles;
    QPointer<CHelpWindow> m_help;
    bool m_contextHelpMode = false;
    // The lock of the open project and its state on disk; the document asks it before saving.
    ProjectGuard m_guard{ProjectGuard::Policy::Ask};
};
