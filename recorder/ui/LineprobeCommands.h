#pragma once

// Command ids of Lineprobe's menu, toolbar and keys: the program's own from 32771 up, the
// framework's standard numbers otherwise.
namespace LineprobeCommands {

enum : int {
    // FA&T
    StartRecording = 32771,
    StopRecording = 32772,
    Configuration = 32773,
    FatData = 32776,
    SaveData = 32777,
    ExpertMode = 32779,
    // &Bearbeiten
    EditFind = 57636,
    EditRepeat = 57637,
    EditFindPrevious = 32790,
    GoToTime = 32791,
    // &Datei
    FileNew = 57600,
    FileOpen = 57601,
    FileSave = 57603,
    FilePrintSetup = 57606,
    FilePrint = 57607,
    FilePrintPreview = 57609,
    AppExit = 57665,
    // &Fenster
    WindowCascade = 57650,
    WindowTileHorz = 57651,
    // &?
    AppAbout = 57664,
    HelpIndex = 57667,
    ContextHelp = 57669,
    Help = 57670,
    // &Ansicht
    ViewToolbar = 59392,
    ViewStatusBar = 59393,
    ViewTimeStamps = 32792,
};

} // namespace LineprobeCommands
