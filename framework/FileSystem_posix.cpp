#include "FileSystem.h"

// Qt
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSystem {

namespace {

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

int Result(int rc)
{
    return rc < 0 ? errno : 0;
}

void Fill(const struct stat& st, Status& status, bool stamp = true)
{
    status.kind = S_ISREG(st.st_mode)   ? Kind::Regular
                  : S_ISDIR(st.st_mode) ? Kind::Directory
                                        : Kind::Other;
    status.size = qint64(st.st_size);
    status.links = int(st.st_nlink);
    status.mode = int(st.st_mode & 07777);
    if (stamp)
        status.stamp = QByteArray::number(qulonglong(st.st_dev)) + ':' +
                       QByteArray::number(qulonglong(st.st_ino)) + ':' +
                       QByteArray::number(qlonglong(st.st_size)) + ':' +
                       QByteArray::number(qlonglong(st.st_mtim.tv_sec)) + '.' +
                       QByteArray::number(qlonglong(st.st_mtim.tv_nsec));
}

} // namespace

int Stat(const QString& path, Status& status)
{
    status = Status();
    struct stat st;
    if (::stat(Native(path).constData(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    Fill(st, status);
    return 0;
}

int StatHandle(Handle handle, Status& status)
{
    status = Status();
    struct stat st;
    if (::fstat(handle, &st) != 0)
        return errno;
    Fill(st, status, false); // asked often while a file grows: no stamp
    return 0;
}

int OpenForReading(const QString& path, Handle& handle)
{
    // O_NONBLOCK: a FIFO must not hang the open; only a regular file is read.
    handle = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (handle < 0)
        return errno;
    struct stat st;
    const int statError = ::fstat(handle, &st) != 0 ? errno : 0;
    if (statError != 0 || !S_ISREG(st.st_mode)) {
        ::close(handle);
        handle = NoHandle;
        return statError != 0 ? statError : EINVAL;
    }
    return 0;
}

int OpenScratch(const QString& folder, Handle& handle)
{
    const QByteArray base = Native(folder) + "/.lineprobe-";
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = base + QByteArray::number(qulonglong(::getpid())) + '-' +
                                QByteArray::number(qulonglong(std::rand()) * 100 + attempt, 36);
        handle = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (handle >= 0) {
            ::unlink(name.constData());
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

int ReadAt(Handle handle, qint64 offset, char* data, qint64 size, qint64& got)
{
    got = 0;
    while (size > 0) {
        const ssize_t n = ::pread(handle, data, size_t(size), off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        got += n;
        data += n;
        size -= n;
        offset += n;
    }
    return 0;
}

int CreateNew(const QString& path, int mode, Handle& handle)
{
    handle = ::open(Native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (handle < 0)
        return errno;
    // The umask applies to open; the copy of an existing file keeps its own bits.
    return Result(::fchmod(handle, mode_t(mode)));
}

int OpenForWriting(const QString& path, bool truncate, Handle& handle)
{
    // O_NONBLOCK: a FIFO that slipped past the caller's check must not hang the open.
    handle = ::open(Native(path).constData(),
                    O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | (truncate ? O_TRUNC : 0), 0666);
    if (handle < 0)
        return errno;
    struct stat st;
    const int statError = ::fstat(handle, &st) != 0 ? errno : 0;
    if (statError != 0 || !S_ISREG(st.st_mode)) {
        const int error = statError != 0 ? statError : EINVAL;
        ::close(handle);
        handle = NoHandle;
        return error;
    }
    return Result(::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK));
}

int WriteAllAt(Handle handle, qint64 offset, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = offset < 0 ? ::write(handle, data, size_t(size))
                                     : ::pwrite(handle, data, size_t(size), off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        data += n;
        size -= n;
        if (offset >= 0)
            offset += n;
    }
    return 0;
}

int WriteAll(Handle handle, const char* data, qint64 size)
{
    return WriteAllAt(handle, -1, data, size);
}

int Reserve(Handle handle, qint64 size)
{
    if (size <= 0)
        return 0;
    const int error = ::posix_fallocate(handle, 0, off_t(size));
    return error == EOPNOTSUPP || error == EINVAL ? 0 : error;
}

int Truncate(Handle handle, qint64 size)
{
    return Result(::ftruncate(handle, off_t(size)));
}

int Sync(Handle handle)
{
    return Result(::fsync(handle));
}

int Close(Handle handle)
{
    return Result(::close(handle));
}

int Replace(const QString& from, const QString& to)
{
    if (::rename(Native(from).constData(), Native(to).constData()) != 0)
        return errno;
    // The new name reaches the disk with the folder; a folder that cannot be synced still
    // holds the complete file.
    const QByteArray folder = Native(QFileInfo(to).absolutePath());
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

void Remove(const QString& path)
{
    ::unlink(Native(path).constData());
}

bool Writable(const QString& path)
{
    return ::access(Native(path).constData(), W_OK) == 0;
}

QString SystemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace FileSystem
