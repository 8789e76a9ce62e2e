#pragma once

#include "MessageRecord.h"
#include "ProjectData.h"
#include "RecordEntry.h"

// Qt
#include <QAbstractTableModel>
#include <QByteArray>

#include <vector>

// Where InsertRecord put a record (-1: nowhere) and, when it refused it, why. replaced: the
// row of that key was there already and held previous before.
struct InsertResult
{
    int row = -1;
    RecordRefusal refusal;
    bool replaced = false;
    MessageRecord previous;
};

// The one store of the project's records: typed rows of six cells (tag, group, pseudo group,
// detector, Text 1, Text 2) under the project's order and limit, bound to the project settings
// for its lifetime. Item views show it through the table model interface; widths, scrolling
// and selection are theirs. Nothing is shown from here: a refused record comes back with the
// message the caller shows.
class CRecordList : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum { CellCount = 6 };
    // BytesRole: a cell's bytes. WidthSamplesRole (horizontal header): the texts a column must
    // fit (a QStringList; empty for a hidden column).
    enum { BytesRole = Qt::UserRole + 2, WidthSamplesRole = Qt::UserRole + 3 };

    explicit CRecordList(const ProjectData& data, QObject* parent = nullptr);
    ~CRecordList() override;
    CRecordList(const CRecordList&) = delete;
    CRecordList& operator=(const CRecordList&) = delete;

    // table model: data access
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // records
    // Checks rec by the entry rules, pads it and places it in key order (or replaces the texts
    // of the row with the same key); rec itself stays as it was.
    InsertResult InsertRecord(const MessageRecord& rec);
    // Inserts rec at row (clamped to the row count) without checks or ordering; returns the row.
    int AddRecordAt(const MessageRecord& rec, int row);
    void GetRecord(MessageRecord& rec, int row) const;
    // The row itself; row must be valid.
    const MessageRecord& At(int row) const { return *m_rows[size_t(row)]; }
    // Row -1 empties the numbers and texts; otherwise full-width texts lose trailing blanks.
    void GetRecordForEdit(MessageRecord& rec, int row) const;
    bool SetRecord(int row, const MessageRecord& rec);
    int GetCount() const { return int(m_rows.size()); }

    // cells, by Column
    QByteArray GetItemText(int row, int column) const;
    bool SetItemText(int row, int column, const QByteArray& text);
    bool DeleteItem(int row);
    void DeleteAllItems();

    // Many changes at once (loading, reading, importing): between BeginBatch and EndBatch the
    // views get no notice per row but one reset at the end. Batches nest.
    void BeginBatch();
    void EndBatch();
    bool InBatch() const { return m_batchDepth > 0; }

    // The columns follow the project settings anew (after SetupListColumns): shown is false
    // when the project cannot be shown, leaving only the hidden tag column.
    void ColumnsChanged(bool shown);
    bool ColumnsShown() const { return m_columnsShown; }

    // source right-aligned in width characters filled with "0"; a longer source keeps its last
    // width characters.
    static QByteArray PadZeros(const QByteArray& source, int width);
    // A number text at exactly width characters: shorter ones are padded with zeros on the
    // left (the card mark "+" stays in front), longer ones lose leading zeros. *fits (when
    // given) is false when the text is still longer then; it is then cut to its last width
    // characters.
    static QByteArray FitNumber(const QByteArray& text, int width, bool* fits = nullptr);
    // Adds one to decimal digit text; a carry out of the first digit makes it one digit longer.
    static void IncrementNumber(QByteArray& digits);
    // The value of text as the ordinary decimal conversion reads it (blanks, one sign, digits).
    static long long DecimalValue(const QByteArray& text);

private:
    enum Order { Unknown = -1, Unsorted = 0, Ascending = 1 };

    void InsertRow(int row, MessageRecord* rec);
    void RowChanged(int row, int first, int last);
    // Where a record of key group + detector goes: the row with that key (*equal set) or the
    // first row with a greater key.
    int FindPlace(const QByteArray& group, const QByteArray& detector, bool* equal) const;
    bool IsAscending() const;
    // After row's key changed or row was inserted: the order stays known only where it can be
    // told from the neighbours.
    void KeyChangedAt(int row);

    const ProjectData& m_data;
    // Pointers, so that inserting in the middle of many rows moves only pointers.
    std::vector<MessageRecord*> m_rows;
    mutable Order m_order = Ascending;
    int m_batchDepth = 0;
    bool m_columnsShown = false;
};

// Keeps the record list in one batch for its lifetime.
class CRecordBatch
{
public:
    explicit CRecordBatch(CRecordList& list) : m_list(list) { m_list.BeginBatch(); }
    ~CRecordBatch() { m_list.EndBatch(); }
    CRecordBatch(const CRecordBatch&) = delete;
    CRecordBatch& operator=(const CRecordBatch&) = delete;

private:
    CRecordList& m_list;
};
