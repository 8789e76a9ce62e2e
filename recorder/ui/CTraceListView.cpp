#include "CTraceListView.h"

#include "CLineprobeDoc.h"
#include "CTraceSearch.h"

// Qt
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QUrl>

#include <limits>

namespace {

// The room right of the last column looks like an empty column heading, as list views show
// it, instead of a bare band beside the heading.
class TraceHeader : public QHeaderView
{
public:
    using QHeaderView::QHeaderView;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QHeaderView::paintEvent(event);
        if (count() == 0)
            return;
        const int end = sectionViewportPosition(count() - 1) + sectionSize(count() - 1);
        if (end >= viewport()->width())
            return;
        QPainter painter(viewport());
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.rect = QRect(end, 0, viewport()->width() - end, viewport()->height());
        option.position = QStyleOptionHeader::End;
        style()->drawControl(QStyle::CE_Header, &option, &painter, this);
    }
};

} // namespace

CTraceListView::CTraceListView(CRecordingSession& session, const Look& look, QWidget* parent)
    : QAbstractItemView(parent), m_session(session), m_look(look),
      m_model(new CTraceListModel(session.Lines(look.view), look.heading, this)),
      m_header(new TraceHeader(Qt::Horizontal, this))
{
    setModel(m_model);
    setWindowTitle(look.caption);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_header->setModel(m_model);
    m_header->setSectionsClickable(false);
    m_header->setHighlightSections(false);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_header->setStretchLastSection(false);
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    connect(m_header, &QHeaderView::sectionResized, this, [this] {
        updateGeometries();
        viewport()->update();
    });
    m_rowHeight = fontMetrics().height() + 2;
    // At the end (by the user's scrolling or the view's own) the view follows; away from it
    // it holds. A range that grows under a held view leaves the value and so the hold.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { SetFollowing(value >= verticalScrollBar()->maximum()); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CTraceListView::OnSelectionChanged);
    connect(&session, &CRecordingSession::LinesAppended, this, &CTraceListView::OnLinesAppended);
    connect(&session, &CRecordingSession::ListReset, this, [this](LineRules::View view) {
        if (view == m_look.view)
            m_model->Reset();
    });
    session.Doc().AddView(this);
}

void CTraceListView::Notify(long hint, const QVariant& arg)
{
    m_session.Doc().UpdateAllViews(this, hint, arg);
}

void CTraceListView::OnUpdate(CView*, long hint, const QVariant& arg)
{
    if (hint == HintSelect)
        SelectItem(arg.toInt());
}

void CTraceListView::OnLinesAppended(LineRules::View view, const CLineIndex::Change& change,
                                     CRecordingSession::Append what)
{
    if (view != m_look.view)
        return;
    m_model->Announce(change);
    // Port error lines are what the technician must see: they bring the view back to the end
    // even where it was scrolled away.
    if (what == CRecordingSession::Append::PortError)
        Follow();
    else
        ScrollToEnd();
}

void CTraceListView::OnInitialUpdate()
{
    m_initialized = true;
    QFont courier = font();
    courier.setFamily(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(courier).fixedPitch()) {
        const int points = courier.pointSize();
        courier = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        if (points > 0)
            courier.setPointSize(points);
    }
    setFont(courier);
    const QFontMetrics metrics(courier);
    m_rowHeight = metrics.height() + 2;
    setColumnWidth(0, metrics.horizontalAdvance(QString(m_look.widthBlanks, QLatin1Char(' '))));
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    m_session.LoadList(m_look.view);
}

void CTraceListView::showEvent(QShowEvent* event)
{
    if (!m_initialized)
        OnInitialUpdate();
    QAbstractItemView::showEvent(event);
    UpdateCaption();
}

void CTraceListView::UpdateCaption()
{
    if (windowTitle() != m_look.caption)
        setWindowTitle(m_look.caption);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        if (sub->windowTitle() != m_look.caption)
            sub->setWindowTitle(m_look.caption);
    if (!Doc()->tracePath.isEmpty())
        Doc()->UpdateTitle();
}

void CTraceListView::focusInEvent(QFocusEvent* event)
{
    QAbstractItemView::focusInEvent(event);
    UpdateCaption();
}

void CTraceListView::focusOutEvent(QFocusEvent* event)
{
    QAbstractItemView::focusOutEvent(event);
    UpdateCaption();
}

void CTraceListView::paintEvent(QPaintEvent* event)
{
    UpdateCaption();
    QPainter painter(viewport());
    painter.setClipRect(event->rect());
    const int rows = m_model->rowCount();
    const int first = verticalScrollBar()->value();
    const int last = qMin<qint64>(rows, qint64(first) + viewport()->height() / m_rowHeight + 2);
    const int width = columnWidth(0);
    const int left = -horizontalOffset();
    // Only the characters that can be in sight are rendered.
    const int charWidth = CharWidth();
    const qsizetype maxChars =
        qMin(width, horizontalOffset() + viewport()->width()) / charWidth + 2;
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const QColor red(255, 0, 0);
    PaintMatches(painter, first, last, left, margin);
    for (int row = first; row < last; ++row) {
        const QRect rect(left, (row - first) * m_rowHeight, width, m_rowHeight);
        if (!rect.intersects(event->rect()))
            continue;
        const bool selected = selectionModel()->isRowSelected(row, QModelIndex());
        if (selected && !m_search)
            painter.fillRect(rect, palette().brush(group, QPalette::Highlight));
        QColor color = palette().color(group, selected && !m_search ? QPalette::HighlightedText
                                                                    : QPalette::Text);
        if (m_model->IsMarked(row))
            color = red;
        painter.setPen(color);
        painter.drawText(rect.adjusted(margin, 0, -margin, 0),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         ShownText(row, maxChars));
    }
}

int CTraceListView::PrefixChars() const
{
    return ShowsTimes() ? int(CChunkTimes::TimeText(0).size()) + 1 : 0;
}

QString CTraceListView::ShownText(int row, qsizetype maxChars) const
{
    const int prefix = PrefixChars();
    if (prefix == 0)
        return m_model->DisplayText(row, maxChars);
    const auto time = m_session.LineTime(m_look.view, row);
    const QString head =
        time ? CChunkTimes::TimeText(*time) + QLatin1Char(' ') : QString(prefix, QLatin1Char(' '));
    return head +
           m_model->DisplayText(row, maxChars < 0 ? -1 : qMax<qsizetype>(0, maxChars - prefix));
}

void CTraceListView::SetShowTimes(bool show)
{
    if (show == m_showTimes)
        return;
    // The column grows or shrinks by the prefix, so the text keeps its room.
    m_showTimes = show;
    const int chars = int(CChunkTimes::TimeText(0).size()) + 1;
    setColumnWidth(0, columnWidth(0) + (show ? chars : -chars) * CharWidth());
    updateGeometries();
    viewport()->update();
}

int CTraceListView::CharWidth() const
{
    return qMax(1, fontMetrics().horizontalAdvance(QLatin1Char(' ')));
}

void CTraceListView::PaintMatches(QPainter& painter, int first, int last, int left, int margin)
{
    if (!m_search)
        return;
    // The text is laid out with the font's exact advance, which may be a fraction of a pixel.
    const qreal charWidth = QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' '));
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    // While searching, a selected row is framed, so that its matches stay readable.
    for (int row = first; row < last; ++row) {
        if (selectionModel()->isRowSelected(row, QModelIndex())) {
            painter.fillRect(QRect(left, (row - first) * m_rowHeight, columnWidth(0), m_rowHeight),
                             palette().color(group, QPalette::Highlight).lighter(170));
        }
    }
    const auto [begin, end] = m_search->InRows(first, last - 1);
    for (qsizetype i = begin; i < end; ++i) {
        const CTraceSearch::Match& m = m_search->Matches()[size_t(i)];
        const bool current = m.row == m_matchRow && m.column == m_matchColumn;
        painter.fillRect(QRectF(left + margin + (m.column + PrefixChars()) * charWidth,
                                qreal(m.row - first) * m_rowHeight, m.length * charWidth,
                                m_rowHeight),
                         current ? QColor(255, 150, 0) : QColor(255, 235, 60));
    }
}

void CTraceListView::SetHighlights(const CTraceSearch* search, qsizetype row, int column)
{
    m_search = search;
    m_matchRow = row;
    m_matchColumn = column;
    viewport()->update();
}

void CTraceListView::ShowColumn(int column, int length)
{
    const int charWidth = CharWidth();
    column += PrefixChars();
    const int x = column * charWidth;
    const int right = (column + length + 2) * charWidth;
    QScrollBar* bar = horizontalScrollBar();
    if (x < bar->value())
        bar->setValue(x);
    else if (right > bar->value() + viewport()->width())
        bar->setValue(right - viewport()->width());
}

int CTraceListView::columnWidth(int column) const
{
    return m_header->sectionSize(column);
}

void CTraceListView::setColumnWidth(int column, int width)
{
    m_header->resizeSection(column, width);
}

int CTraceListView::VisibleRows() const
{
    return qMax(1, viewport()->height() / m_rowHeight);
}

void CTraceListView::UpdateScrollRanges()
{
    const int rows = m_model->rowCount();
    const int visible = VisibleRows();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setRange(0, qMax(0, rows - visible));
    const int width = viewport()->width();
    horizontalScrollBar()->setSingleStep(
        qMax(1, fontMetrics().horizontalAdvance(QLatin1Char(' '))));
    horizontalScrollBar()->setPageStep(width);
    horizontalScrollBar()->setRange(0, qMax(0, columnWidth(0) - width));
}

void CTraceListView::updateGeometries()
{
    if (m_inGeometries)
        return;
    m_inGeometries = true;
    const int headerHeight = m_header->isHidden() ? 0 : m_header->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);
    m_header->setOffset(horizontalScrollBar()->value());
    UpdateScrollRanges();
    QAbstractItemView::updateGeometries();
    m_inGeometries = false;
}

void CTraceListView::ScheduleUpdate(bool toBottom)
{
    m_bottomPending = m_bottomPending || toBottom;
    if (m_updatePosted)
        return;
    m_updatePosted = true;
    QMetaObject::invokeMethod(
        this, [this] { RunScheduledUpdate(); }, Qt::QueuedConnection);
}

void CTraceListView::RunScheduledUpdate()
{
    m_updatePosted = false;
    UpdateScrollRanges();
    if (m_bottomPending) {
        m_bottomPending = false;
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    }
    viewport()->update();
}

void CTraceListView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    ScheduleUpdate(false);
}

void CTraceListView::scrollToTop()
{
    m_bottomPending = false;
    UpdateScrollRanges();
    verticalScrollBar()->setValue(0);
}

void CTraceListView::scrollToBottom()
{
    UpdateScrollRanges();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void CTraceListView::scrollContentsBy(int, int)
{
    // Rows are painted from the scroll values; nothing is moved by pixels.
    m_header->setOffset(horizontalScrollBar()->value());
    viewport()->update();
}

void CTraceListView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        m_rowHeight = fontMetrics().height() + 2;
        updateGeometries();
        viewport()->update();
    }
    QAbstractItemView::changeEvent(event);
}

void CTraceListView::resizeEvent(QResizeEvent* event)
{
    QAbstractItemView::resizeEvent(event);
    updateGeometries();
}

QRect CTraceListView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != m_model || index.row() >= m_model->rowCount())
        return QRect();
    const qint64 y = qint64(index.row() - verticalScrollBar()->value()) * m_rowHeight;
    if (y < -m_rowHeight || y > viewport()->height() + m_rowHeight)
        return QRect(); // far outside; the coordinates would not fit
    return QRect(-horizontalOffset(), int(y), columnWidth(0), m_rowHeight);
}

void CTraceListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid() || index.row() >= m_model->rowCount())
        return;
    m_bottomPending = false;
    UpdateScrollRanges();
    const int row = index.row();
    const int first = verticalScrollBar()->value();
    const int visible = VisibleRows();
    switch (hint) {
    case PositionAtTop:
        verticalScrollBar()->setValue(row);
        break;
    case PositionAtBottom:
        verticalScrollBar()->setValue(row - visible + 1);
        break;
    case PositionAtCenter:
        verticalScrollBar()->setValue(row - visible / 2);
        break;
    case EnsureVisible:
        if (row < first)
            verticalScrollBar()->setValue(row);
        else if (row >= first + visible)
            verticalScrollBar()->setValue(row - visible + 1);
        break;
    }
    viewport()->update();
}

QModelIndex CTraceListView::indexAt(const QPoint& point) const
{
    // The whole width of a row selects it, as far as the column reaches.
    if (point.y() < 0 || point.x() < 0)
        return QModelIndex();
    const qint64 row = verticalScrollBar()->value() + point.y() / m_rowHeight;
    if (row >= m_model->rowCount())
        return QModelIndex();
    return m_model->index(int(row));
}

QModelIndex CTraceListView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int rows = m_model->rowCount();
    if (rows == 0)
        return QModelIndex();
    const QModelIndex current = currentIndex();
    qint64 row = current.isValid() ? current.row() : verticalScrollBar()->value() - 1;
    switch (action) {
    case MoveUp:
    case MovePrevious:
        --row;
        break;
    case MoveDown:
    case MoveNext:
        ++row;
        break;
    case MovePageUp:
        row -= VisibleRows();
        break;
    case MovePageDown:
        row += VisibleRows();
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        horizontalScrollBar()->triggerAction(action == MoveLeft
                                                 ? QAbstractSlider::SliderSingleStepSub
                                                 : QAbstractSlider::SliderSingleStepAdd);
        return current;
    }
    return m_model->index(int(qBound(qint64(0), row, qint64(rows - 1))));
}

int CTraceListView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int CTraceListView::verticalOffset() const
{
    return int(qMin<qint64>(qint64(verticalScrollBar()->value()) * m_rowHeight,
                            std::numeric_limits<int>::max()));
}

void CTraceListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    const int rows = m_model->rowCount();
    const QRect r = rect.normalized();
    const qint64 first = verticalScrollBar()->value();
    const qint64 top = qMax<qint64>(0, first + qMax(0, r.top()) / m_rowHeight);
    const qint64 bottom = qMin<qint64>(rows - 1, first + qMax(0, r.bottom()) / m_rowHeight);
    QItemSelection selection;
    if (top <= bottom)
        selection.select(m_model->index(int(top)), m_model->index(int(bottom)));
    selectionModel()->select(selection, command);
}

QRegion CTraceListView::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    const int first = verticalScrollBar()->value();
    const int last = first + VisibleRows() + 1;
    for (const QItemSelectionRange& range : selection) {
        const int top = qMax(range.top(), first);
        const int bottom = qMin(range.bottom(), last);
        if (top > bottom)
            continue;
        region += QRect(0, (top - first) * m_rowHeight, viewport()->width(),
                        (bottom - top + 1) * m_rowHeight);
    }
    return region;
}

void CTraceListView::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex item = m_model->index(row);
    selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    scrollTo(item);
}

void CTraceListView::ScrollToEnd()
{
    ScheduleUpdate(m_following);
}

void CTraceListView::SetFollowing(bool following)
{
    if (following == m_following)
        return;
    m_following = following;
    emit FollowingChanged(following);
}

void CTraceListView::Follow()
{
    SetFollowing(true);
    ScheduleUpdate(true);
}

void CTraceListView::keyPressEvent(QKeyEvent* event)
{
    QAbstractItemView::keyPressEvent(event);
    // End selects the last line and follows the end from there.
    if (event->key() == Qt::Key_End)
        Follow();
}

void CTraceListView::SelectItem(int index)
{
    if (index < 0 || index >= ItemCount())
        return;
    const QModelIndex item = m_model->index(index);
    m_selecting = true;
    selectionModel()->select(item, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selectionModel()->setCurrentIndex(item, QItemSelectionModel::NoUpdate);
    m_selecting = false;
    scrollTo(item);
}

void CTraceListView::OnSelectionChanged()
{
    if (m_selecting)
        return;
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    // A line the user selects stays where it is while more come.
    SetFollowing(false);
    Notify(HintSelect, rows.first().row());
}

QString CTraceListView::DroppedListFile(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls())
        return QString();
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return QString();
    const QString path = urls.first().toLocalFile();
    // Only the exact lowercase extensions count.
    if (!path.endsWith(QLatin1String(".tvs")) && !path.endsWith(QLatin1String(".tvh")))
        return QString();
    return path;
}

void CTraceListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedListFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CTraceListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DroppedListFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CTraceListView::dropEvent(QDropEvent* event)
{
    const QString path = DroppedListFile(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    m_session.OpenList(path);
}
