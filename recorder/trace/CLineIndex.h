#pragma once

#include "CTraceLines.h"
#include "CTraceStore.h"
#include "LineRules.h"

// Qt
#include <QByteArray>

#include <memory>
#include <vector>

namespace ListFile {
struct Span;
}

// The lines of one trace view as an index over the received bytes of the shared store: one to
// four bytes a line (how many received bytes it shows and flag bits), the start offsets kept once
// for a group of lines. Text lines (header, footer, port errors, a loaded list file) sit in a
// small side store of their own. A line's text is rendered only when it is asked for, by the
// writing of the line rules, so it reads byte for byte as the rules build it; continuing the
// last line only moves its end.
class CLineIndex
{
public:
    explicit CLineIndex(std::shared_ptr<CTraceStore> store = nullptr);
    ~CLineIndex();
    CLineIndex(const CLineIndex&) = delete;
    CLineIndex& operator=(const CLineIndex&) = delete;

    // Shares the received bytes with the other view; the index is emptied first.
    void SetStore(std::shared_ptr<CTraceStore> store);
    // Goes on over store, keeping its lines: lines of another store (a list file indexed where
    // it lies) become text lines first.
    void UseStore(std::shared_ptr<CTraceStore> store);
    const CTraceStore& Store() const { return *m_store; }

    // data access
    qsizetype Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    QByteArray At(qsizetype row) const;
    // The first n characters of a row (all of it when it is shorter).
    QByteArray Head(qsizetype row, qsizetype n) const;
    // The same appended to out, which keeps its capacity (list files).
    void AppendHead(qsizetype row, qsizetype n, QByteArray& out) const;
    qsizetype LengthAt(qsizetype row) const;
    char CharAt(qsizetype row, qsizetype position) const;
    QByteArray Last() const { return IsEmpty() ? QByteArray() : At(m_count - 1); }
    // A row's text into out, which keeps its capacity from row to row (searching).
    void TextInto(qsizetype row, QByteArray& out) const;
    // The values of a row that shows only received bytes, as the view writes them (a 0x00
    // stays 0x00), into out; false for a row with text of the side store.
    bool ValuesInto(qsizetype row, QByteArray& out) const;

    // A line of the side store that shows no received bytes.
    bool IsTextLine(qsizetype row) const;
    // Begins with the "." of a marked run of the high-bit rules.
    bool IsMarkedRun(qsizetype row) const;
    // Goes on where the line before it was cut at the line buffer's size.
    bool IsCut(qsizetype row) const;
    // Offset of the first received byte the row shows, and how many it shows.
    quint64 StartOf(qsizetype row) const;
    qsizetype BytesOf(qsizetype row) const;

    // appending
    struct Change
    {
        bool lastChanged = false; // the row that was last before now reads differently
        qsizetype firstAdded = 0; // rows from here to Count() - 1 are new
    };
    // A received chunk by the rule; its bytes are appended to the store.
    Change AppendChunk(LineRules::View view, LineRules::Rule rule,
                       const LineRules::Settings& settings, const char* data, qsizetype size);
    Change AppendChunk(LineRules::View view, LineRules::Rule rule,
                       const LineRules::Settings& settings, const QByteArray& chunk)
    {
        return AppendChunk(view, rule, settings, chunk.constData(), chunk.size());
    }
    // A received chunk that the store already keeps at offset (the session stored it once
    // for both views); data are the same bytes, for the rules to read.
    Change AppendStored(LineRules::View view, LineRules::Rule rule,
                        const LineRules::Settings& settings, quint64 offset, const char* data,
                        qsizetype size);
    // One text line, unchanged.
    void AppendText(const QByteArray& line);
    void Clear();
    // All lines at once from text lines (a loaded list file).
    void Reset(CTraceLines&& lines);
    // Lines that stand in a file as they are shown (a list file indexed where it lies): the
    // index reads them from store, which follows that file.
    void BeginFileLines(std::shared_ptr<CTraceStore> store);
    void AppendFileLine(qint64 position, qsizetype size);
    // Many such lines at once, in the order of the file.
    void AppendFileLines(const ListFile::Span* lines, qsizetype count);
    // The lines of other, built aside (a list read on another thread), become this index's,
    // with their store; other is left empty.
    void TakeLines(CLineIndex& other);

    // Bytes of the index and the side store (the shared received bytes not counted).
    qsizetype MemoryBytes() const;

private:
    class Sink;

    static constexpr quint32 BytesMask = 0xFFFF;
    static constexpr quint32 TextFlag = 1u << 16; // the side store's next text begins the line
    static constexpr quint32 DotFlag = 1u << 17;  // a "." comes before the bytes
    static constexpr quint32 CutFlag = 1u << 18;
    static constexpr quint32 HexFlag = 1u << 19; // the bytes are written as hex units
    static constexpr int ModeShift = 20;
    static constexpr quint32 ModeMask = 3u << ModeShift;
    static constexpr int GapShift = 22; // half the bytes between the row and the next one
    static constexpr quint32 GapMask = 3u << GapShift;
    static constexpr quint32 VerbatimFlag = 1u << 24; // bytes of a file line, shown as they are
    static quint64 Gap(quint32 entry) { return ((entry & GapMask) >> GapShift) * 2; }
    enum { PageBits = 14, PageSize = 1 << PageBits, GroupRows = 256 };

    // Where the start offsets and side texts of a run of rows begin. Rows of a group show
    // bytes that follow each other without a gap; a gap begins a new group.
    struct Group
    {
        qint64 firstRow;
        quint64 start;
        qint64 textRank;
    };
    struct Located
    {
        quint32 entry;
        quint64 start;
        qint64 textRank;
    };

    // A page of rows holds four bytes a row while it fills; once full, a page whose rows differ
    // only in a byte count below 256 keeps one byte a row and the common bits once.
    struct Page
    {
        std::unique_ptr<quint32[]> wide;
        std::unique_ptr<quint8[]> narrow;
        quint32 common = 0;
    };

    // Only the last row changes, and the last page is always wide.
    quint32& EntryRef(qsizetype row)
    {
        return m_pages[size_t(row >> PageBits)].wide[row & (PageSize - 1)];
    }
    quint32 Entry(qsizetype row) const
    {
        const Page& page = m_pages[size_t(row >> PageBits)];
        const qsizetype i = row & (PageSize - 1);
        return page.wide ? page.wide[i] : page.common | page.narrow[i];
    }
    void Narrow(Page& page);
    Located Locate(qsizetype row) const;
    QByteArray Render(const Located& at, qsizetype maxChars) const;
    void RenderInto(const Located& at, qsizetype maxChars, QByteArray& out) const;
    QByteArray Tail(const Located& at, int chars) const;
    qsizetype Length(const Located& at) const;
    LineRules::LastLine DescribeLast() const;

    void AppendRow(quint32 entry);
    // The last row, which shows no bytes yet, begins its bytes at offset.
    void SetLastStart(quint64 offset);
    // The last row's text moves into the side store, so that it can go on in another writing
    // or after a gap in the bytes.
    void MaterializeLast();

    std::shared_ptr<CTraceStore> m_store;
    std::vector<Page> m_pages;
    std::vector<Group> m_groups;
    CTraceLines m_side;
    qsizetype m_count = 0;
    qint64 m_textCount = 0;
    quint64 m_lastStart = 0; // of the last row
    qint64 m_lastRank = 0;   // side texts before the last row
    quint64 m_consumed = 0;  // offset after the bytes this index took last
    // The row found last, so that reading rows in order (painting, list files, printing)
    // steps from one to the next instead of walking its group again.
    mutable qsizetype m_cachedRow = -1;
    mutable Located m_cached{};
    mutable size_t m_cachedGroup = 0; // the group of the row found last
};
