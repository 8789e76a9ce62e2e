#pragma once

#include "MessageRecord.h"
#include "ProjectData.h"

class CListCtrl;

// The record operations on the list control: validated ordered insert, raw insert, reading
// a row. Bound to the list control and the project settings before use.
class CRecordList
{
public:
    // A null argument keeps the old binding.
    void SetListCtrl(CListCtrl* list);
    void SetSettings(ProjectData* data);
    CListCtrl* ListCtrl() const { return m_list; }

    // Validates, pads and places rec in key order (or replaces the texts of the row with the
    // same key). Returns the row, or -1 after a beep and a message.
    int InsertRecord(const MessageRecord& rec, bool ensureVisible);
    // Inserts rec at row without checks or ordering; returns the new row.
    int AddRecordAt(const MessageRecord& rec, int row, bool ensureVisible);
    void GetRecord(MessageRecord& rec, int row) const;
    // Row -1 empties the numbers and texts; otherwise full-width texts lose trailing blanks.
    void GetRecordForEdit(MessageRecord& rec, int row) const;
    int GetFirstSelected() const;
    int GetCount() const;

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
    CListCtrl* m_list = nullptr;
    ProjectData* m_data = nullptr;
};
