#pragma once

// Qt
#include <QByteArray>
#include <QList>

// Reads back a timestamped trace (.tds) as the recorder writes it: header text, then chunks
// each introduced by four blanks, a time stamp and CR LF and closed by CR LF CR LF (a second
// header may follow a reconnection), then the footer. Safe for any bytes: what does not
// look like a chunk is text.
namespace TraceReader {

struct Segment
{
    enum Kind { Text, Chunk };
    Kind kind = Text;
    QByteArray bytes;
    QByteArray stamp; // a chunk's "dd.mm.yy, hh:mm:ss.mmm"
};

QList<Segment> ParseTds(const QByteArray& trace);

// Four blanks, "dd.mm.yy, hh:mm:ss.mmm" and CR LF at pos.
bool IsChunkStartAt(const QByteArray& trace, qsizetype pos);
enum { ChunkStartSize = 4 + 22 + 2 };

} // namespace TraceReader
