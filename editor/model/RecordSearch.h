#pragma once

#include "CRecordList.h"
#include "MessageRecord.h"
#include "ProjectData.h"
#include "RecordEntry.h"

// Qt
#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

// Finding and replacing text in the records: which rows match a search, and what a row
// becomes when its matches are replaced. Every replaced cell passes the checks of typed entry
// (RecordEntry::CheckCell, then RecordEntry::Admit for the whole record), so a replacement
// never stores what the technician could not have typed. Texts are matched as the in-place
// editor shows them (a text filling its length without its trailing blanks); case is folded
// by the Windows-1252 letters, umlauts included.
class RecordSearch
{
public:
    // A search in every column the list shows, or in one of them (a Column value).
    enum { WholeRow = -1 };

    // One row and what it becomes.
    struct Change
    {
        int row = -1;
        MessageRecord record;
    };

    // What "Alle ersetzen" would do: the rows that change, and those whose replacement the
    // entry check refused (with the first refusal and its row).
    struct Plan
    {
        std::vector<Change> changes;
        int refused = 0;
        int firstRefusedRow = -1;
        RecordRefusal firstRefusal;
    };

    RecordSearch(const ProjectData& data, const QString& text, int scope, bool matchCase);

    // False when there is nothing to look for: an empty text, or one with characters no
    // record can hold.
    bool Valid() const { return !m_needle.isEmpty(); }
    // The columns searched in this project: scope alone, or all the list shows.
    QList<int> Columns() const { return m_columns; }
    // The columns a search can be restricted to in this project, in the list's order.
    static QList<int> ScopeColumns(const ProjectData& data);

    bool Matches(const MessageRecord& rec) const;
    // The next matching row after from (before it when backwards), going round the list;
    // from -1 starts at the first (last) row. -1 when no row matches. *wrapped tells whether
    // the search went past the end (start) of the list.
    int Find(const CRecordList& list, int from, bool forward, bool* wrapped = nullptr) const;

    // rec with every match in the searched columns replaced by replacement. Returns the
    // refusal of the entry check (out then unchanged); an accepted result is padded as the
    // ordered insert stores it. *changed is false when the row stays as it was.
    RecordRefusal Replace(const MessageRecord& rec, const QString& replacement, MessageRecord& out,
                          bool* changed) const;
    Plan ReplaceAll(const CRecordList& list, const QString& replacement) const;

private:
    // The cell as the in-place editor shows it.
    QByteArray CellText(const MessageRecord& rec, int column) const;
    // Byte offsets of the matches in text, left to right, not overlapping.
    QList<int> MatchesIn(const QByteArray& text) const;

    const ProjectData& m_data;
    QByteArray m_needle; // folded unless matchCase
    bool m_matchCase;
    QList<int> m_columns;
};

// Stores the changes in one batch, as typed entry would: a row whose key stays keeps its
// place and takes the new texts; a row whose group or detector changed leaves its place and
// goes through the ordered insert (an existing key then takes its texts). Every change is
// computed against the rows as they were; changes stand in ascending order of their rows,
// one per row. Returns the row the last change now stands in.
int ApplyReplacements(CRecordList& list, const std::vector<RecordSearch::Change>& changes);
// True when no change moves its row (group and detector stay).
bool KeepPlaces(const CRecordList& list, const std::vector<RecordSearch::Change>& changes);
