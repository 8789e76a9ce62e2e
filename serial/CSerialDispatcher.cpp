#include "CSerialDispatcher.h"

// Qt
#include <QCoreApplication>
#include <QMutexLocker>
#include <QThread>
#include <QTimerEvent>
#include <QVariant>

namespace {

// How often messages without a receiver look for it again.
constexpr int kRetryMs = 20;

QMutex g_hookLock;
CSerial::ReceiverFinder g_finder;
QList<QPointer<QObject>> g_announced;

bool IsCommMessage(QEvent::Type type)
{
    return type == CommRxCharMessage() || type == CommErrorMessage() ||
           type == CommStatusChangedMessage();
}

bool Matches(QObject* object, const QString& caption)
{
    if (object->objectName() == caption)
        return true;
    const QVariant title = object->property("windowTitle");
    return title.isValid() && title.toString() == caption;
}

} // namespace

CSerialDispatcher::CSerialDispatcher()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        moveToThread(app->thread());
}

void CSerialDispatcher::SetTarget(const QString& caption)
{
    QMutexLocker lock(&m_lock);
    m_caption = caption;
    m_receiver = nullptr;
    m_byCaption = true;
    ++m_generation;
    m_queue.clear();
    m_rxPending = false;
}

void CSerialDispatcher::SetTarget(QObject* receiver)
{
    QMutexLocker lock(&m_lock);
    m_caption.clear();
    m_receiver = receiver;
    m_byCaption = false;
    ++m_generation;
    m_queue.clear();
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
    PostInternal(type, wParam);
}

void CSerialDispatcher::PostInternal(QEvent::Type type, qintptr wParam)
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
    {
        QMutexLocker lock(&m_lock);
        if (message->lParam() != m_generation)
            return true;
        m_queue.append({message->type(), message->wParam()});
    }
    Flush();
    return true;
}

void CSerialDispatcher::timerEvent(QTimerEvent* e)
{
    if (e->timerId() != m_retry.timerId())
        return QObject::timerEvent(e);
    m_retry.stop();
    Flush();
}

QObject* CSerialDispatcher::Target()
{
    QString caption;
    {
        QMutexLocker lock(&m_lock);
        if (!m_byCaption)
            return m_receiver.data();
        caption = m_caption;
    }
    return FindByCaption(caption);
}

void CSerialDispatcher::Flush()
{
    for (;;) {
        QObject* target = Target();
        Pending next;
        {
            QMutexLocker lock(&m_lock);
            if (m_queue.isEmpty())
                return;
            if (!target) {
                if (!m_retry.isActive())
                    m_retry.start(kRetryMs, this);
                return;
            }
            next = m_queue.takeFirst();
            // Re-armed before the handler runs: bytes arriving from now on post a new one.
            if (next.type == CommRxCharMessage())
                m_rxPending = false;
        }
        if (next.type == CommErrorMessage() && m_errorDelivered)
            m_errorDelivered(next.wParam);
        if (target->thread() == QThread::currentThread()) {
            CCommEvent message(next.type, next.wParam);
            QCoreApplication::sendEvent(target, &message);
        } else {
            QCoreApplication::postEvent(target, new CCommEvent(next.type, next.wParam));
        }
    }
}

QObject* CSerialDispatcher::FindByCaption(const QString& caption)
{
    CSerial::ReceiverFinder finder;
    QList<QPointer<QObject>> announced;
    {
        QMutexLocker lock(&g_hookLock);
        finder = g_finder;
        g_announced.removeAll(QPointer<QObject>());
        announced = g_announced;
    }
    if (finder) {
        if (QObject* found = finder(caption))
            return found;
    }
    for (const QPointer<QObject>& object : announced) {
        if (object && Matches(object, caption))
            return object;
    }
    if (QCoreApplication* app = QCoreApplication::instance()) {
        const QList<QObject*> all = app->findChildren<QObject*>();
        for (QObject* object : all) {
            if (Matches(object, caption))
                return object;
        }
    }
    return nullptr;
}

void CSerialDispatcher::SetFinder(CSerial::ReceiverFinder finder)
{
    QMutexLocker lock(&g_hookLock);
    g_finder = std::move(finder);
}

void CSerialDispatcher::Announce(QObject* receiver)
{
    QMutexLocker lock(&g_hookLock);
    if (receiver && !g_announced.contains(receiver))
        g_announced.append(receiver);
}
