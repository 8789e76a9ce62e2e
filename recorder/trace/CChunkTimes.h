#pragma once

// Qt
#include <QByteArray>
#include <QDateTime>

#include <optional>
#include <vector>

// When each received chunk arrived, as a sorted index from the offset of the chunk's first
// byte in the trace store to the stamp the recording wrote for it. Times are milliseconds on
// the recording's local wall clock ("dd.mm.yy, hh:mm:ss.mmm"), so a recording over midnight
// stays in order. Kept compact: eight bytes per chunk whose stamp differs from the one before,
// in blocks with full offset and time; looking up goes by binary search, never row by row.
class CChunkTimes
{
public:
    using Ms = qint64;

    // A chunk of size bytes at offset arrived at time; offsets come in ascending order.
    void Add(quint64 offset, qsizetype size, Ms time);
    void Clear();
    bool IsEmpty() const { return m_blocks.empty(); }
    // Offset after the last chunk's bytes.
    quint64 End() const { return m_end; }

    // The stamp of the chunk that holds the byte at offset; none outside the stamped bytes.
    std::optional<Ms> TimeAt(quint64 offset) const;
    // The offset of the first chunk stamped at or after time; none when every chunk is
    // earlier. A clock set back meanwhile is passed over: the first such chunk counts.
    std::optional<quint64> FirstAtOrAfter(Ms time) const;
    // The first and the last stamp (the range "Gehe zu Zeit" offers).
    Ms FirstTime() const;
    Ms LastTime() const { return m_lastTime; }

    // "dd.mm.yy, hh:mm:ss.mmm" of a chunk start; none when it is no such stamp.
    static std::optional<Ms> ParseStamp(const QByteArray& stamp);
    static Ms FromDateTime(const QDateTime& t);
    static QDateTime ToDateTime(Ms time);
    // "hh:mm:ss.mmm", as the views show it before a line.
    static QString TimeText(Ms time);

    // Bytes of the index.
    qsizetype MemoryBytes() const;

private:
    // A run of entries: the first one's offset and time in full, those after it as
    // differences; latest is the highest time up to the block's end.
    struct Block
    {
        quint64 offset;
        Ms time;
        Ms latest;
        size_t first; // index of the block's first entry
    };
    enum { BlockEntries = 256 };

    size_t BlockEnd(size_t block) const;
    quint64 OffsetOf(const Block& b, size_t entry) const { return b.offset + m_offsets[entry]; }
    Ms TimeOf(const Block& b, size_t entry) const { return b.time + m_times[entry]; }

    std::vector<Block> m_blocks;
    std::vector<quint32> m_offsets; // from the block's offset
    std::vector<qint32> m_times;    // from the block's time
    quint64 m_end = 0;
    Ms m_lastTime = 0;
};
