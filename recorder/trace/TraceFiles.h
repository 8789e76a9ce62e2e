#pragma once

#include "CDurableFile.h"
#include "CWriteBehind.h"

// Qt
#include <QByteArray>
#include <QString>

#include <QElapsedTimer>

#include <array>
#include <atomic>
#include <memory>

// The four files of a running recording: raw bytes (.ts), raw bytes with time stamps (.tds),
// hex text with time stamps (.tdh) and hex text (.th). Every chunk is handed to the system in
// the .ts before the next one, so a recorder that dies keeps what it had received; the three
// files made from it are written behind on a thread of their own, so a slow disk does not hold
// up the line. Every write is checked.
//
// A start is not yet a recording: the files are first written beside their targets under
// temporary names (CDurableFile, Replace) and take the targets' place only when Publish() is
// called (the FAT has identified itself). A start that fails before leaves an earlier
// recording of the same name as it was.
class TraceFiles
{
public:
    enum { Ts = 0, Tds = 1, Tdh = 2, Th = 3, Count = 4 };

    ~TraceFiles();

    // Creates the four files beside path (its directory and base name), under temporary
    // names; on the first failure shows "File konnte nicht geöffnet werden" with the file and
    // the reason, removes what was created, false. A path that is not a regular file is
    // refused before opening.
    bool Create(const QString& path);
    // The files replace those of the path's name and stay open for writing; on a failure the
    // reason is shown and WriteFailed() is true.
    void Publish();
    bool IsPublished() const { return m_published; }
    bool IsOpen() const { return m_files[0] != nullptr; }
    QString PathOf(int which) const;

    // Writes text unchanged to all four files (header, footer).
    void WriteText(const QByteArray& text);
    // One chunk with its time stamp, as each file wants it.
    void RecordChunk(const QByteArray& chunk, const QByteArray& timeStamp);
    // Closes the files; files never published are removed.
    void Close();
    // True once a write failed; the failure is reported once by the message below.
    bool WriteFailed() const { return m_failed; }
    // Bytes written to the file so far (the .ts: where the next chunk goes).
    qint64 Written(int which) const { return m_written[which].load(std::memory_order_acquire); }
    // A published file that was deleted or shortened under the recording (the disk was
    // cleaned up): the .ts is checked before each chunk, the others a few times a second;
    // reported once; the recording cannot go on.
    // A .ts that could not be written counts as lost too.
    bool Lost() const { return m_lost || (m_files[Ts] && m_files[Ts]->Failed()); }

    // "0D 41 " for the bytes 0x0D 0x41.
    static QByteArray HexText(const QByteArray& bytes);
    static QString PathWithExtension(const QString& path, const char* extension);

private:
    void Write(int which, const QByteArray& bytes);
    void Flush();
    // Reports the first failure, with the file and its German reason.
    void Fail(const QString& describe);
    bool CheckIntact();
    bool CheckIntact(int which);

    CWriteBehind m_behind;

    std::array<std::unique_ptr<CDurableFile>, Count> m_files;
    bool m_published = false;
    bool m_failed = false;
    bool m_lost = false;
    std::array<std::atomic<qint64>, Count> m_written{};
    QElapsedTimer m_lastCheck; // of the files written behind
};
