#include "TraceReader.h"

namespace TraceReader {

namespace {

const QByteArray kRule(46, '-');
const QByteArray kParagraph("\r\n\r\n");

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Where a chunk start stands at the beginning of the trace or of a line, from pos on.
qsizetype FindChunkStart(const QByteArray& trace, qsizetype pos)
{
    for (qsizetype i = trace.indexOf("    ", pos); i >= 0; i = trace.indexOf("    ", i + 1))
        if ((i == 0 || trace[i - 1] == '\n') && IsChunkStartAt(trace, i))
            return i;
    return -1;
}

// After a chunk's closing CR LF CR LF comes the next chunk, a header, the footer or the end.
bool EndsChunk(const QByteArray& trace, qsizetype next)
{
    if (next == trace.size() || IsChunkStartAt(trace, next))
        return true;
    const QByteArrayView rest = QByteArrayView(trace).sliced(next);
    return rest.startsWith(kParagraph + kRule) || rest.startsWith(kRule + "\r\n");
}

} // namespace

bool IsChunkStartAt(const QByteArray& trace, qsizetype pos)
{
    static const char shape[] = "    00.00.00, 00:00:00.000\r\n";
    if (pos < 0 || trace.size() - pos < ChunkStartSize)
        return false;
    for (qsizetype i = 0; i < ChunkStartSize; ++i) {
        const char want = shape[i];
        const char got = trace[pos + i];
        if (want == '0' ? !IsDigit(got) : got != want)
            return false;
    }
    return true;
}

QList<Segment> ParseTds(const QByteArray& trace)
{
    QList<Segment> segments;
    qsizetype pos = 0;
    while (pos < trace.size()) {
        if (!IsChunkStartAt(trace, pos)) {
            const qsizetype start = FindChunkStart(trace, pos);
            const qsizetype end = start < 0 ? trace.size() : start;
            segments.append({Segment::Text, trace.mid(pos, end - pos)});
            pos = end;
            continue;
        }
        const qsizetype begin = pos + ChunkStartSize;
        const QByteArray stamp = trace.mid(pos + 4, ChunkStartSize - 6);
        qsizetype end = -1;
        for (qsizetype q = trace.indexOf(kParagraph, begin); q >= 0;
             q = trace.indexOf(kParagraph, q + 1)) {
            if (EndsChunk(trace, q + kParagraph.size())) {
                end = q;
                break;
            }
        }
        if (end < 0) {
            // A recording that ended without footer: the rest is the last chunk.
            segments.append({Segment::Chunk, trace.mid(begin), stamp});
            break;
        }
        segments.append({Segment::Chunk, trace.mid(begin, end - begin), stamp});
        pos = end + kParagraph.size();
    }
    return segments;
}

} // namespace TraceReader
