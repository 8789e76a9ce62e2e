#pragma once

// Qt
#include <QByteArray>
#include <QList>

#include <functional>

class QIODevice;

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

// The same from a device, read in blocks of readSize bytes, so that a trace of any length
// costs a window of it: a text segment comes whole, a chunk in pieces of at most pieceSize
// bytes counted from its start, with its stamp (first and last tell where the chunk begins and
// ends; an empty chunk comes as one empty piece). Returns the system's error number of a read
// that failed part way (what came before was taken), else 0.
using Take = std::function<void(Segment::Kind kind, const QByteArray& bytes,
                                const QByteArray& stamp, bool first, bool last)>;
int ReadTds(QIODevice& device, qsizetype pieceSize, const Take& take, qsizetype readSize = 1 << 20);

// Four blanks, "dd.mm.yy, hh:mm:ss.mmm" and CR LF at pos.
bool IsChunkStartAt(const QByteArray& trace, qsizetype pos);
enum { ChunkStartSize = 4 + 22 + 2 };

} // namespace TraceReader
