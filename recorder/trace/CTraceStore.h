#pragma once

#include "FileSystem.h"

// Qt
#include <QByteArray>
#include <QString>

#include <algorithm>
#include <memory>
#include <vector>

// The received bytes of a recording, kept once for both trace views: the recording session
// appends each chunk once and both line indexes refer to it by offset. This class is the one
// place bytes go in and come back out. The bytes live in a file, memory holds a bounded cache
// of blocks: either the .ts file the recording writes anyway (Follow: the writer puts each chunk
// there, the store is told where), or a scratch file of the store's own whose name is removed
// at once (a recording without saving, a trace read back). Offsets only grow, so an offset names
// the same byte for the whole life of the store. The views that index lines over the bytes hold
// the store; when the last of them lets go (its list was emptied), the bytes are dropped and
// offsets go on from where they ended.
//
// A file shortened under the store (the disk was cleaned up) cannot fault a read: bytes are read
// with pread into the cache, and what the file no longer has reads as 0x00 and sets Failure().
class CTraceStore
{
public:
    // Offsets begin at firstOffset; tests start high to see offsets beyond 4 GiB.
    explicit CTraceStore(quint64 firstOffset = 0);
    ~CTraceStore();
    CTraceStore(const CTraceStore&) = delete;
    CTraceStore& operator=(const CTraceStore&) = delete;

    quint64 Begin() const { return m_begin; } // offset of the first byte kept
    quint64 End() const { return m_end; }     // offset after the last byte
    quint64 Size() const { return m_end - m_begin; }

    // Appends size bytes to the scratch file (made at the first byte); returns the offset of
    // the first.
    quint64 Append(const char* data, qsizetype size);
    // From now on the bytes are those another writer puts into path; the store reads them
    // back from there. Drops what was kept. False with Failure() set when path cannot be read.
    bool Follow(const QString& path);
    bool IsFollowing() const { return m_following; }
    QString FollowedPath() const { return m_followed; }
    // Following: data are the size bytes the writer has put at position of the file.
    quint64 AppendWritten(qint64 position, const char* data, qsizetype size);
    // Following: size bytes that stand at position of the file already (a list file read
    // back); they are read when asked for.
    quint64 Adopt(qint64 position, qsizetype size)
    {
        const quint64 first = m_base + quint64(position);
        if (m_end == m_begin)
            m_begin = first;
        m_end = qMax(m_end, first + quint64(size));
        return first;
    }

    unsigned char At(quint64 offset) const
    {
        const quint64 i = offset - m_base;
        const qsizetype at = qsizetype(i & (BlockSize - 1));
        const Block& b = m_cache[m_last];
        if (b.index == (i >> BlockBits) && at < b.filled)
            return static_cast<unsigned char>(b.bytes[size_t(at)]);
        return static_cast<unsigned char>(Load(i >> BlockBits, at + 1)[at]);
    }
    // Copies size bytes from offset into out (the range must be kept).
    void Copy(quint64 offset, qsizetype size, char* out) const;
    bool Holds(quint64 offset, qsizetype size) const
    {
        return offset >= m_begin && size >= 0 && offset + quint64(size) <= m_end;
    }

    // A view holds the store while its lines refer to kept bytes.
    void Hold(const void* holder);
    void Release(const void* holder);
    bool IsHeldBy(const void* holder) const
    {
        return std::find(m_holders.begin(), m_holders.end(), holder) != m_holders.end();
    }

    // Bytes allocated in memory for the kept bytes (the cache).
    qsizetype MemoryBytes() const;
    // The German reason why kept bytes could not be written or read back; empty while all is
    // well.
    QString Failure() const { return m_failure; }

private:
    enum { BlockBits = 16, BlockSize = 1 << BlockBits, CacheBlocks = 32 };
    static constexpr quint64 NoBlock = ~quint64(0);

    struct Block
    {
        quint64 index = NoBlock;
        qsizetype filled = 0; // bytes valid from the block's start
        mutable quint64 used = 0;
        std::unique_ptr<char[]> bytes;
    };

    // The bytes of block index, valid for at least need bytes from its start.
    const char* Load(quint64 index, qsizetype need) const;
    Block& Slot(quint64 index) const;
    void Put(quint64 relative, const char* data, qsizetype size);
    void Fail(const QString& reason) const;
    void Drop();

    mutable std::vector<Block> m_cache;
    mutable size_t m_last = 0;
    mutable quint64 m_clock = 0;
    FileSystem::Handle m_file = FileSystem::NoHandle;
    bool m_following = false;
    bool m_scratchFailed = false;
    QString m_followed;
    quint64 m_base; // the offset of the file's first byte
    quint64 m_begin;
    quint64 m_end;
    std::vector<const void*> m_holders;
    mutable QString m_failure;
};
