#include "CDurableFile.h"

// Qt
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

CDurableFile::CDurableFile(const QString& path, Mode mode) : m_path(path), m_mode(mode) {}

CDurableFile::~CDurableFile()
{
    Cancel();
}

QString CDurableFile::NotRegularText()
{
    return QStringLiteral("Das ist keine gewöhnliche Datei");
}

QString CDurableFile::ErrorText(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("Kein Speicherplatz mehr auf dem Datenträger");
    case EFBIG:
        return QStringLiteral("Die Datei ist zu groß");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("Der zugeteilte Speicherplatz ist erschöpft");
#endif
    case EACCES:
    case EPERM:
        return QStringLiteral("Zugriff verweigert");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt");
    case ENOENT:
        return QStringLiteral("Der Ordner existiert nicht");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner");
    case EISDIR:
        return QStringLiteral("Das ist ein Ordner");
    case ENAMETOOLONG:
        return QStringLiteral("Der Dateiname ist zu lang");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler auf dem Datenträger");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Zu viele offene Dateien");
    case EINVAL:
    case ENXIO:
        return NotRegularText();
    }
    return FileSystem::SystemText(error);
}

QString CDurableFile::Describe() const
{
    return QFileInfo(m_path).absoluteFilePath() + QStringLiteral(": ") + m_reason;
}

bool CDurableFile::Fail(int error)
{
    return FailWith(ErrorText(error));
}

bool CDurableFile::FailWith(const QString& reason)
{
    if (m_reason.isEmpty()) {
        m_reason = reason;
        setErrorString(reason);
    }
    return false;
}

QString CDurableFile::ReadFailedText(const QString& path, int error)
{
    return QStringLiteral("Die Datei %1 konnte nicht vollständig gelesen werden: %2")
        .arg(QFileInfo(path).absoluteFilePath(), ErrorText(error));
}

bool CDurableFile::CheckReadable(const QString& path, qint64 maxSize, QString* reason)
{
    FileSystem::Status status;
    const int error = FileSystem::Stat(path, status);
    QString why;
    if (error != 0)
        why = ErrorText(error);
    else if (status.kind == FileSystem::Kind::Directory)
        why = ErrorText(EISDIR);
    else if (status.kind == FileSystem::Kind::Other)
        why = NotRegularText();
    else if (status.size > maxSize)
        why = QStringLiteral("Die Datei ist zu groß");
    if (why.isEmpty())
        return true;
    if (reason)
        *reason = QFileInfo(path).absoluteFilePath() + QStringLiteral(": ") + why;
    return false;
}

bool CDurableFile::open(OpenMode mode)
{
    if (isOpen() || (mode & ReadOnly) || !(mode & WriteOnly))
        return FailWith(ErrorText(EINVAL));
    m_reason.clear();
    m_placed = false;
    m_placedEnd = -1;
    FileSystem::Status target;
    if (const int error = FileSystem::Stat(m_path, target))
        return Fail(error);
    if (target.kind == FileSystem::Kind::Directory)
        return Fail(EISDIR);
    if (target.kind == FileSystem::Kind::Other)
        return FailWith(NotRegularText());
    if (m_mode == Mode::Grow) {
        if (const int error = FileSystem::OpenForWriting(m_path, true, m_handle))
            return Fail(error);
    } else if (!OpenTemporary(target)) {
        return false;
    }
    return QIODevice::open(WriteOnly | Unbuffered);
}

bool CDurableFile::OpenTemporary(const FileSystem::Status& target)
{
    // A symbolic link keeps pointing at the file: the file it names is replaced.
    const QString resolved =
        target.kind == FileSystem::Kind::Regular ? QFileInfo(m_path).canonicalFilePath() : m_path;
    if (!resolved.isEmpty())
        m_path = resolved;
    const int mode = target.kind == FileSystem::Kind::Regular ? target.mode : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            m_path + QStringLiteral(".~") +
            QString::number(QRandomGenerator::global()->generate() % 0x1000000, 36);
        const int error = FileSystem::CreateNew(name, mode, m_handle);
        if (error == EEXIST)
            continue;
        if (error == 0) {
            m_temporary = name;
            return true;
        }
        if (m_handle != FileSystem::NoHandle) {
            FileSystem::Close(m_handle);
            m_handle = FileSystem::NoHandle;
            FileSystem::Remove(name);
        }
        // The folder refuses new files, but the file itself may be written: in place.
        if ((error == EACCES || error == EPERM) && target.kind == FileSystem::Kind::Regular &&
            FileSystem::Writable(m_path)) {
            m_inPlace = true;
            return true;
        }
        return Fail(error);
    }
    return Fail(EEXIST);
}

qint64 CDurableFile::writeData(const char* data, qint64 size)
{
    if (Failed())
        return -1;
    if (m_inPlace && !m_placed) {
        m_pending.append(data, size);
        return size;
    }
    if (const int error = FileSystem::WriteAllAt(m_handle, m_placedEnd, data, size)) {
        Fail(error);
        return -1;
    }
    if (m_placedEnd >= 0)
        m_placedEnd += size;
    return size;
}

bool CDurableFile::CommitInPlace(bool keepOpen)
{
    FileSystem::Handle handle;
    if (const int error = FileSystem::OpenForWriting(m_path, false, handle))
        return Fail(error);
    // The space is claimed before the first byte changes, so a full disk leaves the file as
    // it was; the writes after it are still checked.
    int error = FileSystem::Reserve(handle, m_pending.size());
    if (error == 0)
        error = FileSystem::WriteAllAt(handle, 0, m_pending.constData(), m_pending.size());
    if (error == 0)
        error = FileSystem::Truncate(handle, m_pending.size());
    if (error == 0)
        error = FileSystem::Sync(handle);
    if (error == 0 && keepOpen) {
        m_handle = handle;
        m_placedEnd = m_pending.size();
        m_pending.clear();
        return true;
    }
    const int closeError = FileSystem::Close(handle);
    return error == 0 && closeError == 0 ? true : Fail(error != 0 ? error : closeError);
}

bool CDurableFile::Commit()
{
    if (!isOpen())
        return FailWith(Failed() ? m_reason : ErrorText(EINVAL));
    bool ok = !Failed();
    if (m_inPlace && !m_placed) {
        ok = ok && CommitInPlace(false);
    } else {
        if (ok)
            if (const int error = FileSystem::Sync(m_handle))
                ok = Fail(error);
        const int closeError = FileSystem::Close(m_handle);
        m_handle = FileSystem::NoHandle;
        if (ok && closeError != 0)
            ok = Fail(closeError);
        if (ok && m_mode == Mode::Replace && !m_placed)
            if (const int error = FileSystem::Replace(m_temporary, m_path))
                ok = Fail(error);
        if (ok)
            m_temporary.clear();
    }
    Cancel();
    return ok;
}

bool CDurableFile::Place()
{
    if (!isOpen() || m_mode != Mode::Replace || m_placed)
        return FailWith(Failed() ? m_reason : ErrorText(EINVAL));
    if (Failed())
        return false;
    if (m_inPlace) {
        if (!CommitInPlace(true))
            return false;
    } else {
        if (const int error = FileSystem::Sync(m_handle))
            return Fail(error);
        // The open handle follows the file to its new name; writing goes on there.
        if (const int error = FileSystem::Replace(m_temporary, m_path))
            return Fail(error);
        m_temporary.clear();
    }
    m_placed = true;
    return true;
}

void CDurableFile::Cancel()
{
    if (m_handle != FileSystem::NoHandle) {
        FileSystem::Close(m_handle);
        m_handle = FileSystem::NoHandle;
    }
    if (!m_temporary.isEmpty()) {
        FileSystem::Remove(m_temporary);
        m_temporary.clear();
    }
    m_pending.clear();
    m_inPlace = false;
    if (isOpen())
        QIODevice::close();
}

bool CDurableFile::WriteWhole(const QString& path, const QByteArray& bytes, QString* describe)
{
    CDurableFile file(path);
    const bool ok = file.open() && file.write(bytes) == bytes.size() && file.Commit();
    if (!ok && describe)
        *describe = file.Describe();
    return ok;
}
