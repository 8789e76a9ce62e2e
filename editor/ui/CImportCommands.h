#pragma once

class CCommandTable;
class CMainFrame;

// The window side of the imports and the format change: "BMF - Dateien importieren",
// "Zentralentexte übernehmen" and "Eingabeformat ändern" with their enable rules, the progress
// window and the format dialogs, over the cores that run without widgets.
class CImportCommands
{
public:
    explicit CImportCommands(CMainFrame& frame) : m_frame(frame) {}

    void Register(CCommandTable& table) const;

    static void ImportBmf(CMainFrame& frame);
    static void ImportPanelTexts(CMainFrame& frame);
    static void ChangeTextFormat(CMainFrame& frame);

private:
    CMainFrame& m_frame;
};
