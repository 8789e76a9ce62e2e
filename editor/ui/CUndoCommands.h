#pragma once

class CCommandTable;
class CMainFrame;

// "Rückgängig" and "Wiederherstellen": the project's undo history as commands, their menu
// texts naming the step they undo or redo, and the window shown anew after a step that put
// back a whole project state.
class CUndoCommands
{
public:
    explicit CUndoCommands(CMainFrame& frame) : m_frame(frame) {}

    void Register(CCommandTable& table) const;

private:
    CMainFrame& m_frame;
};
