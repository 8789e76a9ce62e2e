#pragma once

#include "RecordSearch.h"

// Qt
#include <QObject>
#include <QPointer>
#include <QRect>

#include <vector>

class CCommandTable;
class CFindReplaceDlg;
class CMainFrame;

// Find and replace in Quillmark's list: "&Suchen..." (Strg+F), "Weitersuchen" (F3, backwards
// Umschalt+F3) and "&Ersetzen..." (Strg+H) with their modeless dialog. The dialog lives as
// long as the main window, so F3 searches again for what it last held. Lives as a child of the
// main window.
class CFindCommands : public QObject
{
    Q_OBJECT

public:
    explicit CFindCommands(CMainFrame& frame);

    void Register(CCommandTable& commands);

    // Shows the dialog beside the main window, for replacing or only for searching.
    void OpenDialog(bool replace);
    CFindReplaceDlg* Dialog() const;

    // Selects the next (previous) matching row after the current one and scrolls to it; the
    // status bar says when the search went round the list or found nothing.
    void FindNext(bool forward);
    // Replaces in the current row when it matches, then goes on to the next match.
    void ReplaceOne();
    // Replaces in every row and reports how many rows changed and why others did not.
    void ReplaceAll();

private:
    // The dialog's column choice follows the project's headings.
    void RefreshColumns();
    RecordSearch Search();
    int CurrentRow() const;
    void ShowRow(int row);
    // The whole row on the screen (empty for -1).
    QRect RowOnScreen(int row) const;
    void ShowStatus(const QString& text);
    // Makes the replacements one undo step; returns the row the last change now stands in.
    int StoreReplacements(const QString& step, const std::vector<RecordSearch::Change>& changes);

    CMainFrame& m_frame;
    QPointer<CFindReplaceDlg> m_dialog;
};
