#pragma once

#include "CRecordList.h"
#include "MessageRecord.h"

// Qt
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>
#include <utility>
#include <vector>

class CQuillmarkDoc;

// The project's undo history: each change to the rows or the settings is one step on a
// QUndoStack, carried out through the record store's operations. The stack's clean state is
// the project's changed mark: saving marks the state clean, undoing back to it makes the
// project unchanged again, and a change made outside the steps keeps it changed until saved.
class CEditHistory : public QObject
{
    Q_OBJECT

public:
    // What a recorded change may touch: the settings block only, or settings and rows.
    enum class Scope { Settings, Project };

    explicit CEditHistory(CQuillmarkDoc& doc);
    ~CEditHistory() override;
    CEditHistory(const CEditHistory&) = delete;
    CEditHistory& operator=(const CEditHistory&) = delete;

    // steps
    // Stores rec as typed entry does (CRecordList::InsertRecord): one step, none when refused.
    InsertResult StoreRecord(const QString& stepName, const MessageRecord& rec);
    // Gives each listed row the record beside it, all in one step; the records are taken as
    // they are (checked and padded by the caller). Rows out of range are left out; nothing at
    // all changes no step.
    void SetRecords(const QString& stepName, std::vector<std::pair<int, MessageRecord>> changes);
    // Deletes the rows (any order, repeats ignored) in one step.
    void DeleteRows(const QString& stepName, std::vector<int> rows);
    // Runs change and makes what it changed in scope one step (none when nothing changed);
    // returns change's result. Changed marks the change sets itself are the step's own.
    bool Record(const QString& stepName, Scope scope, const std::function<bool()>& change);
    // The steps between BeginStep and EndStep undo as one.
    void BeginStep(const QString& stepName);
    void EndStep();

    // undo and redo
    bool CanUndo() const { return m_stack.canUndo(); }
    bool CanRedo() const { return m_stack.canRedo(); }
    QString UndoText() const { return m_stack.undoText(); }
    QString RedoText() const { return m_stack.redoText(); }
    void Undo() { m_stack.undo(); }
    void Redo() { m_stack.redo(); }
    // Forgets every step (a new or opened project); the project counts as unchanged.
    void Clear() { m_stack.clear(); }
    const QUndoStack& Stack() const { return m_stack; }

    // the changed mark
    bool IsModified() const { return !m_stack.isClean(); }
    // false: the project as it is now is saved (clean); true: changed outside the steps, so
    // no undo makes it unchanged before the next save.
    void SetModified(bool modified);

signals:
    // Undo or redo put back a whole recorded state: the windows show the project anew.
    void ProjectRestored();
    // The step texts or their availability changed (for menu texts and enable rules).
    void StepsChanged();

private:
    CQuillmarkDoc& m_doc;
    QUndoStack m_stack;
    int m_recording = 0;
};
