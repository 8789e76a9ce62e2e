#pragma once

// The command ids of Quillmark's menus, toolbar and context menu. The program's own commands
// count from 32771; the others keep the framework's standard numbers.
namespace Cmd {

enum : int {
    FileNew = 57600,
    FileOpen = 57601,
    FileSave = 57603,
    FileSaveAs = 57604,
    FilePrint = 57607,
    FilePrintPreview = 57609,
    FileMruFirst = 57616, // "Letzte Datei" and the recent files after it
    FileMruLast = 57619,
    AppExit = 57665,
    InsertTexts = 32771,
    DeleteTexts = 32772,
    ConvertFormat = 32785,
    ImportBmf = 32788,
    ImportPanelTexts = 32789,
    SendTexts = 32773,
    ReadTexts = 32774,
    SendLzCoding = 32783,
    ReadLzCoding = 32782,
    Configuration = 32775,
    CoverPage = 32781,
    GroupOffset = 32780,
    LzAssignment = 32784,
    StartLineprobe = 32787,
    ViewToolbar = 59392,
    ViewStatusBar = 59393,
    HelpTopics = 57667,
    AppAbout = 57664,
    ContextHelp = 57669,
    Help = 57670,
    PanelInfo = 32786,
    VerifyTexts = 32790,
    VerifyAfterSend = 32791,
    ExportCsv = 32792,
    ImportCsv = 32793,
    EditUndo = 57643,
    EditRedo = 57644,
    // find and replace
    Find = 57636,
    FindNext = 57637,
    Replace = 57638,
    FindPrevious = 32798
};

} // namespace Cmd
