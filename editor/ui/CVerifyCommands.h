#pragma once

class CCommandTable;
class CMainFrame;

// The window side of "Mit FAT vergleichen" and of "Nach dem Senden vergleichen" (a setting
// kept per user): the reading in the transfer window, the comparison, the result dialog.
class CVerifyCommands
{
public:
    explicit CVerifyCommands(CMainFrame& frame) : m_frame(frame) {}

    void Register(CCommandTable& table) const;

    // Reads the FAT and shows the result dialog, or the reason no comparison was made.
    static void Verify(CMainFrame& frame);
    // The setting "Nach dem Senden vergleichen".
    static bool VerifyAfterSend();
    static void SetVerifyAfterSend(bool on);

private:
    CMainFrame& m_frame;
};
