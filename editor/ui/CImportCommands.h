#pragma once

class CMainFrame;

// The window side of the imports and the format change: "BMF - Dateien importieren",
// "Zentralentexte übernehmen" and "Eingabeformat ändern" with their enable rules, the progress
// window and the format dialogs, over the cores that run without widgets.
class CImportCommands
{
public:
    static void Register(CMainFrame& frame);

    static void ImportBmf(CMainFrame& frame);
    static void ImportPanelTexts(CMainFrame& frame);
    static void ChangeTextFormat(CMainFrame& frame);
    // After rows came in: the list shows them from the top, menus and title follow.
    static void ShowImported(CMainFrame& frame);
};
