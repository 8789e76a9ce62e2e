#include "CRecentFileList.h"

#include "Settings.h"

// Qt
#include <QDir>
#include <QFileInfo>

namespace {
const char kSection[] = "Recent File List";
}

CRecentFileList::CRecentFileList(const QString& program, int size)
    : m_program(program), m_size(qMax(1, size))
{
}

void CRecentFileList::Load()
{
    m_entries.clear();
    for (int i = 1; i <= m_size; ++i) {
        const QString path = Settings::GetProfileString(m_program, QString::fromLatin1(kSection),
                                                        QStringLiteral("File%1").arg(i));
        if (!path.isEmpty() && !m_entries.contains(path))
            m_entries.append(path);
    }
}

void CRecentFileList::Save() const
{
    for (int i = 1; i <= m_size; ++i)
        Settings::WriteProfileString(m_program, QString::fromLatin1(kSection),
                                     QStringLiteral("File%1").arg(i), m_entries.value(i - 1));
}

void CRecentFileList::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_entries.removeAll(absolute);
    m_entries.prepend(absolute);
    while (m_entries.size() > m_size)
        m_entries.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < m_entries.size())
        m_entries.removeAt(index);
}

QString CRecentFileList::MenuText(int index) const
{
    if (index < 0 || index >= m_entries.size())
        return QString();
    QString name = QDir::toNativeSeparators(m_entries[index]);
    // A long path keeps its file name and as much of its start as fits a menu.
    const int kMax = 60;
    if (name.size() > kMax) {
        const QString file = QFileInfo(m_entries[index]).fileName();
        const int head = qMax(3, kMax - int(file.size()) - 4);
        name = name.left(head) + QStringLiteral("...") + QDir::separator() + file;
    }
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}
