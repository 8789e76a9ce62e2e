#pragma once

// Qt
#include <QByteArray>
#include <QFile>
#include <QString>

// Real files for the tests: written whole, read back whole.
inline bool WriteTestFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The whole file; "<missing>" when it cannot be read, so it never equals expected bytes.
inline QByteArray ReadTestFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
