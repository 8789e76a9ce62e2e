#pragma once

// Qt
#include <QString>

// The few file system calls the durable writer and the readers need, as plain functions over
// a handle. Every failing call returns the system's error number (0 on success), so that the
// caller can name the reason; the one platform file behind this header is FileSystem_posix.cpp.
namespace FileSystem {

using Handle = int;
const Handle NoHandle = -1;

enum class Kind { Missing, Regular, Directory, Other };

// What a path names now; size, links and stamp are set for an existing file.
struct Status
{
    Kind kind = Kind::Missing;
    qint64 size = 0;
    int links = 0;
    int mode = 0;
    // Changes whenever the file is written or replaced.
    QByteArray stamp;
};

// Follows symbolic links; a dangling link counts as missing.
int Stat(const QString& path, Status& status);

// A new file that did not exist, with the given permission bits.
int CreateNew(const QString& path, int mode, Handle& handle);
// An existing or new file for writing, emptied (truncate) or as it is.
int OpenForWriting(const QString& path, bool truncate, Handle& handle);
// An existing regular file for reading only.
int OpenForReading(const QString& path, Handle& handle);
// A new file for reading and writing in folder, whose name is removed at once: it goes away
// with its handle, whatever way the program ends.
int OpenScratch(const QString& folder, Handle& handle);
// Reads up to size bytes at offset; got tells how many there were (fewer at the file's end).
int ReadAt(Handle handle, qint64 offset, char* data, qint64 size, qint64& got);
// What the open handle names now: its size, and links 0 once its name was removed (no stamp).
int StatHandle(Handle handle, Status& status);
int WriteAll(Handle handle, const char* data, qint64 size);
int WriteAllAt(Handle handle, qint64 offset, const char* data, qint64 size);
// Claims the space for size bytes before anything is written; 0 where the file system cannot
// tell beforehand.
int Reserve(Handle handle, qint64 size);
int Truncate(Handle handle, qint64 size);
int Sync(Handle handle);
int Close(Handle handle);
// Puts from in the place of to in one step; the folder's entry is synced where possible.
int Replace(const QString& from, const QString& to);
void Remove(const QString& path);
// True when the current user may write to the existing file.
bool Writable(const QString& path);
// The system's own text for an error number.
QString SystemText(int error);

} // namespace FileSystem
