#include "CListRowDelegate.h"

#include "CCellEdit.h"
#include "CRecordList.h"
#include "CListEditView.h"
#include "ProjectTypes.h"
#include "TextFormats.h"

// Qt
#include <QKeyEvent>
#include <QPainter>

const QColor CListRowDelegate::kMarkColour(255, 255, 0);

CListRowDelegate::CListRowDelegate(CListEditView* view) : QStyledItemDelegate(view), m_view(view) {}

bool CListRowDelegate::Marked(const QByteArray& tag, int column)
{
    const TextFormats::Format* format = TextFormats::OfTag(tag);
    return format && column >= format->firstMarkedColumn;
}

void CListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const QAbstractItemModel* model = index.model();
    const QByteArray tag = model->index(index.row(), 0).data(CRecordList::BytesRole).toByteArray();
    const bool highlighted = (option.state & QStyle::State_Selected) && m_view->EditColumn() == -1;
    const QPalette& palette = m_view->palette();

    QColor background;
    QColor text;
    if (highlighted) {
        background = palette.color(QPalette::Active, QPalette::Highlight);
        text = palette.color(QPalette::Active, QPalette::HighlightedText);
    } else {
        background = Marked(tag, index.column()) ? kMarkColour : palette.color(QPalette::Base);
        text = palette.color(QPalette::Text);
    }
    painter->fillRect(option.rect, background);

    // Column 0 (the tag) is never shown, only used for the marks.
    if (index.column() == Column::Tag || option.rect.width() <= 12)
        return;
    const QRect textRect = option.rect.adjusted(6, 0, -6, 0);
    painter->save();
    painter->setFont(m_view->ListFont());
    painter->setPen(text);
    const QFontMetrics metrics(m_view->ListFont());
    const QString cell =
        CListEditView::FitTextToWidth(index.data().toString(), textRect.width(), metrics);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, cell);
    painter->restore();
}

QWidget* CListRowDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const
{
    CCellEdit* edit = m_view->BeginCellEdit(parent, index);
    if (edit)
        edit->installEventFilter(const_cast<CListRowDelegate*>(this));
    return edit;
}

void CListRowDelegate::setEditorData(QWidget*, const QModelIndex&) const
{
    // The view filled the box when it opened it; a later model change must not overwrite it.
}

void CListRowDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                    const QModelIndex& index) const
{
    // The row may move or vanish when the edit is stored, so the view stores it only after
    // the box is closed.
    if (auto* edit = qobject_cast<CCellEdit*>(editor))
        m_view->SetPendingEdit(edit->text(), index.row());
}

void CListRowDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const
{
    // The cell's left edge and width; one pixel above the row, at the box's own height.
    QRect rect = option.rect;
    const int height = qMax(rect.height() + 2, editor->sizeHint().height());
    rect.setTop(rect.top() - 1);
    rect.setHeight(height);
    editor->setGeometry(rect);
}

void CListRowDelegate::CommitAndClose(QWidget* editor)
{
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool CListRowDelegate::eventFilter(QObject* object, QEvent* event)
{
    // The standard filter would move to the next cell on Tab; the box swallows it instead,
    // and hands Up and Down to the list.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return true;
        if (CCellEdit::IsListKey(key->key())) {
            if (auto* edit = qobject_cast<CCellEdit*>(object))
                edit->ForwardKey(key->key());
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
