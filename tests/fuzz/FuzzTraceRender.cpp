// Feeds arbitrary bytes to the timestamped-trace reader and the line rules of both views:
// the segments must be pieces of the input in its order, no line may outgrow its view's
// buffer, the line index over the shared store must read exactly as the lines the rules
// build as texts, both must read as the rules first written byte by byte, and nothing may crash or
// read out of bounds. The first two bytes choose the rule settings; bit 7 of the first also
// switches the rule between chunks. The streaming reader, in small reads and pieces, must give
// the same segments as the whole trace.
#include "CLineIndex.h"
#include "CTraceLines.h"
#include "LineRules.h"
#include "ReferenceLineRules.h"
#include "TraceReader.h"

// Qt
#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    LineRules::Settings settings;
    settings.lineLength = 1 + data[0] % 100;
    settings.breakValue = data[1] == 0xFF ? int(LineRules::NoBreak) : data[1];
    const bool switchRules = (data[0] & 0x80) != 0;
    const QByteArray trace(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));

    // Every segment is a piece of the trace, in the order of the trace.
    qsizetype pos = 0;
    const QList<TraceReader::Segment> segments = TraceReader::ParseTds(trace);
    for (const TraceReader::Segment& s : segments) {
        const qsizetype at = trace.indexOf(s.bytes, pos);
        if (at < 0)
            std::abort();
        pos = at + s.bytes.size();
    }
    // Read as a stream in small reads and pieces, the trace gives the same segments.
    QBuffer device;
    device.setData(trace);
    device.open(QIODevice::ReadOnly);
    QList<TraceReader::Segment> streamed;
    const qsizetype pieceSize = 1 + data[1] % 7;
    TraceReader::ReadTds(
        device, pieceSize,
        [&](TraceReader::Segment::Kind kind, const QByteArray& bytes, const QByteArray& stamp,
            bool first, bool) {
            if (bytes.size() > pieceSize && kind == TraceReader::Segment::Chunk)
                std::abort();
            if (first)
                streamed.append({kind, bytes, stamp});
            else if (streamed.isEmpty() || streamed.last().kind != kind)
                std::abort();
            else
                streamed.last().bytes += bytes;
        },
        1 + data[0] % 13);
    if (streamed.size() != segments.size())
        std::abort();
    for (qsizetype i = 0; i < segments.size(); ++i)
        if (streamed[i].kind != segments[i].kind || streamed[i].bytes != segments[i].bytes ||
            streamed[i].stamp != segments[i].stamp)
            std::abort();

    using LineRules::Rule;
    using LineRules::View;
    const Rule rules[] = {Rule::Length, Rule::LineFeed, Rule::F0, Rule::HighBit,
                          Rule::HighBitLineFeed};
    for (int r = 0; r < 5; ++r) {
        // Both views index over one store, as in the program; its bytes go to its scratch file.
        const auto received = std::make_shared<CTraceStore>(r == 0 ? 0xFFFFFF00ull : 0);
        CLineIndex asciiIndex(received), hexIndex(received);
        CTraceLines asciiText, hexText, asciiReference, hexReference;
        int chunkNumber = 0;
        for (const TraceReader::Segment& s : segments) {
            for (const View view : {View::Ascii, View::Hex}) {
                CLineIndex& index = view == View::Ascii ? asciiIndex : hexIndex;
                CTraceLines& text = view == View::Ascii ? asciiText : hexText;
                CTraceLines& reference = view == View::Ascii ? asciiReference : hexReference;
                if (s.kind == TraceReader::Segment::Text) {
                    const QByteArray line = s.bytes.left(LineRules::Capacity(view));
                    text.Append(line);
                    reference.Append(line);
                    index.AppendText(line);
                } else {
                    const Rule rule =
                        switchRules && chunkNumber % 2 ? rules[(r + 1) % 5] : rules[r];
                    LineRules::AppendChunk(text, view, rule, settings, s.bytes);
                    LineRules::Apply(reference, ReferenceLineRules::BuildChunk(
                                                    view, rule, settings, !reference.IsEmpty(),
                                                    reference.Last(), s.bytes));
                    index.AppendChunk(view, rule, settings, s.bytes);
                }
            }
            if (s.kind == TraceReader::Segment::Chunk)
                ++chunkNumber;
        }
        for (const View view : {View::Ascii, View::Hex}) {
            const CLineIndex& index = view == View::Ascii ? asciiIndex : hexIndex;
            const CTraceLines& text = view == View::Ascii ? asciiText : hexText;
            const CTraceLines& reference = view == View::Ascii ? asciiReference : hexReference;
            if (index.Count() != text.Count() || reference.Count() != text.Count())
                std::abort();
            for (qsizetype i = 0; i < text.Count(); ++i) {
                const QByteArray line = text.At(i);
                if (line.size() > LineRules::Capacity(view))
                    std::abort();
                if (index.At(i) != line || reference.At(i) != line ||
                    index.LengthAt(i) != line.size() || index.Head(i, 5) != line.left(5))
                    std::abort();
            }
        }
    }
    return 0;
}
