#include "CFindReplaceDlg.h"

#include "RecordSearch.h"

// Qt
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const int kGap = 8;

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

CFindReplaceDlg::CFindReplaceDlg(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("CFindReplaceDlg"));
    setModal(false);
    auto* form = new QGridLayout;
    auto row = [this, form](const QString& text, QWidget* field) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        const int r = form->rowCount();
        form->addWidget(label, r, 0);
        form->addWidget(field, r, 1);
        return label;
    };
    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("findText"));
    row(U("&Suchen nach:"), m_find);
    m_replace = new QLineEdit(this);
    m_replace->setObjectName(QStringLiteral("replaceText"));
    m_replaceLabel = row(U("Ersetzen &durch:"), m_replace);
    m_scope = new QComboBox(this);
    m_scope->setObjectName(QStringLiteral("scope"));
    row(U("&Bereich:"), m_scope);
    m_matchCase = new QCheckBox(U("&Groß-/Kleinschreibung beachten"), this);
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    form->addWidget(m_matchCase, form->rowCount(), 0, 1, 2);
    form->setRowStretch(form->rowCount(), 1);
    m_find->setMinimumWidth(m_find->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 20);

    auto* buttons = new QVBoxLayout;
    auto button = [this, buttons](const char* text, const char* name) {
        auto* b = new QPushButton(U(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    m_next = button("&Weitersuchen", "findNext");
    m_next->setDefault(true);
    m_previous = button("&Rückwärts suchen", "findPrevious");
    m_replaceOne = button("&Ersetzen", "replaceOne");
    m_replaceAll = button("&Alle ersetzen", "replaceAll");
    QPushButton* close = button("S&chließen", "close");
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);

    connect(m_next, &QPushButton::clicked, this, [this] { emit findNext(true); });
    connect(m_previous, &QPushButton::clicked, this, [this] { emit findNext(false); });
    connect(m_replaceOne, &QPushButton::clicked, this, &CFindReplaceDlg::replaceOne);
    connect(m_replaceAll, &QPushButton::clicked, this, &CFindReplaceDlg::replaceAll);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_find, &QLineEdit::textChanged, this, &CFindReplaceDlg::UpdateButtons);
    SetReplaceMode(false);
}

void CFindReplaceDlg::SetColumns(const QList<QPair<int, QString>>& columns)
{
    const int chosen = Scope();
    m_scope->clear();
    m_scope->addItem(U("Ganze Zeile"), int(RecordSearch::WholeRow));
    for (const auto& column : columns)
        m_scope->addItem(column.second, column.first);
    const int index = m_scope->findData(chosen);
    m_scope->setCurrentIndex(index < 0 ? 0 : index);
}

void CFindReplaceDlg::SetReplaceMode(bool replace)
{
    m_replaceMode = replace;
    setWindowTitle(replace ? U("Ersetzen") : U("Suchen"));
    m_replaceLabel->setVisible(replace);
    m_replace->setVisible(replace);
    m_replaceOne->setVisible(replace);
    m_replaceAll->setVisible(replace);
    UpdateButtons();
    adjustSize();
}

QString CFindReplaceDlg::FindText() const
{
    return m_find->text();
}

QString CFindReplaceDlg::ReplaceText() const
{
    return m_replace->text();
}

int CFindReplaceDlg::Scope() const
{
    return m_scope->count() > 0 ? m_scope->currentData().toInt() : int(RecordSearch::WholeRow);
}

bool CFindReplaceDlg::MatchCase() const
{
    return m_matchCase->isChecked();
}

void CFindReplaceDlg::UpdateButtons()
{
    const bool text = !m_find->text().isEmpty();
    for (QPushButton* b : {m_next, m_previous, m_replaceOne, m_replaceAll})
        b->setEnabled(text);
}

void CFindReplaceDlg::PlaceBeside(const QRect& owner, const QRect& row)
{
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    const QRect room = screen->availableGeometry();
    const QSize size = frameGeometry().size().expandedTo(sizeHint());
    // Right of the window, left of it, below it, above it: wherever the whole list stays in
    // sight. Only a window that leaves no room shares its place with the dialog.
    const QRect candidates[] = {
        QRect(QPoint(owner.right() + 1 + kGap, owner.top()), size),
        QRect(QPoint(owner.left() - kGap - size.width(), owner.top()), size),
        QRect(QPoint(owner.right() + 1 - size.width(), owner.bottom() + 1 + kGap), size),
        QRect(QPoint(owner.right() + 1 - size.width(), owner.top() - kGap - size.height()), size)};
    QPoint place(qMax(room.left(), room.right() + 1 - size.width()), qMax(room.top(), owner.top()));
    for (const QRect& candidate : candidates) {
        if (room.contains(candidate)) {
            place = candidate.topLeft();
            break;
        }
    }
    move(place);
    KeepClearOf(row);
}

void CFindReplaceDlg::KeepClearOf(const QRect& row)
{
    const QRect here = frameGeometry();
    if (row.isEmpty() || !here.intersects(row))
        return;
    const QRect room = screen()->availableGeometry();
    // Below the row when it fits, else above it.
    int top = row.bottom() + 1 + kGap;
    if (top + here.height() > room.bottom() + 1)
        top = qMax(room.top(), row.top() - kGap - here.height());
    move(here.left(), top);
}
