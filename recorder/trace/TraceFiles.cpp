#include "TraceFiles.h"

#include "CMessages.h"
#include "ListFile.h"

// Qt
#include <QFile>
#include <QSaveFile>

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
    m_published = false;
    for (int i = 0; i < Count; ++i) {
        // Unbuffered: a failing write tells its reason at once, not at some later flush.
        auto file = std::make_unique<QSaveFile>(PathWithExtension(path, kExtensions[i]));
        if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            MessageBox(QStringLiteral("File konnte nicht geöffnet werden"), QString(), msg::NoIcon);
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
    for (auto& file : m_files) {
        const QString path = file->fileName();
        auto* pending = static_cast<QSaveFile*>(file.get());
        if (!pending->commit()) {
            Fail(pending->errorString());
            file.reset();
            continue;
        }
        // The recording goes on in the file that now has the target's name.
        auto target = std::make_unique<QFile>(path);
        if (!target->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
            Fail(target->errorString());
            file.reset();
            continue;
        }
        file = std::move(target);
    }
}

void TraceFiles::Fail(const QString& reason)
{
    if (m_failed)
        return;
    m_failed = true;
    MessageBox(QStringLiteral("Die Trace-Dateien konnten nicht vollständig geschrieben werden:\n") +
                   reason,
               QString(), msg::Warning);
}

QString TraceFiles::PathOf(int which) const
{
    return which >= 0 && which < Count && m_files[which] ? m_files[which]->fileName() : QString();
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
    QFileDevice* file = m_files[which].get();
    if (!file || bytes.isEmpty())
        return;
    // A write cut short says nothing; the next one, of the rest, tells the reason.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file->write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            Fail(file->errorString());
            return;
        }
        done += n;
    }
}

void TraceFiles::Flush()
{
    for (auto& file : m_files)
        if (file && !file->flush())
            Fail(file->errorString());
}

void TraceFiles::WriteText(const QByteArray& text)
{
    for (int i = 0; i < Count; ++i)
        Write(i, text);
    Flush();
}

void TraceFiles::RecordChunk(const QByteArray& chunk, const QByteArray& timeStamp)
{
    if (!IsOpen())
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
    for (auto& file : m_files) {
        // A file never published is removed with its object; the earlier one stays.
        if (file && m_published)
            file->close();
        file.reset();
    }
}
