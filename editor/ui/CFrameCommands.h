#pragma once

class CCommandTable;
class CMainFrame;

// The main window's own commands: new, open, save, exit, starting Lineprobe, the toolbar and
// status bar switches, the help, the about box and the panel information.
class CFrameCommands
{
public:
    explicit CFrameCommands(CMainFrame& frame) : m_frame(frame) {}

    void Register(CCommandTable& table) const;

private:
    CMainFrame& m_frame;
};
