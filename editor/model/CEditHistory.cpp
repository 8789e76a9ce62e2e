#include "CEditHistory.h"

#include "CQuillmarkDoc.h"

// Qt
#include <QUndoCommand>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

bool SameRecord(const MessageRecord& a, const MessageRecord& b)
{
    return a.group == b.group && a.detector == b.detector && a.pseudoGroup == b.pseudoGroup &&
           a.text1 == b.text1 && a.text2 == b.text2 && a.formatTag == b.formatTag;
}

// Many rows change in one batch, so the views are told once; a single row keeps its own
// notice (and the views their selection).
class CBatchIfMany
{
public:
    CBatchIfMany(CRecordList& list, size_t count)
    {
        if (count > 1)
            m_batch.emplace(list);
    }

private:
    std::optional<CRecordBatch> m_batch;
};

// A text stored as typed entry stores it: a new row or new texts for the row of its key.
// The store ran before the command was pushed; the first redo has nothing to do.
class CStoreCommand : public QUndoCommand
{
public:
    CStoreCommand(const QString& name, CRecordList& list, const InsertResult& result)
        : QUndoCommand(name), m_list(list), m_row(result.row), m_replaced(result.replaced),
          m_before(result.previous), m_after(list.At(result.row))
    {
    }

    void undo() override
    {
        if (m_replaced)
            m_list.SetRecord(m_row, m_before);
        else
            m_list.DeleteItem(m_row);
    }

    void redo() override
    {
        if (m_first) {
            m_first = false;
            return;
        }
        if (m_replaced)
            m_list.SetRecord(m_row, m_after);
        else
            m_list.AddRecordAt(m_after, m_row);
    }

private:
    CRecordList& m_list;
    int m_row;
    bool m_replaced;
    MessageRecord m_before;
    MessageRecord m_after;
    bool m_first = true;
};

// New records for rows that stay where they are.
class CSetRecordsCommand : public QUndoCommand
{
public:
    CSetRecordsCommand(const QString& name, CRecordList& list,
                       std::vector<std::pair<int, MessageRecord>> changes)
        : QUndoCommand(name), m_list(list), m_after(std::move(changes))
    {
        m_before.reserve(m_after.size());
        for (const auto& change : m_after)
            m_before.push_back(list.At(change.first));
    }

    void redo() override
    {
        CBatchIfMany batch(m_list, m_after.size());
        for (const auto& change : m_after)
            m_list.SetRecord(change.first, change.second);
    }

    void undo() override
    {
        CBatchIfMany batch(m_list, m_after.size());
        // Backwards, so that a row listed twice ends as it was at first.
        for (size_t i = m_after.size(); i-- > 0;)
            m_list.SetRecord(m_after[i].first, m_before[i]);
    }

private:
    CRecordList& m_list;
    std::vector<std::pair<int, MessageRecord>> m_after;
    std::vector<MessageRecord> m_before;
};

// Rows deleted; undo puts each record back at its row. Rows ascending: deleting from the last
// and inserting from the first. Many rows are deleted and put back by rebuilding the list in
// one pass, so that rows scattered over a long list cost no more than a block of them.
class CDeleteRowsCommand : public QUndoCommand
{
public:
    CDeleteRowsCommand(const QString& name, CRecordList& list, std::vector<int> rows)
        : QUndoCommand(name), m_list(list), m_rows(std::move(rows))
    {
        m_records.reserve(m_rows.size());
        for (const int row : m_rows)
            m_records.push_back(list.At(row));
    }

    void redo() override
    {
        if (m_rows.size() > kFewRows) {
            Rebuild(false);
            return;
        }
        CBatchIfMany batch(m_list, m_rows.size());
        for (size_t i = m_rows.size(); i-- > 0;)
            m_list.DeleteItem(m_rows[i]);
    }

    void undo() override
    {
        if (m_rows.size() > kFewRows) {
            Rebuild(true);
            return;
        }
        CBatchIfMany batch(m_list, m_rows.size());
        for (size_t i = 0; i < m_rows.size(); ++i)
            m_list.AddRecordAt(m_records[i], m_rows[i]);
    }

private:
    static constexpr size_t kFewRows = 64;

    // The list with the deleted rows back in their places (withDeleted) or without them.
    void Rebuild(bool withDeleted)
    {
        const int count = m_list.GetCount();
        std::vector<MessageRecord> rows;
        size_t next = 0;
        if (withDeleted) {
            const int total = count + int(m_rows.size());
            rows.reserve(size_t(total));
            for (int row = 0, kept = 0; row < total; ++row) {
                if (next < m_rows.size() && m_rows[next] == row)
                    rows.push_back(m_records[next++]);
                else
                    rows.push_back(m_list.At(kept++));
            }
        } else {
            rows.reserve(size_t(count) - m_rows.size());
            for (int row = 0; row < count; ++row) {
                if (next < m_rows.size() && m_rows[next] == row)
                    ++next;
                else
                    rows.push_back(m_list.At(row));
            }
        }
        CRecordBatch batch(m_list);
        m_list.DeleteAllItems();
        for (const MessageRecord& rec : rows)
            m_list.AddRecordAt(rec, m_list.GetCount());
    }

    CRecordList& m_list;
    std::vector<int> m_rows;
    std::vector<MessageRecord> m_records;
};

// The project as a recorded change left it or found it: the settings block and the name, and
// for whole-project changes the rows.
struct ProjectState
{
    ProjectData data;
    QString pathName;
    bool columnsShown = false;
    bool withRows = false;
    std::vector<MessageRecord> rows;

    ProjectState(const CQuillmarkDoc& doc, bool rowsToo)
        : data(doc.Data()), pathName(doc.GetPathName()), columnsShown(doc.Records().ColumnsShown()),
          withRows(rowsToo)
    {
        if (!withRows)
            return;
        const CRecordList& list = doc.Records();
        rows.reserve(size_t(list.GetCount()));
        for (int row = 0; row < list.GetCount(); ++row)
            rows.push_back(list.At(row));
    }

    bool operator==(const ProjectState& o) const
    {
        return std::memcmp(&data, &o.data, sizeof data) == 0 && pathName == o.pathName &&
               columnsShown == o.columnsShown && rows.size() == o.rows.size() &&
               std::equal(rows.begin(), rows.end(), o.rows.begin(), SameRecord);
    }

    void Restore(CQuillmarkDoc& doc) const
    {
        doc.Data() = data;
        doc.SetPathName(pathName);
        CRecordList& list = doc.Records();
        if (withRows) {
            CRecordBatch batch(list);
            list.DeleteAllItems();
            for (const MessageRecord& rec : rows)
                list.AddRecordAt(rec, list.GetCount());
        }
        list.ColumnsChanged(columnsShown);
    }
};

// A recorded change (import, conversion, reading the FAT, a settings dialog): undo and redo
// put back the whole state before or after it.
class CRecordedCommand : public QUndoCommand
{
public:
    CRecordedCommand(const QString& name, CEditHistory& history, CQuillmarkDoc& doc,
                     ProjectState before, ProjectState after)
        : QUndoCommand(name), m_history(history), m_doc(doc), m_before(std::move(before)),
          m_after(std::move(after))
    {
    }

    void undo() override { Put(m_before); }

    void redo() override
    {
        if (m_first) {
            m_first = false;
            return;
        }
        Put(m_after);
    }

private:
    void Put(const ProjectState& state)
    {
        state.Restore(m_doc);
        emit m_history.ProjectRestored();
    }

    CEditHistory& m_history;
    CQuillmarkDoc& m_doc;
    ProjectState m_before;
    ProjectState m_after;
    bool m_first = true;
};

} // namespace

CEditHistory::CEditHistory(CQuillmarkDoc& doc) : m_doc(doc)
{
    connect(&m_stack, &QUndoStack::indexChanged, this, &CEditHistory::StepsChanged);
    connect(&m_stack, &QUndoStack::cleanChanged, this, &CEditHistory::StepsChanged);
}

CEditHistory::~CEditHistory() = default;

InsertResult CEditHistory::StoreRecord(const QString& stepName, const MessageRecord& rec)
{
    const InsertResult result = m_doc.Records().InsertRecord(rec);
    if (result.row >= 0)
        m_stack.push(new CStoreCommand(stepName, m_doc.Records(), result));
    return result;
}

void CEditHistory::SetRecords(const QString& stepName,
                              std::vector<std::pair<int, MessageRecord>> changes)
{
    const int count = m_doc.Records().GetCount();
    changes.erase(
        std::remove_if(changes.begin(), changes.end(),
                       [count](const auto& c) { return c.first < 0 || c.first >= count; }),
        changes.end());
    if (!changes.empty())
        m_stack.push(new CSetRecordsCommand(stepName, m_doc.Records(), std::move(changes)));
}

void CEditHistory::DeleteRows(const QString& stepName, std::vector<int> rows)
{
    const int count = m_doc.Records().GetCount();
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [count](int row) { return row < 0 || row >= count; }),
               rows.end());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (!rows.empty())
        m_stack.push(new CDeleteRowsCommand(stepName, m_doc.Records(), std::move(rows)));
}

bool CEditHistory::Record(const QString& stepName, Scope scope, const std::function<bool()>& change)
{
    const bool rows = scope == Scope::Project;
    ProjectState before(m_doc, rows);
    ++m_recording;
    const bool result = change();
    --m_recording;
    ProjectState after(m_doc, rows);
    if (!(after == before))
        m_stack.push(
            new CRecordedCommand(stepName, *this, m_doc, std::move(before), std::move(after)));
    return result;
}

void CEditHistory::BeginStep(const QString& stepName)
{
    m_stack.beginMacro(stepName);
}

void CEditHistory::EndStep()
{
    m_stack.endMacro();
}

void CEditHistory::SetModified(bool modified)
{
    // While a change is recorded, its step alone decides the mark.
    if (m_recording > 0)
        return;
    if (modified)
        m_stack.resetClean();
    else
        m_stack.setClean();
}
