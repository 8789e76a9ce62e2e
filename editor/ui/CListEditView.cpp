#include "CListEditView.h"

#include "CCellEdit.h"
#include "CListRowDelegate.h"
#include "CodePage.h"
#include "ProjectRules.h"
#include "ProjectTypes.h"
#include "TextFormats.h"

// Qt
#include <QApplication>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>

CListEditView::CListEditView(QWidget* parent) : QTableView(parent)
{
    m_delegate = new CListRowDelegate(this);
    setItemDelegate(m_delegate);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSortIndicatorShown(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    InitialSetup();
}

CListEditView::~CListEditView() = default;

void CListEditView::SetList(CRecordList* list, ProjectData* data)
{
    m_data = data;
    if (m_list == list)
        return;
    if (m_list)
        m_list->disconnect(this);
    m_list = list;
    setModel(list);
    if (!list)
        return;
    connect(list, &QAbstractItemModel::headerDataChanged, this, &CListEditView::ColumnsChanged);
    connect(list, &QAbstractItemModel::rowsInserted, this, &CListEditView::RowsChanged);
    connect(list, &QAbstractItemModel::rowsRemoved, this, &CListEditView::RowsChanged);
    connect(list, &QAbstractItemModel::modelReset, this, &CListEditView::RowsChanged);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateStatusPanes(0); });
    ApplyListWidths();
    RowsChanged();
}

void CListEditView::InitialSetup()
{
    m_editColumn = -1;
    m_clientWidth = 0;
    m_scrollBarWidened = false;
    m_listFont = QFont(QStringLiteral("Courier"));
    m_listFont.setStyleHint(QFont::TypeWriter);
    m_listFont.setFixedPitch(true);
    const QFont headerFont = QApplication::font(this);
    m_listFont.setPointSizeF(headerFont.pointSizeF());
    setFont(m_listFont);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(m_listFont).height() + 4);
    horizontalHeader()->setFont(headerFont);
}

void CListEditView::ApplyListWidths()
{
    m_columnWidths.fill(0, CRecordList::CellCount);
    if (!m_list)
        return;
    const int margin = TextWidth(QStringLiteral("WW"));
    for (int c = 0; c < CRecordList::CellCount; ++c) {
        const QStringList samples =
            m_list->headerData(c, Qt::Horizontal, CRecordList::WidthSamplesRole).toStringList();
        int width = 0;
        for (const QString& sample : samples)
            width = qMax(width, TextWidth(sample) + margin);
        m_columnWidths[c] = width;
        setColumnWidth(c, width);
    }
}

void CListEditView::ColumnsChanged()
{
    if (m_list && m_list->ColumnsShown())
        ResizeFrameToFit();
    else
        ApplyListWidths();
}

int CListEditView::GetFirstSelected() const
{
    if (!m_list)
        return -1;
    const int top = TopIndex();
    const int last = qMin(m_list->GetCount() - 1, top + CountPerPage() + 1);
    for (int r = qMax(0, top); r <= last; ++r)
        if (selectionModel()->isRowSelected(r, QModelIndex()))
            return r;
    return -1;
}

QString CListEditView::FitTextToWidth(const QString& text, int width, const QFontMetrics& metrics)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString dots = QStringLiteral("...");
    for (int n = int(text.size()) - 1; n > 0; --n) {
        const QString cut = text.left(n) + dots;
        if (metrics.horizontalAdvance(cut) <= width)
            return cut;
    }
    return metrics.horizontalAdvance(dots) <= width ? dots : QString();
}

void CListEditView::UpdateStatusPanes(int delta)
{
    if (!m_status || !m_list)
        return;
    const QModelIndex current = currentIndex();
    m_status->currentPosition = (current.isValid() ? current.row() + 1 : 0) + delta;
    m_status->messageCount = m_list->GetCount() + delta;
}

CCellEdit* CListEditView::BeginCellEdit(QWidget* parent, const QModelIndex& index)
{
    if (!m_list || !m_data || !index.isValid() || !(m_list->flags(index) & Qt::ItemIsEditable))
        return nullptr;
    const int column = index.column();
    // A hidden column cannot be edited.
    if (column != 0 && columnWidth(column) == 0)
        return nullptr;
    m_editColumn = column;
    auto* edit = new CCellEdit(parent);
    edit->SetKeyForwarder([this](int key) { ForwardListKey(key); });
    QByteArray text = m_list->GetItemText(index.row(), column);
    switch (column) {
    case Column::Group:
        if (ProjectRules::CardGroupsAllowed(*m_data)) {
            edit->SetMode(CMaskEdit::GroupOrCard);
            edit->SetGroupDigits(m_data->groupDigits);
        } else {
            edit->SetMode(CMaskEdit::Digits);
        }
        edit->SetLimitText(qMax(1, m_data->groupDigits));
        break;
    case Column::PseudoGroup:
        edit->SetMode(CMaskEdit::Digits);
        edit->SetLimitText(qMax(1, m_data->pseudoGroupDigits));
        break;
    case Column::Detector:
        edit->SetMode(CMaskEdit::Digits);
        edit->SetLimitText(qMax(1, m_data->detectorDigits));
        break;
    case Column::Text1:
    case Column::Text2:
        while (text.endsWith(' '))
            text.chop(1);
        edit->SetMode(CMaskEdit::Text);
        edit->SetLimitText(
            qMax(1, column == Column::Text1 ? m_data->text1Length : m_data->text2Length));
        break;
    default:
        break;
    }
    edit->setText(FromCp1252(text));
    edit->setFont(m_listFont);
    edit->selectAll();
    m_cellEdit = edit;
    viewport()->update();
    return edit;
}

void CListEditView::SetPendingEdit(const QString& text, int row)
{
    m_hasPendingEdit = true;
    m_pendingText = text;
    m_pendingRow = row;
}

void CListEditView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    m_cellEdit = nullptr;
    if (!m_hasPendingEdit) {
        m_editColumn = -1;
        viewport()->update();
        return;
    }
    m_hasPendingEdit = false;
    EndCellEdit(m_pendingText, m_pendingRow);
}

void CListEditView::EndCellEdit(const QString& text, int row)
{
    if (!m_list || text.isEmpty() || m_editColumn < 0) {
        m_editColumn = -1;
        viewport()->update();
        return;
    }
    m_list->SetItemText(row, m_editColumn, ToCp1252(text));
    m_editColumn = -1;
    viewport()->update();
}

void CListEditView::ForwardListKey(int key)
{
    QWidget* editor = m_cellEdit;
    if (editor)
        m_delegate->CommitAndClose(editor);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QTableView::keyPressEvent(&press);
}

void CListEditView::SelectRow(int row)
{
    if (!m_list || row < 0 || row >= m_list->GetCount())
        return;
    const QModelIndex index = m_list->index(row, 1);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
}

void CListEditView::SelectRows(std::vector<int> rows)
{
    if (!m_list)
        return;
    const int count = m_list->GetCount();
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [count](int row) { return row < 0 || row >= count; }),
               rows.end());
    if (rows.empty())
        return;
    std::sort(rows.begin(), rows.end());
    // Runs of neighbouring rows as one range each: a whole list is one range, not 65,534.
    QItemSelection selection;
    const int last = m_list->columnCount() - 1;
    for (size_t from = 0, to = 0; from < rows.size(); from = ++to) {
        while (to + 1 < rows.size() && rows[to + 1] <= rows[to] + 1)
            ++to;
        selection.select(m_list->index(rows[from], 0), m_list->index(rows[to], last));
    }
    selectionModel()->setCurrentIndex(m_list->index(rows.front(), 1),
                                      QItemSelectionModel::NoUpdate);
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    EnsureVisible(rows.front());
}

int CListEditView::TopIndex() const
{
    const int row = rowAt(0);
    return row < 0 ? 0 : row;
}

int CListEditView::CountPerPage() const
{
    const int rowHeight = verticalHeader()->defaultSectionSize();
    return rowHeight > 0 ? qMax(1, viewport()->height() / rowHeight) : 1;
}

void CListEditView::EnsureVisible(int row)
{
    // One scroll per event-loop turn, after the rows of a batch are known to the view.
    const bool scheduled = m_pendingEnsure >= 0;
    m_pendingEnsure = row;
    if (scheduled)
        return;
    QTimer::singleShot(0, this, [this] {
        const int target = m_pendingEnsure;
        m_pendingEnsure = -1;
        if (m_list && target >= 0 && target < m_list->GetCount())
            scrollTo(m_list->index(target, 1));
    });
}

int CListEditView::TextWidth(const QString& text) const
{
    return QFontMetrics(m_listFont).horizontalAdvance(text);
}

QSize CListEditView::sizeHint() const
{
    int width = 2 * frameWidth();
    for (int c = 0; c < CRecordList::CellCount; ++c)
        width += m_list ? m_columnWidths.value(c) : 80;
    if (m_scrollBarWidened)
        width += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height() +
                       20 * verticalHeader()->defaultSectionSize();
    return QSize(width, height);
}

void CListEditView::ResizeFrameToFit()
{
    ApplyListWidths();
    updateGeometry();
    QWidget* frame = window();
    if (frame == this || frame->isMaximized() || frame->isFullScreen())
        return;
    // The frame grows or shrinks by what the list lacks or has too much.
    const QSize wanted = sizeHint();
    const QSize have = frame->isVisible() ? size() : QSize();
    if (have.isValid() && !have.isEmpty()) {
        // Never narrower than the frame's own bars need (menu, status panes).
        QSize target = frame->size() + (wanted - have);
        target.setWidth(qMax(target.width(), frame->sizeHint().width()));
        frame->resize(target);
    } else {
        frame->adjustSize();
    }
}

void CListEditView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (!m_list)
        return;

    // The focus rectangle goes round the whole row.
    const QModelIndex current = currentIndex();
    if (current.isValid() && hasFocus() && m_editColumn == -1) {
        QRect row = visualRect(m_list->index(current.row(), 0));
        row.setLeft(0);
        row.setRight(viewport()->width() - 1);
        QPainter painter(viewport());
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = row.adjusted(0, 0, 0, -1);
        option.backgroundColor = palette().color(QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }

    UpdateStatusPanes(0);
    if (m_editColumn != -1)
        return;
    // The tag column and, unless the rows shown are pseudo group rows, the pseudo group column
    // stay hidden even when their header was dragged wider.
    if (columnWidth(0) != 0)
        setColumnWidth(0, 0);
    const int first = rowAt(0);
    int last = rowAt(viewport()->height() - 1);
    if (last < 0)
        last = m_list->GetCount() - 1;
    bool onlyPseudo = true;
    for (int r = qMax(0, first); first >= 0 && r <= last && onlyPseudo; ++r) {
        const TextFormats::Format* format = TextFormats::OfTag(m_list->GetItemText(r, Column::Tag));
        onlyPseudo = format && format->pseudoGroup;
    }
    if (first >= 0 && !onlyPseudo && columnWidth(2) != 0)
        setColumnWidth(2, 0);
}

void CListEditView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    m_clientWidth = viewport()->width();
    ScheduleScrollBarCheck();
}

void CListEditView::focusInEvent(QFocusEvent* event)
{
    // The item view would make the first row the focused one; the list keeps no focused row
    // until the user picks one, so the position reads 0.
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CListEditView::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void CListEditView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    UpdateStatusPanes(0);
    // The focus rectangle spans the row; repaint both rows whole.
    viewport()->update();
}

void CListEditView::RowsChanged()
{
    UpdateStatusPanes(0);
    ScheduleScrollBarCheck();
}

void CListEditView::ScheduleScrollBarCheck()
{
    if (m_scrollCheckPending)
        return;
    m_scrollCheckPending = true;
    QTimer::singleShot(0, this, &CListEditView::CheckScrollBar);
}

void CListEditView::CheckScrollBar()
{
    m_scrollCheckPending = false;
    if (!m_list)
        return;
    QWidget* frame = window();
    if (frame == this || !frame->isVisible() || frame->isMaximized() || frame->isFullScreen())
        return;
    const bool overflow = m_list->GetCount() > CountPerPage();
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    if (overflow && !m_scrollBarWidened) {
        m_scrollBarWidened = true;
        frame->resize(frame->width() + extent, frame->height());
    } else if (!overflow && m_scrollBarWidened) {
        m_scrollBarWidened = false;
        frame->resize(frame->width() - extent, frame->height());
    }
}
