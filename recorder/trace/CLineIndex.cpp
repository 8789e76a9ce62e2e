#include "CLineIndex.h"

#include "ListFile.h"

#include <algorithm>

using LineRules::Mode;
using LineRules::View;

namespace {

LineRules::View ViewOf(quint32 entry, quint32 hexFlag)
{
    return (entry & hexFlag) ? View::Hex : View::Ascii;
}

} // namespace

// Takes the rules' lines into the index: a new line is a new row, writing a byte moves the
// row's end.
class CLineIndex::Sink : public LineRules::Sink
{
public:
    Sink(CLineIndex& index, View view, quint64 offset, qsizetype lastSize)
        : m_index(index), m_view(view), m_unit(LineRules::UnitSize(view)), m_offset(offset),
          m_lastSize(lastSize)
    {
    }

    void ContinueLast(bool marked) override
    {
        m_open = true;
        m_isLast = true;
        m_pending = false;
        m_marked = marked;
        m_size = m_lastSize;
    }
    void Open(bool marked, bool cut) override
    {
        // The row is made when its first byte comes, so a line that gets none leaves none.
        m_open = true;
        m_isLast = false;
        m_pending = true;
        m_marked = marked;
        m_cut = cut;
        m_size = marked ? 1 : 0;
    }
    bool IsOpen() const override { return m_open; }
    bool IsMarked() const override { return m_marked; }
    qsizetype CurrentSize() const override { return m_size; }
    void Complete() override
    {
        if (m_open && m_pending)
            MakeRow();
        m_open = false;
        m_isLast = false;
    }
    void Put(unsigned char, Mode mode) override { Take(1, mode); }
    void PutRun(const char*, qsizetype size, Mode mode) override { Take(size, mode); }

    bool Finish()
    {
        if (m_open && m_pending && m_size > 0)
            MakeRow();
        m_open = false;
        return m_lastChanged;
    }

private:
    // The next size bytes of the chunk go into the current row in the given writing.
    void Take(qsizetype size, Mode mode)
    {
        if (m_pending)
            MakeRow();
        if (m_isLast)
            m_lastChanged = true;
        const quint32 hex = m_view == View::Hex ? HexFlag : 0;
        const quint32 wanted = (quint32(mode) << ModeShift) | hex;
        quint32* entry = &m_index.EntryRef(m_index.m_count - 1);
        qsizetype bytes = *entry & BytesMask;
        if (bytes > 0 && ((*entry & (ModeMask | HexFlag)) != wanted ||
                          m_index.m_lastStart + quint64(bytes) != m_offset)) {
            m_index.MaterializeLast();
            bytes = 0;
        }
        if (bytes == 0) {
            m_index.SetLastStart(m_offset);
            *entry = (*entry & ~(ModeMask | HexFlag)) | wanted;
        }
        *entry += quint32(size);
        m_size += size * m_unit;
        m_offset += quint64(size);
    }

    void MakeRow()
    {
        m_index.AppendRow((m_marked ? DotFlag : 0) | (m_cut ? CutFlag : 0) |
                          (m_view == View::Hex ? HexFlag : 0));
        m_pending = false;
    }

    CLineIndex& m_index;
    View m_view;
    int m_unit;
    quint64 m_offset; // of the next byte Put receives
    qsizetype m_lastSize;
    qsizetype m_size = 0;
    bool m_open = false;
    bool m_isLast = false;
    bool m_pending = false;
    bool m_marked = false;
    bool m_cut = false;
    bool m_lastChanged = false;
};

CLineIndex::CLineIndex(std::shared_ptr<CTraceStore> store)
    : m_store(store ? std::move(store) : std::make_shared<CTraceStore>())
{
    m_consumed = m_store->End();
}

CLineIndex::~CLineIndex()
{
    m_store->Release(this);
}

void CLineIndex::SetStore(std::shared_ptr<CTraceStore> store)
{
    Clear();
    m_store = store ? std::move(store) : std::make_shared<CTraceStore>();
    m_consumed = m_store->End();
}

void CLineIndex::UseStore(std::shared_ptr<CTraceStore> store)
{
    if (store == m_store)
        return;
    CTraceLines lines;
    for (qsizetype i = 0; i < m_count; ++i)
        lines.Append(At(i));
    Clear();
    m_store = std::move(store);
    m_consumed = m_store->End();
    Reset(std::move(lines));
}

CLineIndex::Located CLineIndex::Locate(qsizetype row) const
{
    if (row == m_count - 1)
        return {Entry(row), m_lastStart, m_lastRank};
    if (m_cachedRow >= 0 && (row == m_cachedRow || row == m_cachedRow + 1)) {
        if (row == m_cachedRow + 1) {
            m_cached.start += (m_cached.entry & BytesMask) + Gap(m_cached.entry);
            m_cached.textRank += (m_cached.entry & TextFlag) ? 1 : 0;
            m_cached.entry = Entry(row);
            m_cachedRow = row;
            // A row that begins a group after a gap begins at the group's start.
            const size_t next = m_cachedGroup + 1;
            if (next < m_groups.size() && m_groups[next].firstRow == row) {
                m_cachedGroup = next;
                m_cached.start = m_groups[next].start;
                m_cached.textRank = m_groups[next].textRank;
            }
        }
        return m_cached;
    }
    auto it = std::upper_bound(m_groups.begin(), m_groups.end(), qint64(row),
                               [](qint64 r, const Group& g) { return r < g.firstRow; });
    const Group& g = *(it - 1);
    m_cachedGroup = size_t(it - 1 - m_groups.begin());
    Located at{0, g.start, g.textRank};
    for (qsizetype r = g.firstRow; r < row; ++r) {
        const quint32 e = Entry(r);
        at.start += (e & BytesMask) + Gap(e);
        at.textRank += (e & TextFlag) ? 1 : 0;
    }
    at.entry = Entry(row);
    m_cachedRow = row;
    m_cached = at;
    return at;
}

qsizetype CLineIndex::Length(const Located& at) const
{
    const quint32 e = at.entry;
    return ((e & TextFlag) ? m_side.LengthAt(at.textRank) : 0) + ((e & DotFlag) ? 1 : 0) +
           qsizetype(e & BytesMask) * LineRules::UnitSize(ViewOf(e, HexFlag));
}

QByteArray CLineIndex::Render(const Located& at, qsizetype maxChars) const
{
    QByteArray out;
    RenderInto(at, maxChars, out);
    return out;
}

void CLineIndex::RenderInto(const Located& at, qsizetype maxChars, QByteArray& out) const
{
    const qsizetype begin = out.size();
    const quint32 e = at.entry;
    if (e & TextFlag) {
        m_side.AppendTo(at.textRank, out);
        if (maxChars >= 0 && out.size() - begin >= maxChars) {
            out.truncate(begin + maxChars);
            return;
        }
    }
    if (e & DotFlag)
        out.append('.');
    const View view = ViewOf(e, HexFlag);
    const int unit = LineRules::UnitSize(view);
    qsizetype bytes = e & BytesMask;
    if (maxChars >= 0)
        bytes =
            qMin(bytes, qMax<qsizetype>(0, (maxChars - (out.size() - begin) + unit - 1) / unit));
    if (bytes > 0) {
        // The bytes straight from the store, written in place.
        static const char digits[] = "0123456789ABCDEF";
        const auto mode = Mode((e & ModeMask) >> ModeShift);
        const qsizetype from = out.size();
        out.resize(from + bytes * unit);
        char* p = out.data() + from;
        char* raw = p + bytes * (unit - 1); // the last bytes of the room, read before written
        m_store->Copy(at.start, bytes, raw);
        for (qsizetype i = 0; i < bytes; ++i) {
            const unsigned char v = LineRules::ValueOf(mode, static_cast<unsigned char>(raw[i]));
            if (view == View::Ascii) {
                p[i] = v == 0 && !(e & VerbatimFlag) ? ' ' : char(v);
            } else {
                p[3 * i] = digits[v >> 4];
                p[3 * i + 1] = digits[v & 0x0F];
                p[3 * i + 2] = ' ';
            }
        }
    }
    if (maxChars >= 0 && out.size() - begin > maxChars)
        out.truncate(begin + maxChars);
}

QByteArray CLineIndex::Tail(const Located& at, int chars) const
{
    const quint32 e = at.entry;
    const View view = ViewOf(e, HexFlag);
    const int unit = LineRules::UnitSize(view);
    const qsizetype bytes = e & BytesMask;
    const qsizetype taken = qMin<qsizetype>(bytes, (chars + unit - 1) / unit);
    QByteArray part;
    if (taken > 0) {
        const auto mode = Mode((e & ModeMask) >> ModeShift);
        QByteArray raw(taken, Qt::Uninitialized);
        m_store->Copy(at.start + quint64(bytes - taken), taken, raw.data());
        if (e & VerbatimFlag)
            part = raw;
        else
            for (const char c : raw)
                LineRules::WriteValue(view, LineRules::ValueOf(mode, static_cast<unsigned char>(c)),
                                      part);
    }
    if (part.size() >= chars)
        return part.right(chars);
    QByteArray prefix = (e & TextFlag) ? m_side.At(at.textRank).right(chars) : QByteArray();
    if (e & DotFlag)
        prefix.append('.');
    return (prefix + part).right(chars);
}

QByteArray CLineIndex::At(qsizetype row) const
{
    if (row < 0 || row >= m_count)
        return QByteArray();
    return Render(Locate(row), -1);
}

QByteArray CLineIndex::Head(qsizetype row, qsizetype n) const
{
    if (row < 0 || row >= m_count || n <= 0)
        return QByteArray();
    return Render(Locate(row), n);
}

void CLineIndex::AppendHead(qsizetype row, qsizetype n, QByteArray& out) const
{
    if (row >= 0 && row < m_count && n > 0)
        RenderInto(Locate(row), n, out);
}

void CLineIndex::TextInto(qsizetype row, QByteArray& out) const
{
    out.resize(0);
    if (row < 0 || row >= m_count)
        return;
    const Located at = Locate(row);
    const quint32 e = at.entry;
    if (e & TextFlag)
        m_side.AppendTo(at.textRank, out);
    if (e & DotFlag)
        out.append('.');
    const qsizetype bytes = e & BytesMask;
    if (bytes == 0)
        return;
    const auto mode = Mode((e & ModeMask) >> ModeShift);
    const qsizetype begin = out.size();
    if (ViewOf(e, HexFlag) == View::Ascii) {
        // The bytes straight from the store, written in place.
        out.resize(begin + bytes);
        char* p = out.data() + begin;
        m_store->Copy(at.start, bytes, p);
        if (e & VerbatimFlag)
            return;
        for (qsizetype i = 0; i < bytes; ++i) {
            const unsigned char v = LineRules::ValueOf(mode, static_cast<unsigned char>(p[i]));
            p[i] = v == 0 ? ' ' : char(v);
        }
        return;
    }
    for (qsizetype i = 0; i < bytes; ++i)
        LineRules::WriteValue(View::Hex, LineRules::ValueOf(mode, m_store->At(at.start + i)), out);
}

bool CLineIndex::ValuesInto(qsizetype row, QByteArray& out) const
{
    out.resize(0);
    if (row < 0 || row >= m_count)
        return false;
    const Located at = Locate(row);
    const quint32 e = at.entry;
    if (e & (TextFlag | VerbatimFlag))
        return false;
    const qsizetype bytes = e & BytesMask;
    const auto mode = Mode((e & ModeMask) >> ModeShift);
    out.resize(bytes);
    char* p = out.data();
    m_store->Copy(at.start, bytes, p);
    if (mode != Mode::Raw) {
        for (qsizetype i = 0; i < bytes; ++i)
            p[i] = char(LineRules::ValueOf(mode, static_cast<unsigned char>(p[i])));
    }
    return true;
}

qsizetype CLineIndex::LengthAt(qsizetype row) const
{
    if (row < 0 || row >= m_count)
        return 0;
    return Length(Locate(row));
}

char CLineIndex::CharAt(qsizetype row, qsizetype position) const
{
    if (position < 0)
        return '\0';
    const QByteArray head = Head(row, position + 1);
    return position < head.size() ? head[position] : '\0';
}

bool CLineIndex::IsTextLine(qsizetype row) const
{
    if (row < 0 || row >= m_count)
        return false;
    const quint32 e = Entry(row);
    return ((e & TextFlag) && (e & BytesMask) == 0) || (e & VerbatimFlag);
}

bool CLineIndex::IsMarkedRun(qsizetype row) const
{
    return row >= 0 && row < m_count && (Entry(row) & DotFlag);
}

bool CLineIndex::IsCut(qsizetype row) const
{
    return row >= 0 && row < m_count && (Entry(row) & CutFlag);
}

quint64 CLineIndex::StartOf(qsizetype row) const
{
    return row >= 0 && row < m_count ? Locate(row).start : 0;
}

qsizetype CLineIndex::BytesOf(qsizetype row) const
{
    return row >= 0 && row < m_count ? qsizetype(Entry(row) & BytesMask) : 0;
}

LineRules::LastLine CLineIndex::DescribeLast() const
{
    LineRules::LastLine d;
    if (IsEmpty())
        return d;
    const Located at = Locate(m_count - 1);
    d.exists = true;
    d.size = Length(at);
    if (d.size > 0)
        d.first = Render(at, 1).at(0);
    const QByteArray tail = Tail(at, 3);
    d.tailSize = int(tail.size());
    for (int i = 0; i < d.tailSize; ++i)
        d.tail[i] = tail[i];
    return d;
}

void CLineIndex::AppendRow(quint32 entry)
{
    const qsizetype row = m_count;
    const quint32 before = row == 0 ? 0 : Entry(row - 1);
    const quint64 start = row == 0 ? m_consumed : m_lastStart + (before & BytesMask) + Gap(before);
    if ((row & (PageSize - 1)) == 0 && size_t(row >> PageBits) == m_pages.size()) {
        if (!m_pages.empty())
            Narrow(m_pages.back()); // its rows are final now
        m_pages.emplace_back();
        m_pages.back().wide.reset(new quint32[PageSize]); // filled row by row, not zeroed
    }
    if (row % GroupRows == 0)
        m_groups.push_back({row, start, m_textCount});
    EntryRef(row) = entry;
    m_lastStart = start;
    m_lastRank = m_textCount;
    if (entry & TextFlag)
        ++m_textCount;
    ++m_count;
}

void CLineIndex::Narrow(Page& page)
{
    const quint32 common = page.wide[0] & ~quint32(0xFF);
    for (qsizetype i = 0; i < PageSize; ++i)
        if ((page.wide[i] & ~quint32(0xFF)) != common)
            return;
    page.narrow.reset(new quint8[PageSize]);
    for (qsizetype i = 0; i < PageSize; ++i)
        page.narrow[i] = quint8(page.wide[i] & 0xFF);
    page.common = common;
    page.wide.reset();
}

void CLineIndex::SetLastStart(quint64 offset)
{
    if (offset == m_lastStart)
        return;
    const qint64 last = m_count - 1;
    if (m_groups.back().firstRow == last)
        m_groups.back().start = offset;
    else
        m_groups.push_back({last, offset, m_lastRank});
    m_lastStart = offset;
}

void CLineIndex::MaterializeLast()
{
    m_cachedRow = -1;
    const qsizetype last = m_count - 1;
    const QByteArray text = At(last);
    quint32& e = EntryRef(last);
    if (e & TextFlag) {
        m_side.ReplaceLast(text);
    } else {
        m_side.Append(text);
        e |= TextFlag;
        ++m_textCount;
    }
    e &= ~(BytesMask | DotFlag | ModeMask | HexFlag);
}

CLineIndex::Change CLineIndex::AppendChunk(View view, LineRules::Rule rule,
                                           const LineRules::Settings& settings, const char* data,
                                           qsizetype size)
{
    if (size <= 0 || rule == LineRules::Rule::None)
        return {false, m_count};
    return AppendStored(view, rule, settings, m_store->Append(data, size), data, size);
}

CLineIndex::Change CLineIndex::AppendStored(View view, LineRules::Rule rule,
                                            const LineRules::Settings& settings, quint64 offset,
                                            const char* data, qsizetype size)
{
    Change change;
    change.firstAdded = m_count;
    if (size <= 0 || rule == LineRules::Rule::None)
        return change;
    const LineRules::LastLine last = DescribeLast();
    m_store->Hold(this);
    m_consumed = offset + quint64(size);
    Sink sink(*this, view, offset, last.size);
    LineRules::Run(sink, view, rule, settings, last, data, size);
    change.lastChanged = sink.Finish();
    return change;
}

void CLineIndex::TakeLines(CLineIndex& other)
{
    if (&other == this)
        return;
    Clear();
    std::swap(m_store, other.m_store);
    m_pages.swap(other.m_pages);
    m_groups.swap(other.m_groups);
    std::swap(m_side, other.m_side);
    std::swap(m_count, other.m_count);
    std::swap(m_textCount, other.m_textCount);
    std::swap(m_lastStart, other.m_lastStart);
    std::swap(m_lastRank, other.m_lastRank);
    std::swap(m_consumed, other.m_consumed);
    m_cachedRow = other.m_cachedRow = -1;
    m_cachedGroup = other.m_cachedGroup = 0;
    // The store is held by whoever shows its lines now.
    if (m_store->IsHeldBy(&other)) {
        m_store->Hold(this);
        m_store->Release(&other);
    }
    other.Clear();
}

void CLineIndex::BeginFileLines(std::shared_ptr<CTraceStore> store)
{
    SetStore(std::move(store));
    m_store->Hold(this);
}

void CLineIndex::AppendFileLine(qint64 position, qsizetype size)
{
    const ListFile::Span line{position, size};
    AppendFileLines(&line, 1);
}

void CLineIndex::AppendFileLines(const ListFile::Span* lines, qsizetype count)
{
    if (count <= 0)
        return;
    m_cachedRow = -1;
    quint32* page =
        m_count > 0 ? &EntryRef(m_count - 1) - ((m_count - 1) & (PageSize - 1)) : nullptr;
    quint64 lastStart = m_lastStart;
    for (const ListFile::Span* line = lines; line != lines + count; ++line) {
        const quint64 offset = m_store->Adopt(line->start, line->size);
        const qsizetype row = m_count;
        const qsizetype inPage = row & (PageSize - 1);
        quint64 expected = offset; // where the row would begin in its group
        if (row > 0) {
            // Most lines follow the one before after its CR LF (or two): that goes in its entry.
            quint32& before = page[(row - 1) & (PageSize - 1)];
            const quint64 end = lastStart + (before & BytesMask);
            if (offset >= end && offset - end <= 6 && (offset - end) % 2 == 0)
                before |= quint32((offset - end) / 2) << GapShift;
            expected = end + Gap(before);
        }
        if (inPage == 0 && size_t(row >> PageBits) == m_pages.size()) {
            if (!m_pages.empty())
                Narrow(m_pages.back()); // its rows are final now
            m_pages.emplace_back();
            m_pages.back().wide.reset(new quint32[PageSize]); // filled row by row, not zeroed
        }
        if (inPage == 0)
            page = m_pages[size_t(row >> PageBits)].wide.get();
        if (row % GroupRows == 0 || offset != expected)
            m_groups.push_back({row, offset, m_textCount});
        page[inPage] = VerbatimFlag | quint32(line->size);
        lastStart = offset;
        ++m_count;
    }
    m_lastStart = lastStart;
    m_lastRank = m_textCount;
    m_consumed = lastStart;
}

void CLineIndex::AppendText(const QByteArray& line)
{
    m_side.Append(line);
    AppendRow(TextFlag);
}

void CLineIndex::Clear()
{
    m_cachedRow = -1;
    m_pages.clear();
    m_pages.shrink_to_fit();
    m_groups.clear();
    m_groups.shrink_to_fit();
    m_side.Clear();
    m_count = 0;
    m_textCount = 0;
    m_lastStart = 0;
    m_lastRank = 0;
    m_store->Release(this);
}

void CLineIndex::Reset(CTraceLines&& lines)
{
    Clear();
    m_side = std::move(lines);
    const qsizetype count = m_side.Count();
    m_groups.reserve(size_t(count / GroupRows + 1));
    for (qsizetype i = 0; i < count; ++i)
        AppendRow(TextFlag);
}

qsizetype CLineIndex::MemoryBytes() const
{
    qsizetype pages = 0;
    for (const Page& page : m_pages)
        pages += page.wide ? PageSize * qsizetype(sizeof(quint32)) : PageSize;
    return pages + qsizetype(m_pages.capacity() * sizeof(m_pages[0])) +
           qsizetype(m_groups.capacity() * sizeof(Group)) + m_side.MemoryBytes();
}
