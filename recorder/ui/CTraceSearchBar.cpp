#include "CTraceSearchBar.h"

#include "CTraceListView.h"

// Qt
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

bool SameQuery(const CTraceSearch::Query& a, const CTraceSearch::Query& b)
{
    return a.kind == b.kind && a.pattern == b.pattern && a.ignoreCase == b.ignoreCase;
}

} // namespace

CTraceSearchBar::CTraceSearchBar(CRecordingSession& session, CTraceListView* ascii,
                                 CTraceListView* hex, QWidget* parent)
    : QWidget(parent), m_session(session), m_ascii(ascii), m_hex(hex), m_edit(new QLineEdit(this)),
      m_kind(new QComboBox(this)), m_ignoreCase(new QCheckBox(U("&Groß/klein egal"), this))
{
    setObjectName(QStringLiteral("searchBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(U("Suchen &nach:"), this);
    label->setBuddy(m_edit);
    m_edit->setPlaceholderText(U("Text oder Bytes (10 02)"));
    m_edit->setMinimumWidth(220);
    m_kind->addItem(U("Text (ASCII)"), int(CTraceSearch::Query::Text));
    m_kind->addItem(U("Bytes (hex)"), int(CTraceSearch::Query::Hex));
    auto* next = new QPushButton(U("&Weiter"), this);
    auto* previous = new QPushButton(U("&Zurück"), this);
    auto* close = new QToolButton(this);
    close->setText(U("✕"));
    close->setToolTip(U("Suche schließen (Esc)"));
    for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(m_edit),
                       static_cast<QWidget*>(m_kind), static_cast<QWidget*>(m_ignoreCase),
                       static_cast<QWidget*>(next), static_cast<QWidget*>(previous)})
        layout->addWidget(w);
    layout->addStretch(1);
    layout->addWidget(close);
    connect(m_edit, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(next, &QPushButton::clicked, this, [this] { FindNext(); });
    connect(previous, &QPushButton::clicked, this, [this] { FindPrevious(); });
    connect(close, &QToolButton::clicked, this, &CTraceSearchBar::Close);
    // The case matters only for a text.
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] {
        m_ignoreCase->setEnabled(m_kind->currentData().toInt() == CTraceSearch::Query::Text);
    });

    m_step.setSingleShot(true);
    m_step.setInterval(0);
    connect(&m_step, &QTimer::timeout, this, &CTraceSearchBar::Step);
    connect(&session, &CRecordingSession::LinesAppended, this,
            [this](LineRules::View view, const CLineIndex::Change& change) {
                OnLinesAppended(view, change);
            });
    connect(&session, &CRecordingSession::ListReset, this, [this](LineRules::View view) {
        if (!m_search.IsActive() || view != m_view)
            return;
        m_search.Invalidate(0);
        m_matchRow = -1;
        m_step.start();
    });
    hide();
}

void CTraceSearchBar::Open(CTraceListView* active)
{
    m_active = active;
    show();
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}

void CTraceSearchBar::Cancel()
{
    if (m_step.isActive() || m_pendingJump != 0) {
        // The search stops where it is; what it found so far stays marked.
        m_step.stop();
        m_pendingJump = 0;
        SetStatus(U("Suche abgebrochen – %1 Treffer bis Zeile %2")
                      .arg(QLocale().toString(qlonglong(m_search.Matches().size())))
                      .arg(QLocale().toString(qlonglong(m_search.Searched()))));
        return;
    }
    Close();
}

void CTraceSearchBar::Close()
{
    m_step.stop();
    m_pendingJump = 0;
    m_search.Stop();
    m_matchRow = -1;
    for (CTraceListView* view : {m_ascii, m_hex})
        view->SetHighlights(nullptr);
    SetStatus(QString());
    hide();
    if (CTraceListView* view = m_active ? m_active : m_ascii)
        view->setFocus();
}

void CTraceSearchBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Cancel();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & Qt::ShiftModifier)) {
        FindPrevious();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool CTraceSearchBar::ReadQuery(CTraceSearch::Query& query, QString& error) const
{
    query.kind = CTraceSearch::Query::Kind(m_kind->currentData().toInt());
    query.ignoreCase = query.kind == CTraceSearch::Query::Text && m_ignoreCase->isChecked();
    return query.kind == CTraceSearch::Query::Text
               ? CTraceSearch::ParseText(m_edit->text(), query.pattern, error)
               : CTraceSearch::ParseHex(m_edit->text(), query.pattern, error);
}

CTraceListView* CTraceSearchBar::SearchedView() const
{
    return m_view == LineRules::View::Ascii ? m_ascii : m_hex;
}

void CTraceSearchBar::Find(int direction)
{
    if (isHidden())
        show();
    CTraceSearch::Query query;
    QString error;
    if (!ReadQuery(query, error)) {
        SetStatus(error);
        return;
    }
    // A text is searched in the ASCII list, bytes in the active view's list.
    const LineRules::View view =
        query.kind == CTraceSearch::Query::Text
            ? LineRules::View::Ascii
            : (m_active == m_hex ? LineRules::View::Hex : LineRules::View::Ascii);
    if (!m_search.IsActive() || view != m_view || !SameQuery(query, m_search.CurrentQuery()))
        Restart(query, view);
    m_pendingJump = direction;
    if (m_search.IsComplete())
        Jump(direction);
    else
        m_step.start();
}

void CTraceSearchBar::Restart(const CTraceSearch::Query& query, LineRules::View view)
{
    m_view = view;
    m_search.Start(m_session.Lines(view), view, query);
    m_matchRow = -1;
    m_matchColumn = -1;
    SearchedView()->SetHighlights(&m_search);
    (view == LineRules::View::Ascii ? m_hex : m_ascii)->SetHighlights(nullptr);
}

void CTraceSearchBar::Step()
{
    if (!m_search.IsActive())
        return;
    if (!m_search.Continue(StepRows)) {
        const qsizetype rows = qMax<qsizetype>(1, m_session.Lines(m_view).Count());
        SetStatus(U("Suche läuft (%1 %) – Esc bricht ab").arg(m_search.Searched() * 100 / rows));
        m_step.start();
        return;
    }
    if (m_pendingJump != 0)
        Jump(m_pendingJump);
    else
        ShowCount(); // new lines of the recording: the count goes on
    SearchedView()->viewport()->update();
}

void CTraceSearchBar::Jump(int direction)
{
    m_pendingJump = 0;
    const std::vector<CTraceSearch::Match>& matches = m_search.Matches();
    if (matches.empty()) {
        m_matchRow = -1;
        SearchedView()->SetHighlights(&m_search);
        SetStatus(U("Kein Treffer"));
        return;
    }
    // From the current match when it is still selected, else from the selected line.
    CTraceListView* view = SearchedView();
    const QModelIndex selected = view->currentIndex();
    const bool onMatch =
        m_matchRow >= 0 && view->selectionModel()->isRowSelected(int(m_matchRow), QModelIndex());
    const qsizetype row = onMatch ? m_matchRow : (selected.isValid() ? selected.row() : -1);
    qsizetype index;
    if (direction > 0)
        index = m_search.Next(row, onMatch ? m_matchColumn : -1);
    else
        index = m_search.Previous(row < 0 ? qsizetype(INT_MAX) : row, onMatch ? m_matchColumn : 0);
    const CTraceSearch::Match& match = matches[size_t(index)];
    m_matchRow = match.row;
    m_matchColumn = match.column;
    view->SetHighlights(&m_search, m_matchRow, m_matchColumn);
    // Selecting as a click does couples the other view.
    view->selectRow(int(match.row));
    view->ShowColumn(match.column, match.length);
    ShowCount();
}

void CTraceSearchBar::ShowCount()
{
    const std::vector<CTraceSearch::Match>& matches = m_search.Matches();
    if (matches.empty()) {
        SetStatus(U("Kein Treffer"));
        return;
    }
    const auto at =
        std::lower_bound(matches.begin(), matches.end(), std::make_pair(m_matchRow, m_matchColumn),
                         [](const CTraceSearch::Match& m, const auto& p) {
                             return std::make_pair(m.row, m.column) < p;
                         });
    const QString total = QLocale().toString(qlonglong(matches.size()));
    if (at == matches.end() || at->row != m_matchRow || at->column != m_matchColumn)
        SetStatus(U("%1 Treffer").arg(total));
    else
        SetStatus(U("Treffer %1 von %2")
                      .arg(QLocale().toString(qlonglong(at - matches.begin()) + 1), total));
}

void CTraceSearchBar::OnLinesAppended(LineRules::View view, const CLineIndex::Change& change)
{
    if (!m_search.IsActive() || view != m_view)
        return;
    m_search.Invalidate(change.lastChanged ? change.firstAdded - 1 : change.firstAdded);
    if (!m_step.isActive())
        m_step.start();
}

void CTraceSearchBar::SetStatus(const QString& text)
{
    m_status = text;
    emit StatusChanged(text);
}
