#pragma once

// The line rules as they were first written, byte by byte over texts: the fuzz target holds
// the rules that now write whole runs, and the line index over the store, to this oracle.
#include "LineRules.h"

namespace ReferenceLineRules {

using LineRules::AsciiBuffer;
using LineRules::HexBuffer;
using LineRules::NoBreak;
using LineRules::Result;
using LineRules::Rule;
using LineRules::Settings;
using LineRules::View;

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

bool IsMarked(unsigned char b)
{
    return (b & 0x80) != 0;
}

bool EndsWithUnit(const QByteArray& line, unsigned char b)
{
    const qsizetype n = line.size();
    return n >= 3 && line[n - 3] == kHexDigits[b >> 4] && line[n - 2] == kHexDigits[b & 0x0F] &&
           line[n - 1] == ' ';
}

// Whether line ends with the line feed in the view's writing.
bool EndsWithLineFeed(View view, const QByteArray& line)
{
    if (view == View::Ascii)
        return line.endsWith('\n');
    return EndsWithUnit(line, 0x0A);
}

// Collects the lines of one chunk. The current line is either the continued last line of
// the list or a new one; complete lines are handed to the result at once.
class Builder
{
public:
    Builder(View view, const QByteArray& last)
        : m_view(view), m_last(last), m_capacity(view == View::Ascii ? AsciiBuffer : HexBuffer)
    {
    }

    // marked: the last line is a marked run (only the high-bit rules have them; elsewhere a
    // leading "." is a received byte).
    void ContinueLast(bool marked = false)
    {
        m_current = m_last;
        m_marked = marked;
        m_isLast = true;
        m_open = true;
    }
    void Open(bool marked)
    {
        m_current = marked ? QByteArray(".") : QByteArray();
        m_marked = marked;
        m_isLast = false;
        m_open = true;
    }
    bool IsOpen() const { return m_open; }
    bool IsMarked() const { return m_marked; }
    const QByteArray& Current() const { return m_current; }

    void Complete()
    {
        if (!m_open)
            return;
        Store();
        m_open = false;
    }

    // Appends the view's writing of value; a full buffer ends the line and the writing goes on
    // in a new line of the same kind.
    void Write(unsigned char value)
    {
        const qsizetype size = m_view == View::Ascii ? 1 : 3;
        if (!m_open)
            Open(false);
        if (m_current.size() + size > m_capacity) {
            const bool marked = m_marked;
            Complete();
            Open(marked);
        }
        if (m_view == View::Ascii) {
            m_current.append(value == 0 ? ' ' : char(value));
        } else {
            m_current.append(kHexDigits[value >> 4]);
            m_current.append(kHexDigits[value & 0x0F]);
            m_current.append(' ');
        }
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
    qsizetype m_capacity;
    QByteArray m_current;
    bool m_marked = false;
    bool m_isLast = false;
    bool m_open = false;
    Result m_result;
};

void LengthRule(Builder& b, View view, const Settings& s, bool hasLast, const QByteArray& last,
                const QByteArray& chunk)
{
    const int n = qBound(1, s.lineLength, 100);
    const bool hasBreak = s.breakValue >= 0 && s.breakValue <= 255;
    const auto brk = static_cast<unsigned char>(hasBreak ? s.breakValue : 0);
    const qsizetype limit = view == View::Ascii ? n : 3 * n;

    bool fresh = !hasLast || last.size() >= limit;
    if (view == View::Ascii)
        fresh = fresh || last.isEmpty() || (hasBreak && last.endsWith(char(brk)));
    else
        fresh = fresh || last.size() < 3 || (hasBreak && EndsWithUnit(last, brk));
    if (!fresh)
        b.ContinueLast();

    for (const char c : chunk) {
        const auto byte = static_cast<unsigned char>(c);
        b.Write(byte);
        // The ASCII view compares what it wrote (0x00 became a blank), the hex view the byte.
        const unsigned char shown = view == View::Ascii && byte == 0 ? 0x20 : byte;
        if (b.Current().size() >= limit || (hasBreak && shown == brk))
            b.Complete();
    }
}

void LineFeedRule(Builder& b, View view, bool hasLast, const QByteArray& last,
                  const QByteArray& chunk)
{
    if (hasLast && !EndsWithLineFeed(view, last))
        b.ContinueLast();
    for (const char c : chunk) {
        b.Write(static_cast<unsigned char>(c));
        if (c == '\n')
            b.Complete();
    }
}

void F0Rule(Builder& b, View view, bool hasLast, const QByteArray& chunk)
{
    if (hasLast && static_cast<unsigned char>(chunk[0]) != 0xF0)
        b.ContinueLast();
    for (const char c : chunk) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0xF0) {
            b.Complete();
            b.Open(false);
            b.Write(byte);
        } else {
            b.Write(view == View::Hex ? byte & 0x7F : byte);
        }
    }
}

void HighBitRule(Builder& b, View view, bool lineFeeds, bool hasLast, const QByteArray& last,
                 const QByteArray& chunk)
{
    const bool firstMarked = IsMarked(static_cast<unsigned char>(chunk[0]));
    if (hasLast) {
        const bool lastMarked = last.startsWith('.');
        if (lastMarked && firstMarked)
            b.ContinueLast(true);
        else if (!lastMarked && !firstMarked && !(lineFeeds && EndsWithLineFeed(view, last)))
            b.ContinueLast();
    }
    for (const char c : chunk) {
        const auto byte = static_cast<unsigned char>(c);
        const bool marked = IsMarked(byte);
        if (b.IsOpen() && b.IsMarked() != marked)
            b.Complete();
        if (!b.IsOpen())
            b.Open(marked);
        b.Write(marked ? byte - 0x80 : byte);
        if (lineFeeds && !marked && byte == 0x0A)
            b.Complete();
    }
}

} // namespace

inline Result BuildChunk(View view, Rule rule, const Settings& settings, bool hasLast,
                         const QByteArray& last, const QByteArray& chunk)
{
    Builder b(view, last);
    if (chunk.isEmpty())
        return b.Finish();
    switch (rule) {
    case Rule::None:
        break;
    case Rule::Length:
        LengthRule(b, view, settings, hasLast, last, chunk);
        break;
    case Rule::LineFeed:
        LineFeedRule(b, view, hasLast, last, chunk);
        break;
    case Rule::F0:
        F0Rule(b, view, hasLast, chunk);
        break;
    case Rule::HighBit:
        HighBitRule(b, view, false, hasLast, last, chunk);
        break;
    case Rule::HighBitLineFeed:
        HighBitRule(b, view, true, hasLast, last, chunk);
        break;
    }
    return b.Finish();
}

} // namespace ReferenceLineRules
