// The index of chunk arrival times: lookups by offset and by time, from the stamps as the
// trace files write them.
#include "CChunkTimes.h"

#include <gtest/gtest.h>

namespace {

CChunkTimes::Ms T(const char* stamp)
{
    return CChunkTimes::ParseStamp(stamp).value();
}

} // namespace

TEST(ChunkTimes, LooksUpByOffsetAndByTimeOverMidnight)
{
    CChunkTimes times;
    // Offsets start high as after an emptied list; the day changes between chunks 3 and 4;
    // chunks 1 and 2 share a stamp.
    const quint64 base = quint64(5) << 32;
    times.Add(base + 0, 10, T("31.12.26, 23:59:59.000"));
    times.Add(base + 10, 5, T("31.12.26, 23:59:59.000"));
    times.Add(base + 15, 5, T("31.12.26, 23:59:59.998"));
    times.Add(base + 20, 7, T("01.01.27, 00:00:00.250"));

    struct Case
    {
        quint64 offset;
        const char* want; // nullptr: no time
    } const cases[] = {
        {base - 1, nullptr},                                      // before the first chunk
        {base, "23:59:59.000"},      {base + 14, "23:59:59.000"}, // equal stamps, second chunk
        {base + 15, "23:59:59.998"}, {base + 19, "23:59:59.998"}, {base + 20, "00:00:00.250"},
        {base + 26, "00:00:00.250"}, {base + 27, nullptr}, // after the last byte
    };
    for (const Case& c : cases) {
        const auto time = times.TimeAt(c.offset);
        EXPECT_EQ(time ? CChunkTimes::TimeText(*time) : QString(),
                  c.want ? QString::fromLatin1(c.want) : QString())
            << c.offset - base;
    }

    struct Wanted
    {
        const char* at;
        qint64 offset; // -1: none
    } const wanted[] = {
        {"31.12.26, 12:00:00.000", 0},  // before the first
        {"31.12.26, 23:59:59.000", 0},  // equal to the first
        {"31.12.26, 23:59:59.001", 15}, // between
        {"01.01.27, 00:00:00.000", 20}, // after midnight, by the date
        {"01.01.27, 00:00:00.251", -1}, // after the last
    };
    for (const Wanted& w : wanted) {
        const auto offset = times.FirstAtOrAfter(T(w.at));
        EXPECT_EQ(offset ? qint64(*offset - base) : -1, w.offset) << w.at;
    }
    EXPECT_EQ(times.FirstTime(), T("31.12.26, 23:59:59.000"));
    EXPECT_EQ(times.LastTime(), T("01.01.27, 00:00:00.250"));
}

TEST(ChunkTimes, ManyChunksAndAClockSetBack)
{
    CChunkTimes times;
    // Thousands of chunks over several blocks, one per 10 ms; then the clock goes back an hour.
    const CChunkTimes::Ms start = T("08.12.26, 09:00:00.000");
    for (int i = 0; i < 3000; ++i)
        times.Add(quint64(i) * 4, 4, start + i * 10);
    times.Add(12000, 4, start - 3600 * 1000);
    times.Add(12004, 4, start + 40000);
    EXPECT_EQ(*times.TimeAt(2999 * 4 + 3), start + 29990);
    EXPECT_EQ(*times.TimeAt(12001), start - 3600 * 1000);
    EXPECT_EQ(*times.FirstAtOrAfter(start + 12345), quint64(1235) * 4);
    // The chunk stamped before the set-back counts, not the one of the earlier clock.
    EXPECT_EQ(*times.FirstAtOrAfter(start + 30000), quint64(12004));
    EXPECT_LT(times.MemoryBytes(), 3002 * 12);
}

TEST(ChunkTimes, OnlyWellFormedStampsAreTaken)
{
    for (const char* bad :
         {"", "31.02.26, 10:00:00.000", "07.12.26, 24:00:00.000", "07.12.2x, 08:01:02.003",
          "7.12.26, 08:01:02.003", "07.12.26; 08:01:02.003"})
        EXPECT_FALSE(CChunkTimes::ParseStamp(bad).has_value()) << bad;
    EXPECT_EQ(CChunkTimes::TimeText(T("07.12.26, 08:01:02.003")), QStringLiteral("08:01:02.003"));
}
