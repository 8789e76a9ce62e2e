#include "LineRules.h"

#include "CTraceLines.h"

#include <cstring>

namespace LineRules {

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

bool IsMarked(unsigned char b)
{
    return (b & 0x80) != 0;
}

// Whether the line ends with the line feed in the view's writing.
bool EndsWithLineFeed(View view, const LastLine& line)
{
    if (view == View::Ascii)
        return line.EndsWith('\n');
    return line.EndsWithUnit(0x0A);
}

// Writes bytes into the sink's current line; a full line ends there and the writing goes on
// in a new line of the same kind.
class Writer
{
public:
    Writer(Sink& sink, View view, Rule rule)
        : m_sink(sink), m_unit(UnitSize(view)), m_capacity(Capacity(view)),
          m_plain(view == View::Hex && rule == Rule::F0 ? Mode::F0Hex : Mode::Raw)
    {
    }

    Sink& operator*() const { return m_sink; }
    Sink* operator->() const { return &m_sink; }

    void Write(unsigned char byte)
    {
        if (!m_sink.IsOpen())
            m_sink.Open(false, false);
        if (m_sink.CurrentSize() + m_unit > m_capacity) {
            const bool marked = m_sink.IsMarked();
            m_sink.Complete();
            m_sink.Open(marked, true);
        }
        m_sink.Put(byte, m_sink.IsMarked() ? Mode::Strip : m_plain);
    }

    // Writes size bytes as Write does one by one, a whole piece at a time: the line is cut
    // only where it is full and another byte follows.
    void WriteRun(const char* data, qsizetype size)
    {
        while (size > 0) {
            if (!m_sink.IsOpen())
                m_sink.Open(false, false);
            const qsizetype room = (m_capacity - m_sink.CurrentSize()) / m_unit;
            if (room <= 0) {
                const bool marked = m_sink.IsMarked();
                m_sink.Complete();
                m_sink.Open(marked, true);
                continue;
            }
            const qsizetype n = qMin(size, room);
            m_sink.PutRun(data, n, m_sink.IsMarked() ? Mode::Strip : m_plain);
            data += n;
            size -= n;
        }
    }

private:
    Sink& m_sink;
    int m_unit;
    qsizetype m_capacity;
    Mode m_plain;
};

// Collects the lines of one chunk as texts. The current line is either the continued last
// line of the list or a new one; complete lines are handed to the result at once.
class TextSink : public Sink
{
public:
    TextSink(View view, const QByteArray& last) : m_view(view), m_last(last) {}

    void ContinueLast(bool marked) override
    {
        m_current = m_last;
        m_marked = marked;
        m_isLast = true;
        m_open = true;
    }
    void Open(bool marked, bool) override
    {
        m_current = marked ? QByteArray(".") : QByteArray();
        m_marked = marked;
        m_isLast = false;
        m_open = true;
    }
    bool IsOpen() const override { return m_open; }
    bool IsMarked() const override { return m_marked; }
    qsizetype CurrentSize() const override { return m_current.size(); }
    void Complete() override
    {
        if (!m_open)
            return;
        Store();
        m_open = false;
    }
    void Put(unsigned char byte, Mode mode) override
    {
        WriteValue(m_view, ValueOf(mode, byte), m_current);
    }

    Result Finish()
    {
        if (m_open && (m_isLast || !m_current.isEmpty()))
            Store();
        m_open = false;
        return std::move(m_result);
    }

private:
    void Store()
    {
        if (m_isLast) {
            if (m_current != m_last) {
                m_result.lastChanged = true;
                m_result.last = m_current;
            }
            m_isLast = false;
        } else {
            m_result.added.append(m_current);
        }
    }

    View m_view;
    const QByteArray& m_last;
    QByteArray m_current;
    bool m_marked = false;
    bool m_isLast = false;
    bool m_open = false;
    Result m_result;
};

void LengthRule(Writer& b, View view, const Settings& s, const LastLine& last, const char* data,
                qsizetype size)
{
    const int n = qBound(1, s.lineLength, 100);
    const bool hasBreak = s.breakValue >= 0 && s.breakValue <= 255;
    const auto brk = static_cast<unsigned char>(hasBreak ? s.breakValue : 0);
    const qsizetype limit = view == View::Ascii ? n : 3 * n;

    bool fresh = !last.exists || last.size >= limit;
    if (view == View::Ascii)
        fresh = fresh || last.size == 0 || (hasBreak && last.EndsWith(char(brk)));
    else
        fresh = fresh || last.size < 3 || (hasBreak && last.EndsWithUnit(brk));
    if (!fresh)
        b->ContinueLast(false);

    // The ASCII view compares what it wrote (0x00 became a blank), the hex view the byte.
    const auto breaksAt = [&](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return hasBreak && (view == View::Ascii && byte == 0 ? 0x20 : byte) == brk;
    };
    const int unit = UnitSize(view);
    for (qsizetype i = 0; i < size;) {
        // A run of bytes up to the one that fills the line or is the break byte.
        const qsizetype current = b->IsOpen() ? b->CurrentSize() : 0;
        qsizetype n = qMin(size - i, qMax<qsizetype>(1, (limit - current + unit - 1) / unit));
        if (hasBreak)
            for (qsizetype k = 0; k < n; ++k)
                if (breaksAt(data[i + k])) {
                    n = k + 1;
                    break;
                }
        b.WriteRun(data + i, n);
        if (b->CurrentSize() >= limit || breaksAt(data[i + n - 1]))
            b->Complete();
        i += n;
    }
}

void LineFeedRule(Writer& b, View view, const LastLine& last, const char* data, qsizetype size)
{
    if (last.exists && !EndsWithLineFeed(view, last))
        b->ContinueLast(false);
    // Up to and with each line feed, then the line is complete.
    for (qsizetype i = 0; i < size;) {
        const void* lf = std::memchr(data + i, '\n', size_t(size - i));
        const qsizetype end = lf ? static_cast<const char*>(lf) - data + 1 : size;
        b.WriteRun(data + i, end - i);
        if (lf)
            b->Complete();
        i = end;
    }
}

void F0Rule(Writer& b, const LastLine& last, const char* data, qsizetype size)
{
    if (last.exists && static_cast<unsigned char>(data[0]) != 0xF0)
        b->ContinueLast(false);
    // Each 0xF0 begins a line; the bytes up to the next one go on in it. The hex view
    // writes every other byte without bit 7 (Mode::F0Hex).
    for (qsizetype i = 0; i < size;) {
        if (static_cast<unsigned char>(data[i]) == 0xF0) {
            b->Complete();
            b->Open(false, false);
            b.Write(0xF0);
            ++i;
            continue;
        }
        const void* f0 = std::memchr(data + i, 0xF0, size_t(size - i));
        const qsizetype end = f0 ? static_cast<const char*>(f0) - data : size;
        b.WriteRun(data + i, end - i);
        i = end;
    }
}

void HighBitRule(Writer& b, View view, bool lineFeeds, const LastLine& last, const char* data,
                 qsizetype size)
{
    const bool firstMarked = IsMarked(static_cast<unsigned char>(data[0]));
    if (last.exists) {
        const bool lastMarked = last.StartsWith('.');
        if (lastMarked && firstMarked)
            b->ContinueLast(true);
        else if (!lastMarked && !firstMarked && !(lineFeeds && EndsWithLineFeed(view, last)))
            b->ContinueLast(false);
    }
    // A run of bytes of one kind at a time (a plain run ends after a line feed where line
    // feeds count). A marked line writes its bytes without bit 7 (Mode::Strip).
    for (qsizetype i = 0; i < size;) {
        const bool marked = IsMarked(static_cast<unsigned char>(data[i]));
        if (b->IsOpen() && b->IsMarked() != marked)
            b->Complete();
        if (!b->IsOpen())
            b->Open(marked, false);
        qsizetype end = i;
        bool lineEnd = false;
        while (end < size && IsMarked(static_cast<unsigned char>(data[end])) == marked) {
            ++end;
            if (lineFeeds && !marked && data[end - 1] == 0x0A) {
                lineEnd = true;
                break;
            }
        }
        b.WriteRun(data + i, end - i);
        if (lineEnd)
            b->Complete();
        i = end;
    }
}

} // namespace

bool LastLine::EndsWithUnit(unsigned char b) const
{
    return tailSize == 3 && tail[0] == kHexDigits[b >> 4] && tail[1] == kHexDigits[b & 0x0F] &&
           tail[2] == ' ';
}

LastLine Describe(const QByteArray& line)
{
    LastLine d;
    d.exists = true;
    d.size = line.size();
    d.first = line.isEmpty() ? 0 : line.front();
    d.tailSize = int(qMin<qsizetype>(3, line.size()));
    for (int i = 0; i < d.tailSize; ++i)
        d.tail[i] = line[line.size() - d.tailSize + i];
    return d;
}

void WriteValue(View view, unsigned char value, QByteArray& out)
{
    if (view == View::Ascii) {
        out.append(value == 0 ? ' ' : char(value));
    } else {
        const char unit[3] = {kHexDigits[value >> 4], kHexDigits[value & 0x0F], ' '};
        out.append(unit, 3);
    }
}

Rule ForPanelCode(int panelCode)
{
    // Expert mode has no panel: its lines follow the length rule.
    return panelCode == 1 ? Rule::Length : PanelCatalogue::LineRuleOf(panelCode);
}

QString UnsupportedMessage(View view)
{
    return view == View::Ascii
               ? QStringLiteral("Diese Funktion wird noch nicht unterstützt")
               : QStringLiteral("Diese Funktion wird in der Hex-Ansicht noch nicht unterstützt");
}

void Run(Sink& sink, View view, Rule rule, const Settings& settings, const LastLine& last,
         const char* data, qsizetype size)
{
    if (size <= 0)
        return;
    Writer b(sink, view, rule);
    switch (rule) {
    case Rule::None:
        break;
    case Rule::Length:
        LengthRule(b, view, settings, last, data, size);
        break;
    case Rule::LineFeed:
        LineFeedRule(b, view, last, data, size);
        break;
    case Rule::F0:
        F0Rule(b, last, data, size);
        break;
    case Rule::HighBit:
        HighBitRule(b, view, false, last, data, size);
        break;
    case Rule::HighBitLineFeed:
        HighBitRule(b, view, true, last, data, size);
        break;
    }
}

Result BuildChunk(View view, Rule rule, const Settings& settings, bool hasLast,
                  const QByteArray& last, const QByteArray& chunk)
{
    TextSink sink(view, last);
    LastLine described;
    if (hasLast)
        described = Describe(last);
    Run(sink, view, rule, settings, described, chunk.constData(), chunk.size());
    return sink.Finish();
}

void Apply(CTraceLines& lines, const Result& result)
{
    if (result.lastChanged)
        lines.ReplaceLast(result.last);
    for (const QByteArray& line : result.added)
        lines.Append(line);
}

void AppendChunk(CTraceLines& lines, View view, Rule rule, const Settings& settings,
                 const QByteArray& chunk)
{
    const QByteArray last = lines.Last();
    Apply(lines, BuildChunk(view, rule, settings, !lines.IsEmpty(), last, chunk));
}

QByteArray HexUnit(unsigned char byte)
{
    const char unit[3] = {kHexDigits[byte >> 4], kHexDigits[byte & 0x0F], ' '};
    return QByteArray(unit, 3);
}

} // namespace LineRules
