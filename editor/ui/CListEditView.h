#pragma once

#include "CRecordList.h"
#include "ProjectData.h"

// Qt
#include <QFont>
#include <QPointer>
#include <QTableView>

#include <vector>

class CCellEdit;
class CListRowDelegate;

// The numbers the status bar shows for the list: rows and the 1-based focused row.
struct ListStatus
{
    int messageCount = 0;
    int currentPosition = 0;
};

// The general part of the text list: rows painted with the format marks in a fixed-pitch
// font, full-row selection, texts cut with "...", in-place editing of one cell, the status
// numbers, and the frame widened by a scroll bar when the rows overflow. The view owns the
// column widths (measured from what the list says each column must fit), the scrolling and
// the selection.
class CListEditView : public QTableView
{
    Q_OBJECT

public:
    explicit CListEditView(QWidget* parent = nullptr);
    ~CListEditView() override;

    // Shows the list; data gives the in-place editor its limits.
    void SetList(CRecordList* list, ProjectData* data);
    CRecordList* List() const { return m_list; }
    ProjectData* Data() const { return m_data; }
    void SetStatus(ListStatus* status) { m_status = status; }

    // initial set-up: no edit, the "Courier" font, widths from the list.
    void InitialSetup();
    // Each column as wide as the widest text it must fit plus "WW"; hidden ones 0.
    void ApplyListWidths();
    int ListColumnWidth(int column) const { return m_columnWidths.value(column); }

    int EditColumn() const { return m_editColumn; }
    bool ScrollBarWidened() const { return m_scrollBarWidened; }
    const QFont& ListFont() const { return m_listFont; }
    CCellEdit* CellEdit() const { return m_cellEdit; }

    // The text itself if it fits width, else its longest beginning followed by "...".
    static QString FitTextToWidth(const QString& text, int width, const QFontMetrics& metrics);

    // currentPosition := focused row + 1 + delta; messageCount := row count + delta.
    void UpdateStatusPanes(int delta);

    // in-place editing, called by the row delegate
    CCellEdit* BeginCellEdit(QWidget* parent, const QModelIndex& index);
    void SetPendingEdit(const QString& text, int row);
    // Stores an edited cell; overridden where the rows are records.
    virtual void EndCellEdit(const QString& text, int row);

    // scrolling and measuring
    int TopIndex() const;
    int CountPerPage() const;
    // Scrolls row into view once the event loop turns, after the rows of a batch are known.
    void EnsureVisible(int row);
    int TextWidth(const QString& text) const;
    // Applies the widths and resizes the frame so that 20 rows and all columns fit.
    void ResizeFrameToFit();
    // The first selected row among the top visible row and the rows of one page + 1 after
    // it; -1 when none of them is selected.
    int GetFirstSelected() const;

    QSize sizeHint() const override;
    // Selects row alone and makes it the focused row.
    void SelectRow(int row);
    // Selects these rows alone (any order), focuses the first and scrolls it into view.
    void SelectRows(std::vector<int> rows);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

    // The list changed its rows: status numbers, and later the scroll bar check.
    void RowsChanged();
    void ScheduleScrollBarCheck();
    void CheckScrollBar();

    int m_editColumn = -1;
    int m_clientWidth = 0;
    bool m_scrollBarWidened = false;
    QFont m_listFont;
    CCellEdit* m_cellEdit = nullptr; // while an edit is open

private:
    void ForwardListKey(int key);
    void ColumnsChanged();

    CRecordList* m_list = nullptr;
    QVector<int> m_columnWidths;
    ProjectData* m_data = nullptr;
    ListStatus* m_status = nullptr;
    CListRowDelegate* m_delegate = nullptr;
    bool m_scrollCheckPending = false;
    int m_pendingEnsure = -1;
    bool m_hasPendingEdit = false;
    QString m_pendingText;
    int m_pendingRow = -1;
};
