#include "TraceFiles.h"

#include "CMessages.h"
#include "ListFile.h"

// Qt
#include <QFileInfo>

namespace {

const char* const kExtensions[TraceFiles::Count] = {"ts", "tds", "tdh", "th"};

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
    m_written.fill(0);
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
    // The recording goes on in the files that now have the targets' names.
    for (auto& file : m_files)
        if (file && !file->Place())
            Fail(*file);
}

void TraceFiles::Fail(const CDurableFile& file)
{
    if (m_failed)
        return;
    m_failed = true;
    MessageBox(QStringLiteral("Die Trace-Dateien konnten nicht vollständig geschrieben werden:\n") +
                   file.Describe(),
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
    for (int i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[3 * i] = digits[b >> 4];
        out[3 * i + 1] = digits[b & 0x0F];
    }
    return out;
}

void TraceFiles::Write(int which, const QByteArray& bytes)
{
    CDurableFile* file = m_files[which].get();
    if (!file || bytes.isEmpty())
        return;
    // Writes all or fails with its reason; Flush reports it.
    if (file->write(bytes) == bytes.size())
        m_written[which] += bytes.size();
}

bool TraceFiles::CheckIntact()
{
    if (!m_published || m_lost)
        return !m_lost;
    for (int i = 0; i < Count; ++i) {
        FileSystem::Status status;
        if (!m_files[i] || m_files[i]->StatOpen(status) != 0)
            continue;
        const bool deleted = status.links == 0;
        if (!deleted && status.size >= m_written[i])
            continue;
        m_lost = true;
        MessageBox(QStringLiteral("Die Trace-Datei %1 wurde während der Aufnahme %2. Die "
                                  "Aufnahme wurde beendet.")
                       .arg(QFileInfo(m_files[i]->Path()).absoluteFilePath(),
                            deleted ? QStringLiteral("gelöscht") : QStringLiteral("gekürzt")),
                   QString(), msg::Warning);
        return false;
    }
    return true;
}

void TraceFiles::Flush()
{
    // The files write through to the system; a failed write is reported once, with its file.
    for (auto& file : m_files)
        if (file && file->Failed())
            Fail(*file);
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
    for (auto& file : m_files)
        if (file && m_published)
            file->Commit();
    Flush();
    for (auto& file : m_files)
        file.reset();
}
