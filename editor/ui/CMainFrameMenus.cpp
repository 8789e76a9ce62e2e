// The main frame's command table, menus, toolbar and recent-file entries.
#include "CMainFrame.h"

#include "CCommandTable.h"
#include "QuillmarkCommands.h"

// Qt
#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

QIcon ToolIcon(const char* theme, QStyle::StandardPixmap fallback, const QStyle* style)
{
    return QIcon::fromTheme(QString::fromLatin1(theme), style->standardIcon(fallback));
}

} // namespace

void CMainFrame::CreateCommands()
{
    CCommandTable& c = *m_commands;
    c.Add(Cmd::FileNew, U("&Neu\tStrg+N"), U("Erstellt ein neues Projekt.\nNeu"),
          QKeySequence(Qt::CTRL | Qt::Key_N));
    c.Add(Cmd::FileOpen, U("Ö&ffnen...\tStrg+O"), U("Öffnet ein bestehendes Projekt.\nÖffnen"),
          QKeySequence(Qt::CTRL | Qt::Key_O));
    c.Add(Cmd::FileSave, U("S&peichern\tStrg+S"), U("Speichert das aktive Projekt.\nSpeichern"),
          QKeySequence(Qt::CTRL | Qt::Key_S));
    c.Add(Cmd::FileSaveAs, U("Speichern &unter..."),
          U("Speichert das aktiveProjekt unter neuem Namen.\nSpeichern unter"));
    c.Add(Cmd::FilePrint, U("&Drucken...\tStrg+P"), U("Druckt das aktive Projekt.\nDrucken"),
          QKeySequence(Qt::CTRL | Qt::Key_P));
    c.Add(Cmd::FilePrintPreview, U("Sei&tenansicht"), U("Zeigt ganze Seiten an.\nSeitenansicht"));
    c.Add(Cmd::FileMruFirst, U("Letzte Datei"), U("Öffnet dieses Projekt."));
    c.Add(Cmd::AppExit, U("&Beenden"),
          U("Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.\nBeenden"));
    c.Add(Cmd::EditUndo, U("&Rückgängig\tStrg+Z"),
          U("Macht den letzten Schritt rückgängig.\nRückgängig"),
          QKeySequence(Qt::CTRL | Qt::Key_Z));
    c.Add(Cmd::EditRedo, U("&Wiederherstellen\tStrg+Y"),
          U("Stellt den zuletzt rückgängig gemachten Schritt wieder her.\nWiederherstellen"),
          QKeySequence(Qt::CTRL | Qt::Key_Y));
    c.Add(Cmd::InsertTexts, U("Texte &einfügen"),
          U("Hiermit können neue Texte eingefügt werden\nTexte einfügen"));
    c.Add(Cmd::DeleteTexts, U("Texte &löschen"),
          U("Hiermit können ausgewählte Texte gelöscht werden\nTexte löschen"));
    c.Add(Cmd::ConvertFormat, U("Eingabeformat &ändern"),
          U("Hiermit können Sie das Eingabeformat ändern"));
    c.Add(Cmd::ImportBmf, U("BMF - Dateien importieren"),
          U("Hiermit können BMF - Dateien importiert werden"));
    c.Add(Cmd::ImportPanelTexts, U("Zentralentexte übernehmen"),
          U("Hiermit können Texte aus der Zentralenversorgung übernommen werden"));
    c.Add(Cmd::SendTexts, U("Daten &senden"),
          U("Die Daten werden an das FAT gesandt\nDaten senden"));
    c.Add(Cmd::ReadTexts, U("Daten &auslesen"),
          U("Die Daten werden aus dem FAT ausgelesen\nDaten auslesen"));
    c.Add(Cmd::ExportCsv, U("Texte als &CSV..."),
          U("Schreibt die Texte in eine CSV-Datei für Tabellenkalkulationen.\nCSV exportieren"));
    c.Add(Cmd::ImportCsv, U("&CSV-Datei importieren..."),
          U("Übernimmt die Texte einer CSV-Datei in das Projekt.\nCSV importieren"));
    // find and replace
    c.Add(Cmd::Find, U("&Suchen...\tStrg+F"), U("Sucht einen Text in der Liste.\nSuchen"),
          QKeySequence(Qt::CTRL | Qt::Key_F));
    c.Add(Cmd::FindNext, U("Weiters&uchen\tF3"),
          U("Sucht den nächsten Treffer, mit Umschalt+F3 den vorigen.\nWeitersuchen"),
          QKeySequence(Qt::Key_F3));
    c.Add(Cmd::FindPrevious, U("Rückwärts suchen\tUmschalt+F3"),
          U("Sucht den vorigen Treffer.\nRückwärts suchen"), QKeySequence(Qt::SHIFT | Qt::Key_F3));
    c.Add(Cmd::Replace, U("Erse&tzen...\tStrg+H"), U("Ersetzt einen Text in der Liste.\nErsetzen"),
          QKeySequence(Qt::CTRL | Qt::Key_H));
    c.Add(Cmd::VerifyTexts, U("Mit FAT &vergleichen"),
          U("Liest die Texte des FAT und vergleicht sie mit dem Projekt.\nMit FAT vergleichen"));
    c.Add(Cmd::VerifyAfterSend, U("&Nach dem Senden vergleichen"),
          U("Vergleicht nach jedem Senden die Texte des FAT mit dem Projekt."));
    c.Add(Cmd::SendLzCoding, U("LZ-Codierung s&enden"),
          U("Hiermit kann die LZ-Codierung an das FAT gesandt werden"));
    c.Add(Cmd::ReadLzCoding, U("LZ-Codierung a&uslesen"),
          U("Hiermit kann die LZ-Codierung aus dem FAT ausgelesen werden"));
    c.Add(Cmd::Configuration, U("&Konfiguration"),
          U("Hier kann die aktive Schnittstelle von COM1 - COM4 festgelegt werden"));
    c.Add(Cmd::CoverPage, U("&Deckseite"),
          U("Hiermit kann die Deckseite des Ausdruckes beschriftet werden"));
    c.Add(Cmd::GroupOffset, U("&Offset"),
          U("Hiermit kann ein Meldergruppenoffset vergeben werden"));
    c.Add(Cmd::LzAssignment, U("&LZ - Zuweisung"),
          U("Hiermit können die LZ - Zuweisung für das FAT verändert werden"));
    c.Add(Cmd::StartLineprobe, U("Line&probe starten"), U("Hiermit wird Lineprobe gestartet"));
    c.Add(Cmd::ViewToolbar, U("&Symbolleiste"),
          U("Blendet die Symbolleiste ein oder aus.\nSymbolleiste ein-/ausschalten"));
    c.Add(Cmd::ViewStatusBar, U("S&tatusleiste"),
          U("Blendet die Statusleiste ein oder aus.\nStatusleiste ein-/ausschalten"));
    c.Add(Cmd::HelpTopics, U("&Hilfethemen"), U("Listet die Hilfethemen auf.\nHilfethemen"));
    c.Add(Cmd::Help, U("&Hilfe\tF1"), U("Zeigt die Hilfe zum aktuellen Fenster an.\nHilfe"),
          QKeySequence(Qt::Key_F1));
    c.Add(Cmd::AppAbout, U("Inf&o über Quillmark..."),
          U("Zeigt Programm-Informationen, Versionsnummer und Copyright an.\nInfo"));
    c.Add(Cmd::ContextHelp, U("&Direkthilfe\tUmschalt+F1"),
          U("Zeigt die Hilfe zum als Nächstes angeklickten Element an.\nDirekthilfe"),
          QKeySequence(Qt::SHIFT | Qt::Key_F1));
    c.Add(Cmd::PanelInfo, U("&Zentrale"), U("Hier wird die ausgewählte Zentrale angezeigt"));

    // F1 shows the help for the current context, not only the topics.
    c.Action(Cmd::Help)->setShortcutContext(Qt::ApplicationShortcut);
    c.Action(Cmd::ContextHelp)->setShortcutContext(Qt::ApplicationShortcut);
    for (const int id : c.Ids())
        addAction(c.Action(id)); // shortcuts work while menus and toolbar are hidden

    const QStyle* s = style();
    c.Action(Cmd::FileNew)->setIcon(ToolIcon("document-new", QStyle::SP_FileIcon, s));
    c.Action(Cmd::FileOpen)->setIcon(ToolIcon("document-open", QStyle::SP_DialogOpenButton, s));
    c.Action(Cmd::FileSave)->setIcon(ToolIcon("document-save", QStyle::SP_DialogSaveButton, s));
    c.Action(Cmd::FilePrint)->setIcon(ToolIcon("document-print", QStyle::SP_ComputerIcon, s));
    c.Action(Cmd::SendTexts)->setIcon(ToolIcon("go-up", QStyle::SP_ArrowUp, s));
    c.Action(Cmd::ReadTexts)->setIcon(ToolIcon("go-down", QStyle::SP_ArrowDown, s));
    c.Action(Cmd::InsertTexts)->setIcon(ToolIcon("list-add", QStyle::SP_FileDialogNewFolder, s));
    c.Action(Cmd::DeleteTexts)->setIcon(ToolIcon("list-remove", QStyle::SP_TrashIcon, s));
    c.Action(Cmd::EditUndo)->setIcon(ToolIcon("edit-undo", QStyle::SP_ArrowBack, s));
    c.Action(Cmd::EditRedo)->setIcon(ToolIcon("edit-redo", QStyle::SP_ArrowForward, s));
    c.Action(Cmd::AppAbout)->setIcon(ToolIcon("help-about", QStyle::SP_MessageBoxInformation, s));
    c.Action(Cmd::ContextHelp)
        ->setIcon(ToolIcon("help-contextual", QStyle::SP_TitleBarContextHelpButton, s));
}

void CMainFrame::FillMenu(QMenu* menu, const QList<int>& ids)
{
    menu->clear(); // deletes its separators; the commands' actions belong to the table
    for (const int id : ids) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(m_commands->Action(id));
    }
}

void CMainFrame::CreateMenus()
{
    auto popup = [this](const QString& title, const QList<int>& ids) {
        QMenu* menu = menuBar()->addMenu(title);
        FillMenu(menu, ids);
        m_commands->WatchMenu(menu);
        return menu;
    };
    QMenu* file = popup(U("&Datei"), {Cmd::FileNew, Cmd::FileOpen, Cmd::FileSave, Cmd::FileSaveAs,
                                      0, Cmd::FilePrint, Cmd::FilePrintPreview, 0,
                                      Cmd::FileMruFirst, 0, Cmd::AppExit});
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::RebuildRecentMenu);
    auto* exports = new QMenu(U("&Exportieren"), file);
    exports->addAction(m_commands->Action(Cmd::ExportCsv));
    m_commands->WatchMenu(exports);
    file->insertMenu(m_commands->Action(Cmd::FilePrint), exports);
    file->insertSeparator(m_commands->Action(Cmd::FilePrint));
    popup(U("&Bearbeiten"), {Cmd::EditUndo, Cmd::EditRedo, 0, Cmd::InsertTexts, 0, Cmd::DeleteTexts,
                             0, Cmd::Find, Cmd::FindNext, Cmd::Replace, 0, Cmd::ConvertFormat,
                             Cmd::ImportBmf, Cmd::ImportCsv, 0, Cmd::ImportPanelTexts});
    popup(U("&FAT"), {Cmd::SendTexts, Cmd::ReadTexts, Cmd::VerifyTexts, Cmd::VerifyAfterSend, 0,
                      Cmd::SendLzCoding, Cmd::ReadLzCoding, 0, Cmd::Configuration});
    popup(U("&System"), {Cmd::CoverPage, 0, Cmd::GroupOffset, 0, Cmd::LzAssignment});
    popup(U("A&nalyse"), {Cmd::StartLineprobe});
    popup(U("&Ansicht"), {Cmd::ViewToolbar, Cmd::ViewStatusBar});
    popup(U("&?"), {Cmd::HelpTopics, 0, Cmd::AppAbout, 0, Cmd::PanelInfo});
    RebuildRecentMenu();
}

QMenu* CMainFrame::Popup(int position) const
{
    const QList<QAction*> menus = menuBar()->actions();
    return position >= 0 && position < menus.size() ? menus[position]->menu() : nullptr;
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = new QToolBar(U("Symbolleiste"), this);
    m_toolBar->setObjectName(QStringLiteral("IDR_MAINFRAME"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    const QList<int> buttons{Cmd::FileNew,
                             Cmd::FileOpen,
                             Cmd::FileSave,
                             0,
                             Cmd::FilePrint,
                             0,
                             Cmd::SendTexts,
                             Cmd::ReadTexts,
                             0,
                             Cmd::InsertTexts,
                             0,
                             Cmd::DeleteTexts,
                             0,
                             Cmd::EditUndo,
                             Cmd::EditRedo,
                             0,
                             Cmd::AppAbout,
                             Cmd::ContextHelp};
    for (const int id : buttons) {
        if (id == 0)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(m_commands->Action(id));
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::RebuildRecentMenu()
{
    QMenu* file = m_commands->MenuOf(Cmd::FileMruFirst);
    if (!file)
        return;
    QAction* placeholder = m_commands->Action(Cmd::FileMruFirst);
    for (QAction* action : std::as_const(m_recentActions)) {
        file->removeAction(action);
        action->deleteLater();
    }
    m_recentActions.clear();
    const QStringList& entries = m_recentFiles.Entries();
    placeholder->setVisible(entries.isEmpty());
    for (int i = 0; i < entries.size(); ++i) {
        auto* action = new QAction(m_recentFiles.MenuText(i), file);
        action->setStatusTip(m_commands->Prompt(Cmd::FileMruFirst));
        action->setData(Cmd::FileMruFirst + i);
        const QString path = entries[i];
        connect(action, &QAction::triggered, this, [this, path] {
            if (!SaveModified())
                return;
            if (!OpenDocument(path)) {
                const int index = int(m_recentFiles.Entries().indexOf(path));
                m_recentFiles.Remove(index);
                m_recentFiles.Save();
            }
        });
        file->insertAction(placeholder, action);
        m_recentActions.append(action);
    }
}
