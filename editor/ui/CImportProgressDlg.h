#pragma once

#include "ImportHooks.h"

// Qt
#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;

// The modeless progress window of the imports ("Texte importieren"): a one-line text the
// caller sets and a progress bar. The position follows every step; the window repaints at
// most every few milliseconds, so a long scan does not spend its time drawing.
class CImportProgressDlg : public QDialog, public IImportProgress
{
    Q_OBJECT

public:
    enum { IDD = 150, IDC_PROGRESS = 1048, IDC_TEXT = 1047 };

    explicit CImportProgressDlg(QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const;
    void SetRange(qint64 minimum, qint64 maximum);
    void SetPos(qint64 position);
    int Pos() const;
    QProgressBar* ProgressBar() const { return m_progress; }
    // How often the window was drawn during the current run.
    int Repaints() const { return m_repaints; }

    // import progress: shows the window with text, moves it, hides it
    void Begin(const QString& text, qint64 maximum) override;
    void SetPosition(qint64 position) override;
    void End() override;

private:
    void Draw(bool force);

    QLabel* m_text = nullptr;
    QProgressBar* m_progress = nullptr;
    QElapsedTimer m_sinceDraw;
    qint64 m_minimum = 0;
    qint64 m_maximum = 0;
    int m_scale = 1; // positions are divided by this so that any file length fits the bar
    int m_repaints = 0;
    int m_drawnPixel = -1;
};
