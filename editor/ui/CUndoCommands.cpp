#include "CUndoCommands.h"

#include "CCommandTable.h"
#include "CEditHistory.h"
#include "CMainFrame.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "QuillmarkCommands.h"

// Qt
#include <QAction>

namespace {

// The command's text with the step it acts on: "&Rückgängig: Texte löschen\tStrg+Z".
void ShowStep(QAction* action, const QString& command, const QString& step, const char* key)
{
    QString text = command;
    if (!step.isEmpty())
        text += QStringLiteral(": ") + step;
    action->setText(text + QLatin1Char('\t') + QString::fromLatin1(key));
    action->setToolTip(QString(text).remove(QLatin1Char('&')));
}

} // namespace

void CUndoCommands::Register(CCommandTable& c) const
{
    CMainFrame* frame = &m_frame;
    CEditHistory* history = &frame->Document()->History();
    c.SetHandler(
        Cmd::EditUndo, [history] { history->Undo(); }, [history] { return history->CanUndo(); });
    c.SetHandler(
        Cmd::EditRedo, [history] { history->Redo(); }, [history] { return history->CanRedo(); });

    QAction* undo = c.Action(Cmd::EditUndo);
    QAction* redo = c.Action(Cmd::EditRedo);
    const auto texts = [history, undo, redo] {
        ShowStep(undo, QString::fromUtf8("&Rückgängig"), history->UndoText(), "Strg+Z");
        ShowStep(redo, QStringLiteral("&Wiederherstellen"), history->RedoText(), "Strg+Y");
    };
    texts();
    QObject::connect(history, &CEditHistory::StepsChanged, undo, texts);
    // A whole state came back (import, conversion, settings): columns, menus and title anew.
    QObject::connect(history, &CEditHistory::ProjectRestored, frame, [frame] {
        frame->View()->PrepareList();
        frame->UpdateMenus();
        frame->UpdateTitle();
        frame->View()->UpdateStatusPanes(0);
        frame->View()->viewport()->update();
    });
}
