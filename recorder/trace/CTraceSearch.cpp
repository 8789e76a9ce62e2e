#include "CTraceSearch.h"

#include "CLineIndex.h"
#include "CodePage.h"

// Qt
#include <QByteArrayView>

#include <algorithm>
#include <array>

namespace {

// Windows-1252 upper case to lower case; every other byte stays.
const std::array<unsigned char, 256>& FoldTable()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[size_t(i)] = static_cast<unsigned char>(i);
        for (int c = 'A'; c <= 'Z'; ++c)
            t[size_t(c)] = static_cast<unsigned char>(c + 0x20);
        for (int c = 0xC0; c <= 0xDE; ++c) {
            if (c != 0xD7) // the multiplication sign has no lower case
                t[size_t(c)] = static_cast<unsigned char>(c + 0x20);
        }
        t[0x8A] = 0x9A; // Š
        t[0x8C] = 0x9C; // Œ
        t[0x8E] = 0x9E; // Ž
        t[0x9F] = 0xFF; // Ÿ
        return t;
    }();
    return table;
}

void Fold(QByteArray& bytes)
{
    const auto& table = FoldTable();
    for (char& c : bytes)
        c = char(table[static_cast<unsigned char>(c)]);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

bool CTraceSearch::ParseHex(const QString& text, QByteArray& bytes, QString& error)
{
    bytes.clear();
    const QByteArray latin = text.toLatin1();
    for (const QByteArray& token : latin.simplified().split(' ')) {
        if (token.isEmpty())
            continue;
        if (token.size() % 2 != 0) {
            bytes.clear();
            break;
        }
        for (qsizetype i = 0; i < token.size(); i += 2) {
            const int high = HexDigit(token[i]);
            const int low = HexDigit(token[i + 1]);
            if (high < 0 || low < 0) {
                error = QStringLiteral("Geben Sie die Bytes bitte als Paare von Hex-Ziffern "
                                       "ein, zum Beispiel 10 02.");
                bytes.clear();
                return false;
            }
            bytes.append(char(high * 16 + low));
        }
    }
    if (bytes.isEmpty()) {
        error = QStringLiteral("Geben Sie die Bytes bitte als Paare von Hex-Ziffern ein, "
                               "zum Beispiel 10 02.");
        return false;
    }
    return true;
}

bool CTraceSearch::ParseText(const QString& text, QByteArray& bytes, QString& error)
{
    if (text.isEmpty()) {
        error = QStringLiteral("Geben Sie bitte einen Suchtext ein.");
        return false;
    }
    if (!std::all_of(text.begin(), text.end(), IsCp1252)) {
        error = QStringLiteral("Der Suchtext enthält Zeichen, die es in Windows-1252 nicht "
                               "gibt.");
        return false;
    }
    bytes = ToCp1252(text);
    return true;
}

void CTraceSearch::Start(const CLineIndex& lines, LineRules::View view, const Query& query)
{
    m_lines = &lines;
    m_view = view;
    m_query = query;
    m_needle = query.pattern;
    if (query.kind == Query::Text && query.ignoreCase)
        Fold(m_needle);
    m_matches.clear();
    m_next = 0;
}

void CTraceSearch::Stop()
{
    m_lines = nullptr;
    m_matches.clear();
    m_next = 0;
}

void CTraceSearch::Invalidate(qsizetype row)
{
    row = qMax<qsizetype>(0, row);
    if (row >= m_next)
        return;
    const auto from = std::lower_bound(m_matches.begin(), m_matches.end(), row,
                                       [](const Match& m, qsizetype r) { return m.row < r; });
    m_matches.erase(from, m_matches.end());
    m_next = row;
}

bool CTraceSearch::IsComplete() const
{
    return !m_lines || m_next >= m_lines->Count();
}

bool CTraceSearch::Continue(qsizetype rows)
{
    if (!m_lines || m_needle.isEmpty())
        return true;
    const qsizetype end = qMin(m_lines->Count(), m_next + qMax<qsizetype>(1, rows));
    for (; m_next < end; ++m_next) {
        if (m_query.kind == Query::Text)
            SearchText(m_next);
        else
            SearchValues(m_next);
    }
    return IsComplete();
}

void CTraceSearch::SearchText(qsizetype row)
{
    m_lines->TextInto(row, m_buffer);
    if (m_query.ignoreCase)
        Fold(m_buffer);
    AddAll(row, m_buffer, 0, 1);
}

void CTraceSearch::SearchValues(qsizetype row)
{
    const int unit = LineRules::UnitSize(m_view);
    if (m_lines->ValuesInto(row, m_buffer)) {
        AddAll(row, m_buffer, m_lines->IsMarkedRun(row) ? 1 : 0, unit);
        return;
    }
    // A line of text (a loaded list, a header, a continued line): the ASCII view's characters
    // are the bytes, the hex view's units are read back.
    m_lines->TextInto(row, m_buffer);
    if (m_view == LineRules::View::Ascii) {
        AddAll(row, m_buffer, 0, 1);
        return;
    }
    // A loaded list keeps the file's four blanks before each item.
    int lead = 0;
    while (lead < m_buffer.size() && m_buffer[lead] == ' ')
        ++lead;
    if (lead < m_buffer.size() && m_buffer[lead] == '.')
        ++lead;
    qsizetype units = 0;
    for (qsizetype p = lead; p + 1 < m_buffer.size(); p += 3) {
        const int high = HexDigit(m_buffer[p]);
        const int low = HexDigit(m_buffer[p + 1]);
        if (high < 0 || low < 0 || (p + 2 < m_buffer.size() && m_buffer[p + 2] != ' '))
            break;
        m_buffer[units++] = char(high * 16 + low);
    }
    m_buffer.resize(units);
    AddAll(row, m_buffer, lead, 3);
}

void CTraceSearch::AddAll(qsizetype row, const QByteArray& hay, int lead, int unit)
{
    const qsizetype n = m_needle.size();
    // The trailing blank of the last hex unit is not part of the match.
    const int length = int(n * unit - (unit > 1 ? 1 : 0));
    for (qsizetype at = hay.indexOf(m_needle); at >= 0; at = hay.indexOf(m_needle, at + n))
        m_matches.push_back({row, int(lead + at * unit), length});
}

qsizetype CTraceSearch::Next(qsizetype row, int column) const
{
    if (m_matches.empty())
        return -1;
    const auto it =
        std::upper_bound(m_matches.begin(), m_matches.end(), std::make_pair(row, column),
                         [](const std::pair<qsizetype, int>& at, const Match& m) {
                             return at < std::make_pair(m.row, m.column);
                         });
    return it == m_matches.end() ? 0 : qsizetype(it - m_matches.begin());
}

qsizetype CTraceSearch::Previous(qsizetype row, int column) const
{
    if (m_matches.empty())
        return -1;
    const auto it =
        std::lower_bound(m_matches.begin(), m_matches.end(), std::make_pair(row, column),
                         [](const Match& m, const std::pair<qsizetype, int>& at) {
                             return std::make_pair(m.row, m.column) < at;
                         });
    return it == m_matches.begin() ? qsizetype(m_matches.size()) - 1
                                   : qsizetype(it - m_matches.begin()) - 1;
}

std::pair<qsizetype, qsizetype> CTraceSearch::InRows(qsizetype first, qsizetype last) const
{
    const auto byRow = [](const Match& m, qsizetype r) { return m.row < r; };
    const auto begin = std::lower_bound(m_matches.begin(), m_matches.end(), first, byRow);
    const auto end = std::lower_bound(begin, m_matches.end(), last + 1, byRow);
    return {qsizetype(begin - m_matches.begin()), qsizetype(end - m_matches.begin())};
}
