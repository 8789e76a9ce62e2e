#pragma once

class CCommandTable;
class CMainFrame;

// The window side of the spreadsheet files: "Texte als CSV..." under "Datei > Exportieren"
// and "CSV-Datei importieren..." with its report of refused rows.
class CCsvCommands
{
public:
    explicit CCsvCommands(CMainFrame& frame) : m_frame(frame) {}

    void Register(CCommandTable& table) const;

    static void ExportCsv(CMainFrame& frame);
    static void ImportCsv(CMainFrame& frame);

private:
    CMainFrame& m_frame;
};
