// Feeds arbitrary bytes to the timestamped-trace reader and the line rules of both views:
// the segments must be pieces of the input in its order, no line may outgrow its view's
// buffer, and nothing may crash or read out of bounds. The first two bytes choose the rule
// settings.
#include "CTraceLines.h"
#include "LineRules.h"
#include "TraceReader.h"

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

    using LineRules::Rule;
    for (const Rule rule : {Rule::Length, Rule::LineFeed, Rule::F0, Rule::HighBit,
                            Rule::HighBitLineFeed}) {
        for (const LineRules::View view : {LineRules::View::Ascii, LineRules::View::Hex}) {
            const qsizetype limit =
                view == LineRules::View::Ascii ? LineRules::AsciiBuffer : LineRules::HexBuffer;
            CTraceLines lines;
            for (const TraceReader::Segment& s : segments) {
                if (s.kind == TraceReader::Segment::Text)
                    lines.Append(s.bytes.left(limit));
                else
                    LineRules::AppendChunk(lines, view, rule, settings, s.bytes);
            }
            for (qsizetype i = 0; i < lines.Count(); ++i)
                if (lines.At(i).size() > limit)
                    std::abort();
        }
    }
    return 0;
}
