#include "CCellEdit.h"

// Qt
#include <QKeyEvent>

CCellEdit::CCellEdit(QWidget* parent) : CMaskEdit(parent)
{
    setFrame(true);
}

bool CCellEdit::IsListKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down;
}

void CCellEdit::ForwardKey(int key)
{
    if (m_forward)
        m_forward(key);
}

void CCellEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        event->accept();
        return;
    }
    if (IsListKey(key)) {
        event->accept();
        ForwardKey(key);
        return;
    }
    CMaskEdit::keyPressEvent(event);
}
