#pragma once

// Qt
#include <QString>
#include <QStringList>

// The most recently used files of a program, newest first, kept in its settings under
// "Recent File List" as "File1", "File2", ...
class CRecentFileList
{
public:
    CRecentFileList(const QString& program, int size = 4);

    void Load();
    void Save() const;

    // Moves path (made absolute) to the front; the oldest entry falls off.
    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Entries() const { return m_entries; }
    int Size() const { return m_size; }
    // "&1 name" as a menu shows entry index.
    QString MenuText(int index) const;

private:
    QString m_program;
    int m_size;
    QStringList m_entries;
};
