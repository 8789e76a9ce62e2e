#pragma once

#include <functional>

class CQuillmarkDoc;

// The view's side of the four FAT commands: what "Daten auslesen", "Daten senden" and the
// two LZ coding commands do before and after their transfer window. The editor window and
// quillmark-cli each supply how one transfer window runs.
class CFatCommands
{
public:
    // Runs one transfer window in mode; calls opened (when set) once the port is open, before
    // the first byte goes out. True when it ended with its success message.
    using TransferRunner = std::function<bool(int mode, const std::function<void()>& opened)>;

    CFatCommands(CQuillmarkDoc& document, TransferRunner runner);

    // Called after the rows were deleted for reading (the view resets its position panes).
    void SetRowsClearedHook(std::function<void()> hook) { m_rowsCleared = std::move(hook); }
    // Called after every reading, whatever its outcome (the view re-derives its menus).
    void SetUpdateMenusHook(std::function<void()> hook) { m_updateMenus = std::move(hook); }

    // "Daten auslesen": save question (unless the caller asked it), transfer; the project
    // becomes empty and untitled once the port is open (a port that does not open changes
    // nothing). True on success.
    bool ReadTexts(bool saveAsked = false);
    // "Daten senden": the question about hidden detectors, then the transfer.
    bool SendTexts();
    bool SendLzCoding();
    bool ReadLzCoding();

    // Asks about each group whose detector-00 entry hides its single detectors' texts; false
    // when the user answers No (nothing is to be sent).
    static bool ConfirmHiddenDetectors(CQuillmarkDoc& document);

private:
    CQuillmarkDoc& m_document;
    TransferRunner m_runner;
    std::function<void()> m_rowsCleared;
    std::function<void()> m_updateMenus;
};
