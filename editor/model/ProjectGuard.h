#pragma once

// Qt
#include <QByteArray>
#include <QString>

#include <memory>

class QLockFile;

// Keeps one project to one editor: a lock file beside the project while it is open (a lock
// left by a process that is gone is taken over), and the state of the file when it was read,
// so that a save notices a change someone else made. The window asks the user; the
// command-line tools refuse.
class ProjectGuard
{
public:
    enum class Policy { Ask, Refuse };

    explicit ProjectGuard(Policy policy);
    ~ProjectGuard();
    ProjectGuard(const ProjectGuard&) = delete;
    ProjectGuard& operator=(const ProjectGuard&) = delete;
    // Takes over the other guard's lock and state; its own lock goes.
    void TakeOver(ProjectGuard& other);

    // Locks path before it is read, waiting up to waitMs for another editor to finish. Held
    // by another: Ask offers to open it read-only, Refuse reports; false when the project is
    // not to be opened. A folder that cannot hold the lock file leaves the project unlocked.
    bool Open(const QString& path, int waitMs = 0);
    // The file as it was read (or written): a later change by someone else is noticed.
    void Remember(const QString& path);
    // Called before a save writes to path; false (after the message) when it must not.
    bool MayWrite(const QString& path);
    void Release();

    // True while the project at path is locked by this guard (or open read-only by it).
    bool Holds(const QString& path) const;
    // Open read-only: another editor holds the project.
    bool ReadOnly() const { return m_readOnly; }

private:
    // Locks path for this guard; false with the holder's description when another holds it.
    bool Lock(const QString& path, int waitMs, QString& holder);

    Policy m_policy;
    std::unique_ptr<QLockFile> m_lock;
    QString m_lockedPath;
    QString m_readOnlyPath;
    bool m_readOnly = false;
    QString m_stampPath;
    QByteArray m_stamp;
};
