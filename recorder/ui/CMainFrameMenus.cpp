// The main frame's command table, menus, toolbar and window list.
#include "CMainFrame.h"

#include "CCommandTable.h"
#include "LineprobeCommands.h"

// Qt
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

using namespace LineprobeCommands;

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

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
    // &Bearbeiten
    c.Add(EditFind, U("&Suchen...\tStrg+F"),
          U("Sucht einen Text oder eine Bytefolge in den Listen.\nSuchen"),
          QKeySequence(Qt::CTRL | Qt::Key_F));
    c.Add(EditRepeat, U("&Weitersuchen\tF3"), U("Springt zum nächsten Treffer.\nWeitersuchen"),
          QKeySequence(Qt::Key_F3));
    c.Add(EditFindPrevious, U("&Rückwärts suchen\tUmschalt+F3"),
          U("Springt zum vorigen Treffer.\nRückwärts suchen"),
          QKeySequence(Qt::SHIFT | Qt::Key_F3));
    c.Add(GoToTime, U("&Gehe zu Zeit...\tStrg+G"),
          U("Springt zur ersten Zeile, die zu einer Zeit oder danach empfangen wurde.\n"
            "Gehe zu Zeit"),
          QKeySequence(Qt::CTRL | Qt::Key_G));
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
    c.Add(ViewTimeStamps, U("&Zeitstempel"),
          U("Zeigt vor jeder Zeile, wann ihr erstes Byte empfangen wurde.\n"
            "Zeitstempel ein-/ausblenden"));
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
    // Printing registers its handlers from its own source (CTracePrintCommands).

    c.SetHandler(
        StartRecording, [this] { OnStart(); }, [=] { return haveDoc() && idle(); });
    c.SetHandler(
        StopRecording, [this] { OnStop(); }, [=] { return haveDoc() && recording(); });
    c.SetHandler(
        SaveData, [this] { OnToggleSaveData(); }, idle);
    c.SetCheckRule(SaveData, [this] { return SaveDataChecked(); });
    c.SetHandler(
        Configuration, [this] { OnConfiguration(); }, [=] { return haveDoc() && idle(); });
    c.SetHandler(
        ExpertMode, [this] { OnToggleExpertMode(); }, idle);
    c.SetCheckRule(ExpertMode, [this] { return ExpertModeChecked(); });

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

    QMenu* edit = menu(U("&Bearbeiten"));
    edit->addAction(c.Action(EditFind));
    edit->addAction(c.Action(EditRepeat));
    edit->addAction(c.Action(EditFindPrevious));
    edit->addSeparator();
    edit->addAction(c.Action(GoToTime));

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
    view->addSeparator();
    view->addAction(c.Action(ViewTimeStamps));

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

void CMainFrame::UpdateWindowList(QMenu* menu)
{
    // The menu's own actions are the separator and the entries; the commands stay.
    const QList<QAction*> actions = menu->actions();
    for (QAction* action : actions) {
        if (action->parent() == menu)
            delete action;
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
