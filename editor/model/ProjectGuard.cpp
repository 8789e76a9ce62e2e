#include "ProjectGuard.h"

#include "CMessages.h"
#include "FileSystem.h"

// Qt
#include <QFileInfo>
#include <QLockFile>

namespace {

QString Absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

QString LockPathOf(const QString& path)
{
    return Absolute(path) + QStringLiteral(".lock");
}

QByteArray StampOf(const QString& path)
{
    FileSystem::Status status;
    FileSystem::Stat(path, status);
    return status.stamp;
}

} // namespace

ProjectGuard::ProjectGuard(Policy policy) : m_policy(policy) {}

ProjectGuard::~ProjectGuard() = default;

void ProjectGuard::TakeOver(ProjectGuard& other)
{
    m_lock = std::move(other.m_lock);
    m_lockedPath = other.m_lockedPath;
    m_readOnly = other.m_readOnly;
    m_readOnlyPath = other.m_readOnlyPath;
    m_stampPath = other.m_stampPath;
    m_stamp = other.m_stamp;
    other.Release();
}

void ProjectGuard::Release()
{
    m_lock.reset();
    m_lockedPath.clear();
    m_readOnly = false;
    m_readOnlyPath.clear();
    m_stampPath.clear();
    m_stamp.clear();
}

bool ProjectGuard::Lock(const QString& path, int waitMs, QString& holder)
{
    if (m_lock && m_lockedPath == Absolute(path))
        return true;
    auto lock = std::make_unique<QLockFile>(LockPathOf(path));
    // Only a holder that is gone makes a lock stale, however long an editor keeps it.
    lock->setStaleLockTime(0);
    if (lock->tryLock(waitMs)) {
        m_lock = std::move(lock);
        m_lockedPath = Absolute(path);
        return true;
    }
    if (lock->error() != QLockFile::LockFailedError)
        return true; // no lock file possible here (a folder that refuses new files)
    qint64 pid = 0;
    QString host, program;
    if (lock->getLockInfo(&pid, &host, &program))
        holder = QStringLiteral("%1, Prozess %2 auf %3").arg(program).arg(pid).arg(host);
    else
        holder = QStringLiteral("einem anderen Programm");
    return false;
}

bool ProjectGuard::Open(const QString& path, int waitMs)
{
    Release();
    QString holder;
    if (Lock(path, waitMs, holder))
        return true;
    const QString text =
        QStringLiteral("Das Projekt %1 wird bereits bearbeitet (%2).").arg(Absolute(path), holder);
    if (m_policy == Policy::Refuse) {
        MessageBox(text + QStringLiteral(" Versuchen Sie es später noch einmal."));
        return false;
    }
    if (MessageBox(text + QStringLiteral("\nSoll es schreibgeschützt geöffnet werden?"), QString(),
                   msg::Question, msg::YesNo) != msg::IdYes)
        return false;
    m_readOnly = true;
    m_readOnlyPath = Absolute(path);
    return true;
}

bool ProjectGuard::Holds(const QString& path) const
{
    const QString target = Absolute(path);
    return (m_lock && target == m_lockedPath) || (m_readOnly && target == m_readOnlyPath);
}

void ProjectGuard::Remember(const QString& path)
{
    // Saved under a name of its own: no longer another editor's project.
    if (Absolute(path) != m_readOnlyPath)
        m_readOnly = false;
    m_stampPath = Absolute(path);
    m_stamp = StampOf(path);
}

bool ProjectGuard::MayWrite(const QString& path)
{
    const QString target = Absolute(path);
    if (m_readOnly && target == m_readOnlyPath) {
        MessageBox(QStringLiteral("Das Projekt %1 ist schreibgeschützt geöffnet, weil es "
                                  "bereits bearbeitet wird. Speichern Sie es unter einem "
                                  "anderen Namen.")
                       .arg(target));
        return false;
    }
    QString holder;
    if (!Lock(path, m_policy == Policy::Refuse ? 3000 : 0, holder)) {
        MessageBox(
            QStringLiteral("Die Datei %1 wird bereits bearbeitet (%2).").arg(target, holder));
        return false;
    }
    if (target != m_stampPath || m_stamp.isEmpty() || StampOf(path) == m_stamp)
        return true;
    const QString text = QStringLiteral("Die Datei %1 wurde seit dem Öffnen von einem anderen "
                                        "Programm geändert.")
                             .arg(target);
    if (m_policy == Policy::Refuse) {
        MessageBox(text + QStringLiteral(" Sie wird nicht überschrieben."));
        return false;
    }
    return MessageBox(text + QStringLiteral("\nSoll sie trotzdem überschrieben werden?"), QString(),
                      msg::Question, msg::YesNo) == msg::IdYes;
}
