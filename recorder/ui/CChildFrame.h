#pragma once

// Qt
#include <QMdiSubWindow>

// A child window of Lineprobe's main window. The trace windows and the monitor live as long as
// the program: closing one by its close box or the system menu is ignored.
class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT

public:
    explicit CChildFrame(QWidget* parent = nullptr);

    // The main window ends the program; only then do its children close.
    void AllowClose() { m_closing = true; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool m_closing = false;
};
