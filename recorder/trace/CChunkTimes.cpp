#include "CChunkTimes.h"

#include <algorithm>
#include <limits>

namespace {

constexpr qint64 kDayMs = 24 * 3600 * 1000;

int Digits(const QByteArray& text, int at, int count)
{
    int value = 0;
    for (int i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

void CChunkTimes::Add(quint64 offset, qsizetype size, Ms time)
{
    if (size <= 0)
        return;
    // A chunk with the stamp of the one before it adds nothing to look up.
    if (!m_blocks.empty() && time == m_lastTime && offset == m_end) {
        m_end += quint64(size);
        return;
    }
    Block* block = m_blocks.empty() ? nullptr : &m_blocks.back();
    const bool fits = block && m_offsets.size() - block->first < BlockEntries &&
                      offset - block->offset <= std::numeric_limits<quint32>::max() &&
                      time - block->time >= std::numeric_limits<qint32>::min() &&
                      time - block->time <= std::numeric_limits<qint32>::max();
    if (fits) {
        m_offsets.push_back(quint32(offset - block->offset));
        m_times.push_back(qint32(time - block->time));
        block->latest = std::max(block->latest, time);
    } else {
        const Ms latest = block ? std::max(block->latest, time) : time;
        m_blocks.push_back({offset, time, latest, m_offsets.size()});
        m_offsets.push_back(0);
        m_times.push_back(0);
    }
    m_end = offset + quint64(size);
    m_lastTime = time;
}

void CChunkTimes::Clear()
{
    m_blocks.clear();
    m_offsets.clear();
    m_times.clear();
    m_blocks.shrink_to_fit();
    m_offsets.shrink_to_fit();
    m_times.shrink_to_fit();
    m_end = 0;
    m_lastTime = 0;
}

size_t CChunkTimes::BlockEnd(size_t block) const
{
    return block + 1 < m_blocks.size() ? m_blocks[block + 1].first : m_offsets.size();
}

std::optional<CChunkTimes::Ms> CChunkTimes::TimeAt(quint64 offset) const
{
    if (m_blocks.empty() || offset < m_blocks.front().offset || offset >= m_end)
        return std::nullopt;
    const auto block = std::upper_bound(m_blocks.begin(), m_blocks.end(), offset,
                                        [](quint64 o, const Block& b) { return o < b.offset; }) -
                       1;
    const auto begin = m_offsets.begin() + qsizetype(block->first);
    const auto end = m_offsets.begin() + qsizetype(BlockEnd(size_t(block - m_blocks.begin())));
    const size_t entry = size_t(std::upper_bound(begin, end, quint32(offset - block->offset)) -
                                m_offsets.begin() - 1);
    return TimeOf(*block, entry);
}

std::optional<quint64> CChunkTimes::FirstAtOrAfter(Ms time) const
{
    // The highest time up to each block's end only grows: the first block that reaches
    // time holds the first chunk stamped at or after it.
    const auto block = std::partition_point(m_blocks.begin(), m_blocks.end(),
                                            [time](const Block& b) { return b.latest < time; });
    if (block == m_blocks.end())
        return std::nullopt;
    const size_t end = BlockEnd(size_t(block - m_blocks.begin()));
    for (size_t entry = block->first; entry < end; ++entry)
        if (TimeOf(*block, entry) >= time)
            return OffsetOf(*block, entry);
    return std::nullopt; // not reached: the block's latest is one of its times
}

CChunkTimes::Ms CChunkTimes::FirstTime() const
{
    return m_blocks.empty() ? 0 : m_blocks.front().time;
}

std::optional<CChunkTimes::Ms> CChunkTimes::ParseStamp(const QByteArray& stamp)
{
    static const char shape[] = "00.00.00, 00:00:00.000";
    if (stamp.size() != qsizetype(sizeof(shape) - 1))
        return std::nullopt;
    for (qsizetype i = 0; i < stamp.size(); ++i)
        if (shape[i] != '0' && stamp[i] != shape[i])
            return std::nullopt;
    const QDate date(2000 + Digits(stamp, 6, 2), Digits(stamp, 3, 2), Digits(stamp, 0, 2));
    const QTime time(Digits(stamp, 10, 2), Digits(stamp, 13, 2), Digits(stamp, 16, 2),
                     Digits(stamp, 19, 3));
    if (!date.isValid() || !time.isValid() || Digits(stamp, 6, 2) < 0)
        return std::nullopt;
    return FromDateTime(QDateTime(date, time));
}

CChunkTimes::Ms CChunkTimes::FromDateTime(const QDateTime& t)
{
    return t.date().toJulianDay() * kDayMs + t.time().msecsSinceStartOfDay();
}

QDateTime CChunkTimes::ToDateTime(Ms time)
{
    return QDateTime(QDate::fromJulianDay(time / kDayMs),
                     QTime::fromMSecsSinceStartOfDay(int(time % kDayMs)));
}

QString CChunkTimes::TimeText(Ms time)
{
    return QTime::fromMSecsSinceStartOfDay(int(time % kDayMs))
        .toString(QStringLiteral("HH:mm:ss.zzz"));
}

qsizetype CChunkTimes::MemoryBytes() const
{
    return qsizetype(m_blocks.capacity() * sizeof(Block) + m_offsets.capacity() * sizeof(quint32) +
                     m_times.capacity() * sizeof(qint32));
}
