#include "CChildFrame.h"

// Qt
#include <QCloseEvent>

CChildFrame::CChildFrame(QWidget* parent) : QMdiSubWindow(parent)
{
    // The window is kept when it is "closed", so it must not be deleted either.
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (m_closing)
        QMdiSubWindow::closeEvent(event);
    else
        event->ignore();
}
