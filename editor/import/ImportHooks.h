#pragma once

// Qt
#include <QString>

#include <functional>

// How an import shows its progress: the window shows CImportProgressDlg, the command-line
// tool nothing. Positions run from 0 to maximum.
class IImportProgress
{
public:
    virtual ~IImportProgress() = default;
    virtual void Begin(const QString& text, qint64 maximum) = 0;
    virtual void SetPosition(qint64 position) = 0;
    virtual void End() = 0;
};

// What an import asks of its caller beyond the messages and file dialogs of the framework.
struct ImportHooks
{
    IImportProgress* progress = nullptr;
    // The kind of a BMF file that holds several (CImportFormatDlg): 1, 2 or 4 as the file's
    // kind flags; 0 when the user cancels.
    std::function<int(int formatBits)> chooseBmfKind;
    // The caller asked the save question already (before its undo step began).
    bool saveAsked = false;
};

// Moves the progress as the scan goes on, but calls the sink only when the position has
// advanced by a visible step (a thousandth of the range), so a long scan does not spend its
// time in progress calls.
class CProgressSteps
{
public:
    CProgressSteps(IImportProgress* progress, const QString& text, qint64 maximum)
        : m_progress(progress), m_step(qMax<qint64>(1, maximum / 1000))
    {
        if (m_progress) {
            m_progress->Begin(text, maximum);
            m_progress->SetPosition(0);
            m_next = m_step;
        }
    }
    ~CProgressSteps()
    {
        if (m_progress)
            m_progress->End();
    }
    CProgressSteps(const CProgressSteps&) = delete;
    CProgressSteps& operator=(const CProgressSteps&) = delete;

    void At(qint64 position)
    {
        if (position >= m_next && m_progress) {
            m_progress->SetPosition(position);
            m_next = position + m_step;
        }
    }

private:
    IImportProgress* m_progress;
    qint64 m_step;
    qint64 m_next = 0;
};
