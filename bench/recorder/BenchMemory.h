#pragma once

// Qt
#include <QByteArray>
#include <QFile>

// The process's resident memory in kilobytes, from /proc/self/status; 0 where it cannot be read.
inline long RssKilobytes()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}
