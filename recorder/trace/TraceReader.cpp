#include "TraceReader.h"

// Qt
#include <QBuffer>

#include <cerrno>
#include <cstring>

namespace TraceReader {

namespace {

const QByteArray kRule(46, '-');
const QByteArray kParagraph("\r\n\r\n");
const char kShape[] = "    00.00.00, 00:00:00.000\r\n";

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool MatchesShape(const char* p)
{
    for (qsizetype i = 0; i < ChunkStartSize; ++i) {
        const char want = kShape[i];
        if (want == '0' ? !IsDigit(p[i]) : p[i] != want)
            return false;
    }
    return true;
}

// The bytes of the device from absolute position Start() on, read as far as asked.
class Window
{
public:
    Window(QIODevice& device, qsizetype readSize) : m_device(device), m_readSize(readSize) {}

    // True when the bytes before end are there (reading more if needed).
    bool Has(qint64 end)
    {
        while (m_start + m_bytes.size() < end && !m_eof) {
            const qsizetype old = m_bytes.size();
            m_bytes.resize(old + m_readSize);
            errno = 0;
            const qint64 n = m_device.read(m_bytes.data() + old, m_readSize);
            if (n < 0)
                m_error = errno != 0 ? errno : EIO;
            m_bytes.resize(old + qMax<qint64>(n, 0));
            m_eof = n <= 0;
        }
        return m_start + m_bytes.size() >= end;
    }
    qint64 End() const { return m_start + m_bytes.size(); }
    int Error() const { return m_error; }
    const char* At(qint64 pos) const { return m_bytes.constData() + (pos - m_start); }
    QByteArray Mid(qint64 from, qint64 to) const { return QByteArray(At(from), to - from); }
    bool StartsWith(qint64 pos, const QByteArray& what)
    {
        return Has(pos + what.size()) && std::memcmp(At(pos), what.constData(), what.size()) == 0;
    }
    bool IsChunkStartAt(qint64 pos) { return Has(pos + ChunkStartSize) && MatchesShape(At(pos)); }
    // Bytes before pos are no longer needed.
    void Drop(qint64 pos)
    {
        if (pos - m_start < m_readSize && pos - m_start < (1 << 16))
            return;
        m_bytes.remove(0, pos - m_start);
        m_start = pos;
    }
    // Where what first stands from pos on in the bytes there now; -1 when not.
    qint64 Find(qint64 pos, const char* what, qsizetype size) const
    {
        const qsizetype at =
            QByteArrayView(m_bytes).indexOf(QByteArrayView(what, size), pos - m_start);
        return at < 0 ? -1 : m_start + at;
    }

private:
    QIODevice& m_device;
    qsizetype m_readSize;
    QByteArray m_bytes;
    qint64 m_start = 0;
    bool m_eof = false;
    int m_error = 0; // of a failed read
};

// After a chunk's closing CR LF CR LF comes the next chunk, a header, the footer or the end.
bool EndsChunk(Window& w, qint64 next)
{
    if (!w.Has(next + 1) || w.IsChunkStartAt(next))
        return true;
    return w.StartsWith(next, kParagraph + kRule) || w.StartsWith(next, kRule + "\r\n");
}

// Text from pos up to the next line that begins a chunk, or the end; returns where it ends.
qint64 ReadText(Window& w, qint64 pos, const Take& take)
{
    qint64 line = pos;
    for (;;) {
        const qint64 feed = w.Find(line, "\n", 1);
        if (feed < 0) {
            if (w.Has(w.End() + 1))
                continue;
            break; // the end of the trace
        }
        line = feed + 1;
        if (w.IsChunkStartAt(line)) {
            take(Segment::Text, w.Mid(pos, line), QByteArray(), true, true);
            return line;
        }
    }
    const qint64 end = w.End();
    take(Segment::Text, w.Mid(pos, end), QByteArray(), true, true);
    return end;
}

// A chunk's bytes from begin to its closing CR LF CR LF (or the end of a trace without footer),
// in pieces; returns where the next segment begins.
qint64 ReadChunk(Window& w, qint64 begin, qsizetype pieceSize, const Take& take)
{
    // "dd.mm.yy, hh:mm:ss.mmm" between the four blanks and the CR LF before the bytes.
    const QByteArray stamp = w.Mid(begin - ChunkStartSize + 4, begin - 2);
    qint64 sent = begin;
    bool first = true;
    // Whole pieces go while more bytes of the chunk are known to follow them.
    const auto sendPieces = [&](qint64 known) {
        while (known - sent > pieceSize) {
            take(Segment::Chunk, w.Mid(sent, sent + pieceSize), stamp, first, false);
            first = false;
            sent += pieceSize;
            w.Drop(sent);
        }
    };
    const auto finish = [&](qint64 end) {
        sendPieces(end);
        take(Segment::Chunk, w.Mid(sent, end), stamp, first, true);
    };
    qint64 scan = begin;
    for (;;) {
        const qint64 q = w.Find(scan, kParagraph.constData(), kParagraph.size());
        if (q < 0) {
            // A closing CR LF CR LF may begin in the last three bytes.
            scan = qMax(scan, w.End() - (kParagraph.size() - 1));
            sendPieces(scan);
            if (w.Has(w.End() + 1))
                continue;
            finish(w.End()); // a recording that ended without footer: the rest is the chunk
            return w.End();
        }
        if (EndsChunk(w, q + kParagraph.size())) {
            finish(q);
            return q + kParagraph.size();
        }
        scan = q + 1;
    }
}

} // namespace

bool IsChunkStartAt(const QByteArray& trace, qsizetype pos)
{
    return pos >= 0 && trace.size() - pos >= ChunkStartSize &&
           MatchesShape(trace.constData() + pos);
}

int ReadTds(QIODevice& device, qsizetype pieceSize, const Take& take, qsizetype readSize)
{
    Window w(device, readSize);
    qint64 pos = 0;
    while (w.Has(pos + 1)) {
        w.Drop(pos);
        if (w.IsChunkStartAt(pos))
            pos = ReadChunk(w, pos + ChunkStartSize, pieceSize, take);
        else
            pos = ReadText(w, pos, take);
    }
    return w.Error();
}

QList<Segment> ParseTds(const QByteArray& trace)
{
    QByteArray copy = trace;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QList<Segment> segments;
    ReadTds(buffer, 1 << 20,
            [&segments](Segment::Kind kind, const QByteArray& bytes, const QByteArray& stamp,
                        bool first, bool) {
                if (first)
                    segments.append({kind, bytes, stamp});
                else
                    segments.last().bytes += bytes;
            });
    return segments;
}

} // namespace TraceReader
