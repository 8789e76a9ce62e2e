#include "CCommEvent.h"

// Qt
#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

QEvent::Type RegisterCommMessage(const char* name)
{
    static QMutex lock;
    static QHash<QByteArray, int> types;
    QMutexLocker locker(&lock);
    const QByteArray key(name);
    auto it = types.find(key);
    if (it == types.end())
        it = types.insert(key, QEvent::registerEventType());
    return static_cast<QEvent::Type>(it.value());
}
