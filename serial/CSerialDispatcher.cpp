#include "CSerialDispatcher.h"
#include "CCommEvent.h"

// Qt
#include <QCoreApplication>
#include <QMutexLocker>
#include <QThread>

namespace {

bool IsCommMessage(QEvent::Type type)
{
    return type == CommRxCharMessage() || type == CommErrorMessage() ||
           type == CommStatusChangedMessage();
}

} // namespace

CSerialDispatcher::CSerialDispatcher()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        moveToThread(app->thread());
}

void CSerialDispatcher::SetTarget(QObject* receiver)
{
    QMutexLocker lock(&m_lock);
    m_receiver = receiver;
    ++m_generation;
    m_rxPending = false;
}

void CSerialDispatcher::PostRxChar()
{
    // The pending flag and the generation are taken together: a new target between them
    // would otherwise get this message and its own.
    int generation;
    {
        QMutexLocker lock(&m_lock);
        if (m_rxPending)
            return;
        m_rxPending = true;
        generation = m_generation;
    }
    QCoreApplication::postEvent(this, new CCommEvent(CommRxCharMessage(), 0, generation));
}

void CSerialDispatcher::Post(QEvent::Type type, qintptr wParam)
{
    int generation;
    {
        QMutexLocker lock(&m_lock);
        generation = m_generation;
    }
    // lParam carries the generation, so messages of an earlier Open are dropped.
    QCoreApplication::postEvent(this, new CCommEvent(type, wParam, generation));
}

bool CSerialDispatcher::event(QEvent* e)
{
    if (!IsCommMessage(e->type()))
        return QObject::event(e);
    const auto* message = static_cast<CCommEvent*>(e);
    QObject* target;
    {
        QMutexLocker lock(&m_lock);
        if (message->lParam() != m_generation)
            return true;
        target = m_receiver.data();
        // Re-armed before the handler runs: bytes arriving from now on post a new one.
        if (message->type() == CommRxCharMessage())
            m_rxPending = false;
    }
    // A line error releases the bytes behind it as it is handed on, even when nobody is left
    // to tell: a reader thread would otherwise wait for them in vain.
    if (message->type() == CommErrorMessage() && m_errorDelivered)
        m_errorDelivered(message->wParam());
    if (!target)
        return true; // the receiver is gone; nobody is left to tell
    if (target->thread() == QThread::currentThread()) {
        CCommEvent forward(message->type(), message->wParam());
        QCoreApplication::sendEvent(target, &forward);
    } else {
        QCoreApplication::postEvent(target, new CCommEvent(message->type(), message->wParam()));
    }
    return true;
}
