#pragma once

// Qt
#include <QEvent>
#include <QMutex>
#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>

// Delivers the messages of one CSerial to the object that opened the port, on the
// application's main thread; a receiver living in another thread gets them posted to its own
// event loop. Any thread may post.
class CSerialDispatcher : public QObject
{
    Q_OBJECT

public:
    CSerialDispatcher();

    // Names the receiver; drops what is still on its way to the previous one. Any thread.
    void SetTarget(QObject* receiver);

    // "CommRxCharByQK081199", at most one pending until it is delivered. Any thread.
    void PostRxChar();
    void Post(QEvent::Type type, qintptr wParam = 0);
    // Runs on the main thread just before each "CommErrorByQK081199" of the current receiver
    // is forwarded to it, also when that receiver is gone.
    void SetErrorDeliveredHook(std::function<void(qintptr kind)> hook)
    {
        m_errorDelivered = std::move(hook);
    }

protected:
    bool event(QEvent* e) override;

private:
    QMutex m_lock; // guards the receiver and the generation
    QPointer<QObject> m_receiver;
    int m_generation = 0;
    std::atomic<bool> m_rxPending{false};
    std::function<void(qintptr kind)> m_errorDelivered;
};
