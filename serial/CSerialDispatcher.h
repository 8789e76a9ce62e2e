#pragma once

#include "CSerial.h"

// Qt
#include <QBasicTimer>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>

// Delivers the messages of one CSerial on the application's main thread: there the receiver
// named by caption is looked up among the widgets and objects, and messages wait while it does
// not exist yet. Any thread may post.
class CSerialDispatcher : public QObject
{
    Q_OBJECT

public:
    CSerialDispatcher();

    // Names the receiver; drops what is still waiting for the previous one. Any thread.
    void SetTarget(const QString& caption);
    void SetTarget(QObject* receiver);

    // "CommRxCharByQK081199", at most one pending until it is delivered. Any thread.
    void PostRxChar();
    void Post(QEvent::Type type, qintptr wParam = 0);
    // Runs on the main thread just before each "CommErrorByQK081199" is delivered.
    void SetErrorDeliveredHook(std::function<void(qintptr kind)> hook)
    {
        m_errorDelivered = std::move(hook);
    }

    // The receiver of caption: the installed finder, the announced objects, the application's
    // descendants, in that order. Main thread.
    static QObject* FindByCaption(const QString& caption);
    static void SetFinder(CSerial::ReceiverFinder finder);
    static void Announce(QObject* receiver);

protected:
    bool event(QEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

private:
    struct Pending
    {
        QEvent::Type type;
        qintptr wParam;
    };

    void PostInternal(QEvent::Type type, qintptr wParam);
    void Flush();
    QObject* Target();

    QMutex m_lock; // guards the target, the generation and m_queue
    QString m_caption;
    QPointer<QObject> m_receiver;
    bool m_byCaption = false;
    int m_generation = 0;
    QList<Pending> m_queue;
    std::atomic<bool> m_rxPending{false};
    QBasicTimer m_retry;
    std::function<void(qintptr kind)> m_errorDelivered;
};
