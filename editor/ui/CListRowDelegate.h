#pragma once

// Qt
#include <QStyledItemDelegate>

class CListEditView;

// Paints the cells of a list row (selection or the format's yellow, texts cut with "...")
// and opens the in-place edit box of a cell for the view.
class CListRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static const QColor kMarkColour;

    explicit CListRowDelegate(CListEditView* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // Ends the open edit as if the box lost the focus: its text is stored.
    void CommitAndClose(QWidget* editor);

    // Whether a cell of a row with this tag is painted yellow.
    static bool Marked(const QByteArray& tag, int column);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    CListEditView* m_view;
};
