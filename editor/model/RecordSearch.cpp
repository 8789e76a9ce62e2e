#include "RecordSearch.h"

#include "CodePage.h"
#include "ProjectRules.h"
#include "ProjectTypes.h"

#include <array>
#include <optional>

namespace {

// Lower case of every Windows-1252 byte (A-Z, the umlauts, the accented letters, Š, Œ, Ž,
// Ÿ); bytes without one stay.
const std::array<char, 256>& FoldTable()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            t[size_t(b)] = char(b);
            const QString c = FromCp1252(QByteArray(1, char(b)));
            const QString lower = c.toLower();
            if (c.size() == 1 && lower.size() == 1 && lower != c && IsCp1252(lower.at(0)))
                t[size_t(b)] = ToCp1252(lower).at(0);
        }
        return t;
    }();
    return table;
}

QByteArray Fold(QByteArray text)
{
    const std::array<char, 256>& table = FoldTable();
    for (char& c : text)
        c = table[uchar(c)];
    return text;
}

// The cells of a record by Column.
QByteArray MessageRecord::*const kCells[] = {&MessageRecord::formatTag,   &MessageRecord::group,
                                             &MessageRecord::pseudoGroup, &MessageRecord::detector,
                                             &MessageRecord::text1,       &MessageRecord::text2};

QByteArray& CellOf(MessageRecord& rec, int column)
{
    return rec.*kCells[column];
}

const QByteArray& CellOf(const MessageRecord& rec, int column)
{
    return rec.*kCells[column];
}

bool SameRecord(const MessageRecord& a, const MessageRecord& b)
{
    for (QByteArray MessageRecord::*cell : kCells)
        if (a.*cell != b.*cell)
            return false;
    return true;
}

bool SameKey(const MessageRecord& a, const MessageRecord& b)
{
    return a.group == b.group && a.detector == b.detector;
}

} // namespace

RecordSearch::RecordSearch(const ProjectData& data, const QString& text, int scope, bool matchCase)
    : m_data(data), m_matchCase(matchCase)
{
    QByteArray bytes;
    if (RecordEntry::ToCodePage(text, bytes))
        m_needle = matchCase ? bytes : Fold(bytes);
    const QList<int> shown = ScopeColumns(data);
    m_columns = scope == WholeRow       ? shown
                : shown.contains(scope) ? QList<int>{scope}
                                        : QList<int>();
}

QList<int> RecordSearch::ScopeColumns(const ProjectData& data)
{
    QList<int> columns{Column::Group};
    if (data.textFormat == FormatPseudo)
        columns.append(Column::PseudoGroup);
    columns << Column::Detector << Column::Text1 << Column::Text2;
    return columns;
}

QByteArray RecordSearch::CellText(const MessageRecord& rec, int column) const
{
    QByteArray text = CellOf(rec, column);
    const int length = column == Column::Text1   ? m_data.text1Length
                       : column == Column::Text2 ? m_data.text2Length
                                                 : -1;
    if (text.size() == length)
        while (text.endsWith(' '))
            text.chop(1);
    return text;
}

QList<int> RecordSearch::MatchesIn(const QByteArray& text) const
{
    QList<int> at;
    if (m_needle.isEmpty() || text.size() < m_needle.size())
        return at;
    const QByteArray haystack = m_matchCase ? text : Fold(text);
    for (qsizetype i = haystack.indexOf(m_needle); i >= 0;
         i = haystack.indexOf(m_needle, i + m_needle.size()))
        at.append(int(i));
    return at;
}

bool RecordSearch::Matches(const MessageRecord& rec) const
{
    for (const int column : m_columns)
        if (!MatchesIn(CellText(rec, column)).isEmpty())
            return true;
    return false;
}

int RecordSearch::Find(const CRecordList& list, int from, bool forward, bool* wrapped) const
{
    if (wrapped)
        *wrapped = false;
    const int count = list.GetCount();
    if (!Valid() || count == 0)
        return -1;
    const bool fromRow = from >= 0 && from < count;
    const int start = forward ? (fromRow ? from + 1 : 0) : (fromRow ? from - 1 : count - 1);
    for (int i = 0; i < count; ++i) {
        const int raw = forward ? start + i : start - i;
        const int row = (raw + count) % count;
        if (Matches(list.At(row))) {
            if (wrapped)
                *wrapped = raw != row;
            return row;
        }
    }
    return -1;
}

RecordRefusal RecordSearch::Replace(const MessageRecord& rec, const QString& replacement,
                                    MessageRecord& out, bool* changed) const
{
    *changed = false;
    MessageRecord edited = rec;
    bool keyEdited = false;
    bool pseudoEdited = false;
    for (const int column : m_columns) {
        const QByteArray text = CellText(rec, column);
        const QList<int> at = MatchesIn(text);
        if (at.isEmpty())
            continue;
        QString typed;
        int done = 0;
        for (const int offset : at) {
            typed += FromCp1252(text.mid(done, offset - done)) + replacement;
            done = offset + int(m_needle.size());
        }
        typed += FromCp1252(text.mid(done));
        // The cell as if the technician had typed it into the in-place editor.
        const RecordRefusal refusal = RecordEntry::CheckCell(m_data, column, typed);
        if (refusal)
            return refusal;
        QByteArray bytes;
        RecordEntry::ToCodePage(typed, bytes);
        if ((column == Column::Text1 || column == Column::Text2) &&
            m_data.textFormat == FormatStandard && ProjectRules::OutputCardLists(m_data))
            bytes = RecordEntry::CleanCardList(bytes);
        CellOf(edited, column) = bytes;
        keyEdited = keyEdited || column == Column::Group || column == Column::Detector;
        pseudoEdited = pseudoEdited || column == Column::PseudoGroup;
    }
    MessageRecord padded;
    const RecordRefusal refusal = RecordEntry::Admit(m_data, edited, padded);
    if (refusal)
        return refusal;
    // Numbers nobody touched stay as stored, so the row keeps its key and its place.
    if (!keyEdited) {
        padded.group = rec.group;
        padded.detector = rec.detector;
    }
    if (!pseudoEdited)
        padded.pseudoGroup = rec.pseudoGroup;
    *changed = !SameRecord(padded, rec);
    if (*changed)
        out = padded;
    return RecordRefusal();
}

RecordSearch::Plan RecordSearch::ReplaceAll(const CRecordList& list,
                                            const QString& replacement) const
{
    Plan plan;
    if (!Valid())
        return plan;
    for (int row = 0; row < list.GetCount(); ++row) {
        const MessageRecord& rec = list.At(row);
        if (!Matches(rec))
            continue;
        Change change;
        bool changed = false;
        const RecordRefusal refusal = Replace(rec, replacement, change.record, &changed);
        if (refusal) {
            if (plan.refused++ == 0) {
                plan.firstRefusal = refusal;
                plan.firstRefusedRow = row;
            }
        } else if (changed) {
            change.row = row;
            plan.changes.push_back(std::move(change));
        }
    }
    return plan;
}

bool KeepPlaces(const CRecordList& list, const std::vector<RecordSearch::Change>& changes)
{
    return std::all_of(changes.begin(), changes.end(), [&list](const RecordSearch::Change& c) {
        return SameKey(list.At(c.row), c.record);
    });
}

int ApplyReplacements(CRecordList& list, const std::vector<RecordSearch::Change>& changes)
{
    // One change keeps the views' selection; many are told once.
    std::optional<CRecordBatch> batch;
    if (changes.size() > 1)
        batch.emplace(list);
    int last = -1;
    std::vector<RecordSearch::Change> moved;
    for (const RecordSearch::Change& change : changes) {
        if (SameKey(list.At(change.row), change.record)) {
            list.SetRecord(change.row, change.record);
            last = change.row;
        } else {
            moved.push_back({change.row, list.At(change.row)});
        }
    }
    // Moving rows leave from the bottom up, so the rows above keep their numbers; then each
    // new record finds its place by its key.
    for (auto it = moved.rbegin(); it != moved.rend(); ++it)
        list.DeleteItem(it->row);
    size_t next = 0;
    for (const RecordSearch::Change& change : changes) {
        if (next >= moved.size() || moved[next].row != change.row)
            continue;
        const InsertResult placed = list.InsertRecord(change.record);
        // Admitted before, so only a broken limit refuses: the old row then comes back.
        last = placed.row >= 0 ? placed.row : list.AddRecordAt(moved[next].record, moved[next].row);
        ++next;
    }
    return last;
}
