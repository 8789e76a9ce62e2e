#include "CTraceStore.h"

#include <algorithm>
#include <cstring>

CTraceStore::CTraceStore(quint64 firstOffset) : m_begin(firstOffset), m_end(firstOffset) {}

quint64 CTraceStore::Append(const char* data, qsizetype size)
{
    const quint64 first = m_end;
    while (size > 0) {
        const quint64 used = m_end - m_begin;
        const size_t block = size_t(used >> BlockBits);
        const qsizetype at = qsizetype(used & (BlockSize - 1));
        if (block == m_blocks.size())
            m_blocks.emplace_back(new char[BlockSize]); // filled by the appends, not zeroed
        const qsizetype n = qMin<qsizetype>(size, BlockSize - at);
        std::memcpy(m_blocks[block].get() + at, data, size_t(n));
        data += n;
        size -= n;
        m_end += quint64(n);
    }
    return first;
}

void CTraceStore::Copy(quint64 offset, qsizetype size, char* out) const
{
    while (size > 0) {
        const quint64 i = offset - m_begin;
        const qsizetype at = qsizetype(i & (BlockSize - 1));
        const qsizetype n = qMin<qsizetype>(size, BlockSize - at);
        std::memcpy(out, m_blocks[size_t(i >> BlockBits)].get() + at, size_t(n));
        out += n;
        size -= n;
        offset += quint64(n);
    }
}

void CTraceStore::Hold(const void* holder)
{
    if (std::find(m_holders.begin(), m_holders.end(), holder) == m_holders.end())
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
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_begin = m_end;
}

qsizetype CTraceStore::MemoryBytes() const
{
    return qsizetype(m_blocks.size()) * BlockSize +
           qsizetype(m_blocks.capacity() * sizeof(m_blocks[0]));
}
