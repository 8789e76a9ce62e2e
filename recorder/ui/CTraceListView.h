#pragma once

#include "CDocument.h"
#include "CRecordingSession.h"
#include "CTraceListModel.h"
#include "LineRules.h"
#include "LineprobeHints.h"

// Qt
#include <QAbstractItemView>

class CLineprobeDoc;
class CTraceSearch;
class QHeaderView;

// Common base of the two trace views: shows one list of the recording session in one column
// of a fixed-pitch font, marked lines in red, couples the selection with the other view,
// takes dropped list files to the session and sets the window caption. Rows have one height,
// so the view finds a row by arithmetic and paints only the rows in sight; it keeps nothing
// per row, and scrolls to the end at most once per turn of the event loop however many
// chunks came in.
class CTraceListView : public QAbstractItemView, public CView
{
    Q_OBJECT

public:
    struct Look
    {
        LineRules::View view;
        QString heading; // column heading
        int widthBlanks; // column width as this many blanks of the list font
        QString caption; // caption of the child window
    };

    CTraceListView(CRecordingSession& session, const Look& look, QWidget* parent = nullptr);

    CRecordingSession& Session() const { return m_session; }
    CLineprobeDoc* Doc() const { return &m_session.Doc(); }
    CTraceListModel* Model() const { return m_model; }
    int ItemCount() const { return m_model->rowCount(); }
    QByteArray ItemText(int row) const { return m_model->ItemText(row); }
    const Look& GetLook() const { return m_look; }

    // Selects item index (when it exists) and scrolls it into view; sends nothing.
    void SelectItem(int index);
    // While rows come in, the view follows the end only while the user is at the end:
    // scrolling away or selecting a line holds it, End or Follow() makes it follow again.
    bool IsFollowing() const { return m_following; }
    void Follow();

    // Matches of search are painted behind the text, the one at (row, column) stronger;
    // nullptr paints none.
    void SetHighlights(const CTraceSearch* search, qsizetype row = -1, int column = -1);
    // "&Zeitstempel": the arrival time before each row (when the session has times).
    void SetShowTimes(bool show);
    bool ShowsTimes() const { return m_showTimes && !m_session.ChunkTimes().IsEmpty(); }
    // The row as painted: the time prefix, if shown, and at most maxChars of the text.
    QString ShownText(int row, qsizetype maxChars = -1) const;
    // Scrolls sideways so that the characters from column on are in sight.
    void ShowColumn(int column, int length);
    // Caption of the child window and the main window title.
    void UpdateCaption();
    // Done once when the view is first shown; public for the shell that builds the windows.
    void OnInitialUpdate();
    bool IsInitialized() const { return m_initialized; }

    // The one column and its heading.
    QHeaderView* horizontalHeader() const { return m_header; }
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);
    int RowHeight() const { return m_rowHeight; }
    // Selects a row as a click does (the other view follows).
    void selectRow(int row);
    void scrollToTop();
    void scrollToBottom();

    // QAbstractItemView
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void keyboardSearch(const QString&) override {}

signals:
    void FollowingChanged(bool following);

protected:
    void Notify(long hint, const QVariant& arg = QVariant());
    void OnUpdate(CView* sender, long hint, const QVariant& arg) override;
    // Scrolls the last item into view once, in the next turn of the event loop, however many
    // lines came in this one.
    void ScrollToEnd();

    // QAbstractItemView
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void OnLinesAppended(LineRules::View view, const CLineIndex::Change& change,
                         CRecordingSession::Append what);
    void OnSelectionChanged();
    // Brings the scroll range up to the rows, once per turn of the event loop; toBottom
    // shows the last row.
    void ScheduleUpdate(bool toBottom);
    void RunScheduledUpdate();
    void UpdateScrollRanges();
    void SetFollowing(bool following);
    int VisibleRows() const;
    int CharWidth() const;
    // Characters the time prefix takes before the text (0 while times are not shown).
    int PrefixChars() const;
    void PaintMatches(QPainter& painter, int first, int last, int left, int margin);
    // The one local file of a drop with the extension ".tvs" or ".tvh", or empty.
    static QString DroppedListFile(const QMimeData* mime);

    CRecordingSession& m_session;
    Look m_look;
    CTraceListModel* m_model;
    QHeaderView* m_header;
    int m_rowHeight = 16;
    const CTraceSearch* m_search = nullptr;
    qsizetype m_matchRow = -1;
    int m_matchColumn = -1;
    bool m_following = true;
    bool m_showTimes = false;
    bool m_initialized = false;
    bool m_selecting = false;
    bool m_updatePosted = false;
    bool m_inGeometries = false;
    bool m_bottomPending = false;
};
