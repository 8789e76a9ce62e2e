#pragma once

// Qt
#include <QByteArray>

#include <memory>
#include <vector>

// The received bytes of a recording, kept once for both trace views (the same bytes as the
// .ts file): the recording session appends each chunk once and both line indexes refer to
// it by offset. This class is the one place bytes go in and come back out, so a store that
// reads them back from the .ts file can take its place. Bytes are only ever appended, into blocks
// of fixed size, so an append never moves what is kept and an offset names the same byte for the
// whole life of the store. The views that index lines over the bytes hold the store; when the last
// of them lets go (its list was emptied), the bytes are dropped and offsets go on from where they
// ended.
class CTraceStore
{
public:
    // Offsets begin at firstOffset; tests start high to see offsets beyond 4 GiB.
    explicit CTraceStore(quint64 firstOffset = 0);

    quint64 Begin() const { return m_begin; } // offset of the first byte kept
    quint64 End() const { return m_end; }     // offset after the last byte
    quint64 Size() const { return m_end - m_begin; }

    // Appends size bytes; returns the offset of the first.
    quint64 Append(const char* data, qsizetype size);
    unsigned char At(quint64 offset) const
    {
        const quint64 i = offset - m_begin;
        return static_cast<unsigned char>(m_blocks[size_t(i >> BlockBits)][i & (BlockSize - 1)]);
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

    // Bytes allocated for the kept bytes.
    qsizetype MemoryBytes() const;

private:
    enum { BlockBits = 16, BlockSize = 1 << BlockBits };

    void Drop();

    std::vector<std::unique_ptr<char[]>> m_blocks;
    quint64 m_begin;
    quint64 m_end;
    std::vector<const void*> m_holders;
};
