#pragma once

#include "CCommEvent.h"

// Qt
#include <QList>
#include <QObject>

#include <functional>

// Stands in for the window the serial component reports to: records the three messages and
// optionally runs a handler for each.
class CommReceiver : public QObject
{
public:
    struct Message
    {
        QEvent::Type type;
        qintptr wParam;
    };

    explicit CommReceiver(const QString& name = QString(), QObject* parent = nullptr)
        : QObject(parent)
    {
        setObjectName(name);
    }

    int Count(QEvent::Type type) const
    {
        int n = 0;
        for (const Message& m : messages)
            n += m.type == type ? 1 : 0;
        return n;
    }
    QList<qintptr> Errors() const
    {
        QList<qintptr> kinds;
        for (const Message& m : messages) {
            if (m.type == CommErrorMessage())
                kinds.append(m.wParam);
        }
        return kinds;
    }

    QList<Message> messages;
    std::function<void(const Message&)> handler;

protected:
    bool event(QEvent* e) override
    {
        const QEvent::Type t = e->type();
        if (t != CommRxCharMessage() && t != CommErrorMessage() && t != CommStatusChangedMessage())
            return QObject::event(e);
        const Message m{t, static_cast<CCommEvent*>(e)->wParam()};
        messages.append(m);
        if (handler)
            handler(m);
        return true;
    }
};
