#include "TraceFiles.h"

#include "CMessages.h"
#include "ListFile.h"

// Qt
#include <QFileInfo>

namespace {

const char* const kExtensions[TraceFiles::Count] = {"ts", "tds", "tdh", "th"};
// How often the files written behind are looked at for a deleted or shortened file.
const int kCheckMs = 200;

} // namespace

TraceFiles::~TraceFiles()
{
    Close();
}

QString TraceFiles::PathWithExtension(const QString& path, const char* extension)
{
    return ListFile::WithExtension(path, QString::fromLatin1(extension));
}

bool TraceFiles::Create(const QString& path)
{
    Close();
    m_failed = false;
    m_lost = false;
    m_published = false;
    for (auto& written : m_written)
        written.store(0);
    for (int i = 0; i < Count; ++i) {
        auto file = std::make_unique<CDurableFile>(PathWithExtension(path, kExtensions[i]));
        if (!file->open()) {
            MessageBox(QStringLiteral("File konnte nicht geöffnet werden\n") + file->Describe(),
                       QString(), msg::NoIcon);
            Close();
            return false;
        }
        m_files[i] = std::move(file);
    }
    return true;
}

void TraceFiles::Publish()
{
    if (!IsOpen() || m_published)
        return;
    m_published = true;
    m_lastCheck.start();
    // The recording goes on in the files that now have the targets' names.
    m_behind.Drain();
    for (auto& file : m_files)
        if (file && !file->Place())
            Fail(file->Describe());
}

void TraceFiles::Fail(const QString& describe)
{
    if (m_failed)
        return;
    m_failed = true;
    MessageBox(QStringLiteral("Die Trace-Dateien konnten nicht vollständig geschrieben werden:\n") +
                   describe,
               QString(), msg::Warning);
}

QString TraceFiles::PathOf(int which) const
{
    return which >= 0 && which < Count && m_files[which] ? m_files[which]->Path() : QString();
}

QByteArray TraceFiles::HexText(const QByteArray& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    QByteArray out(bytes.size() * 3, ' ');
    char* p = out.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        p[0] = digits[b >> 4];
        p[1] = digits[b & 0x0F];
        p += 3;
    }
    return out;
}

void TraceFiles::Write(int which, const QByteArray& bytes)
{
    CDurableFile* file = m_files[which].get();
    if (!file || bytes.isEmpty())
        return;
    // Writes all or fails with its reason; Flush reports it.
    if (which != Ts)
        m_behind.Write(file, bytes, &m_written[which]);
    else if (file->write(bytes) == bytes.size())
        m_written[which] += bytes.size();
}

bool TraceFiles::CheckIntact()
{
    if (!m_published || m_lost)
        return !m_lost;
    if (!CheckIntact(Ts))
        return false;
    if (m_lastCheck.elapsed() < kCheckMs)
        return true;
    m_lastCheck.start();
    for (int i = Ts + 1; i < Count; ++i)
        if (!CheckIntact(i))
            return false;
    return true;
}

bool TraceFiles::CheckIntact(int i)
{
    // What was written before the look; a file written behind may have grown since.
    const qint64 written = Written(i);
    FileSystem::Status status;
    if (!m_files[i] || m_files[i]->StatOpen(status) != 0)
        return true;
    const bool deleted = status.links == 0;
    if (!deleted && status.size >= written)
        return true;
    m_lost = true;
    MessageBox(QStringLiteral("Die Trace-Datei %1 wurde während der Aufnahme %2. Die "
                              "Aufnahme wurde beendet.")
                   .arg(QFileInfo(m_files[i]->Path()).absoluteFilePath(),
                        deleted ? QStringLiteral("gelöscht") : QStringLiteral("gekürzt")),
               QString(), msg::Warning);
    return false;
}

void TraceFiles::Flush()
{
    // The .ts writes through to the system, the others behind; a failed write is reported
    // once, with its file.
    if (m_files[Ts] && m_files[Ts]->Failed())
        Fail(m_files[Ts]->Describe());
    const QString behind = m_behind.Failure();
    if (!behind.isEmpty())
        Fail(behind);
}

void TraceFiles::WriteText(const QByteArray& text)
{
    for (int i = 0; i < Count; ++i)
        Write(i, text);
    Flush();
}

void TraceFiles::RecordChunk(const QByteArray& chunk, const QByteArray& timeStamp)
{
    if (!IsOpen() || !CheckIntact())
        return;
    const QByteArray hex = HexText(chunk);
    const QByteArray stamp = "    " + timeStamp + "\r\n";
    Write(Ts, chunk);
    Write(Tds, stamp + chunk + "\r\n\r\n");
    Write(Tdh, stamp + hex + "\r\n\r\n");
    Write(Th, hex + "\r\n\r\n");
    // Handed to the system at once: a recorder that dies keeps every chunk written so far.
    Flush();
}

void TraceFiles::Close()
{
    // Published files are synced at the end, a failure there is reported as a failed write;
    // files never published are removed and an earlier recording of the name stays.
    m_behind.Drain();
    Flush();
    for (auto& file : m_files)
        if (file && m_published && !file->Commit())
            Fail(file->Describe());
    for (auto& file : m_files)
        file.reset();
}
