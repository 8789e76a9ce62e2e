#pragma once

// Qt
#include <QByteArray>
#include <QList>
#include <QString>

// What the simulated FAT holds: the texts as wire records, the detector group offset and the
// LZ table. Kept in a small JSON file between runs.
struct FatStore
{
    // The count 0xFFFF on the wire means "no texts", so the FAT holds at most one less.
    static constexpr int kMaxRecords = 0xFFFE;

    bool hasTexts = false; // false: the FAT reports that it holds no texts
    qint32 groupOffset = 0;
    QList<QByteArray> records;
    QByteArray lzTable = QByteArray(255, char(2));

    // A missing file leaves the defaults; false with a message for an unreadable one.
    bool Load(const QString& path, QString& error);
    bool Save(const QString& path, QString& error) const;
};
