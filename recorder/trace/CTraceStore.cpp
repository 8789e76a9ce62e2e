#include "CTraceStore.h"

#include "CDurableFile.h"

// Qt
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

CTraceStore::CTraceStore(quint64 firstOffset)
    : m_cache(CacheBlocks), m_base(firstOffset), m_begin(firstOffset), m_end(firstOffset)
{
}

CTraceStore::~CTraceStore()
{
    if (m_file != FileSystem::NoHandle)
        FileSystem::Close(m_file);
}

void CTraceStore::Fail(const QString& reason) const
{
    if (m_failure.isEmpty())
        m_failure = reason;
}

CTraceStore::Block& CTraceStore::Slot(quint64 index) const
{
    if (m_cache[m_last].index == index) {
        m_cache[m_last].used = ++m_clock;
        return m_cache[m_last];
    }
    // The block itself, or the one used longest ago makes room for it.
    size_t oldest = 0;
    for (size_t i = 0; i < m_cache.size(); ++i) {
        if (m_cache[i].index == index) {
            m_last = i;
            m_cache[i].used = ++m_clock;
            return m_cache[i];
        }
        if (m_cache[i].used < m_cache[oldest].used)
            oldest = i;
    }
    Block& b = m_cache[oldest];
    if (!b.bytes)
        b.bytes.reset(new char[BlockSize]); // filled from the file or the appends
    b.index = index;
    b.filled = 0;
    b.used = ++m_clock;
    m_last = oldest;
    return b;
}

const char* CTraceStore::Load(quint64 index, qsizetype need) const
{
    Block& b = Slot(index);
    if (b.filled >= need)
        return b.bytes.get();
    qint64 got = 0;
    const int error =
        m_file == FileSystem::NoHandle
            ? ENOENT
            : FileSystem::ReadAt(m_file, qint64(index << BlockBits), b.bytes.get(), BlockSize, got);
    b.filled = qMax(b.filled, qsizetype(got));
    if (b.filled < need) {
        // Not there any more: the file was shortened or could not be read.
        std::memset(b.bytes.get() + b.filled, 0, size_t(need - b.filled));
        Fail(error != 0    ? CDurableFile::ErrorText(error)
             : m_following ? QStringLiteral("Die Datei %1 wurde gekürzt oder gelöscht")
                                 .arg(QFileInfo(m_followed).absoluteFilePath())
                           : QStringLiteral("Die Zwischendatei der Aufnahme wurde gekürzt"));
        b.filled = 0; // read again next time
    }
    return b.bytes.get();
}

void CTraceStore::Put(quint64 relative, const char* data, qsizetype size)
{
    while (size > 0) {
        const qsizetype at = qsizetype(relative & (BlockSize - 1));
        const qsizetype n = qMin<qsizetype>(size, BlockSize - at);
        // The bytes before it in the block come from the file (a header, an error text).
        char* block = const_cast<char*>(Load(relative >> BlockBits, at));
        std::memcpy(block + at, data, size_t(n));
        Block& b = m_cache[m_last];
        b.filled = qMax(b.filled, at + n);
        relative += quint64(n);
        data += n;
        size -= n;
    }
}

quint64 CTraceStore::Append(const char* data, qsizetype size)
{
    const quint64 first = m_end;
    if (size <= 0)
        return first;
    if (m_following) {
        // Bytes that did not reach the followed file live only as long as the cache keeps them.
        Fail(QStringLiteral("Die Bytes fehlen in der Datei %1")
                 .arg(QFileInfo(m_followed).fileName()));
        Put(m_end - m_base, data, size);
        m_end += quint64(size);
        return first;
    }
    if (m_file == FileSystem::NoHandle && !m_scratchFailed)
        if (const int error = FileSystem::OpenScratch(QDir::tempPath(), m_file)) {
            m_scratchFailed = true;
            Fail(QDir::tempPath() + QStringLiteral(": ") + CDurableFile::ErrorText(error));
        }
    if (m_file != FileSystem::NoHandle)
        if (const int error =
                FileSystem::WriteAllAt(m_file, qint64(m_end - m_base), data, qint64(size)))
            Fail(QDir::tempPath() + QStringLiteral(": ") + CDurableFile::ErrorText(error));
    Put(m_end - m_base, data, size);
    m_end += quint64(size);
    return first;
}

bool CTraceStore::Follow(const QString& path)
{
    Drop();
    m_failure.clear();
    m_followed = path;
    if (const int error = FileSystem::OpenForReading(path, m_file)) {
        Fail(QFileInfo(path).absoluteFilePath() + QStringLiteral(": ") +
             CDurableFile::ErrorText(error));
        return false;
    }
    m_following = true;
    return true;
}

quint64 CTraceStore::AppendWritten(qint64 position, const char* data, qsizetype size)
{
    const quint64 first = m_base + quint64(position);
    if (m_end == m_begin)
        m_begin = first;
    Put(quint64(position), data, size);
    m_end = first + quint64(size);
    return first;
}

void CTraceStore::Copy(quint64 offset, qsizetype size, char* out) const
{
    quint64 i = offset - m_base;
    while (size > 0) {
        const qsizetype at = qsizetype(i & (BlockSize - 1));
        const qsizetype n = qMin<qsizetype>(size, BlockSize - at);
        std::memcpy(out, Load(i >> BlockBits, at + n) + at, size_t(n));
        out += n;
        size -= n;
        i += quint64(n);
    }
}

void CTraceStore::Hold(const void* holder)
{
    if (!IsHeldBy(holder))
        m_holders.push_back(holder);
}

void CTraceStore::Release(const void* holder)
{
    const auto it = std::find(m_holders.begin(), m_holders.end(), holder);
    if (it == m_holders.end())
        return;
    m_holders.erase(it);
    if (m_holders.empty())
        Drop();
}

void CTraceStore::Drop()
{
    for (Block& b : m_cache)
        b = Block();
    if (m_file != FileSystem::NoHandle)
        FileSystem::Close(m_file); // a scratch file goes with its handle
    m_file = FileSystem::NoHandle;
    m_following = false;
    m_followed.clear();
    m_failure.clear();
    m_scratchFailed = false;
    m_begin = m_end;
    m_base = m_end;
}

qsizetype CTraceStore::MemoryBytes() const
{
    qsizetype bytes = 0;
    for (const Block& b : m_cache)
        bytes += b.bytes ? BlockSize : 0;
    return bytes;
}
