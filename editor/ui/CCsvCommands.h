#pragma once

class CMainFrame;

// The window side of the spreadsheet files: "Texte als CSV..." under "Datei > Exportieren"
// and "CSV-Datei importieren..." with its report of refused rows.
class CCsvCommands
{
public:
    static void Register(CMainFrame& frame);

    static void ExportCsv(CMainFrame& frame);
    static void ImportCsv(CMainFrame& frame);
};
