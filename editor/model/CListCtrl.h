#pragma once

// Qt
#include <QAbstractTableModel>
#include <QByteArray>
#include <QPointer>
#include <QVector>

#include <array>

class QItemSelectionModel;

// What the record operations need of the widget that shows the list: scrolling, the rows on
// one page and text widths in the list's font. Without a view, defaults apply.
class IListViewport
{
public:
    virtual ~IListViewport() = default;
    virtual int TopIndex() const = 0;
    virtual int CountPerPage() const = 0;
    virtual void EnsureVisible(int row) = 0;
    virtual int TextWidth(const QString& text) const = 0;
    // Resizes the frame so that 20 rows and all columns fit.
    virtual void ResizeFrameToFit() = 0;
};

// The list control of the main view: the one store of the records. Each row has six byte
// string cells (tag, group, pseudo group, detector, Text 1, Text 2); columns carry a header
// and a width (0 = hidden). Item views show it through the table model interface.
class CListCtrl : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum { CellCount = 6 };
    // Item data role giving the column width in pixels (header data, horizontal).
    enum { WidthRole = Qt::UserRole + 1, BytesRole = Qt::UserRole + 2 };

    explicit CListCtrl(QObject* parent = nullptr);

    // table model: data access
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // list control: rows
    int GetItemCount() const { return int(m_rows.size()); }
    QByteArray GetItemText(int row, int column) const;
    bool SetItemText(int row, int column, const QByteArray& text);
    // Inserts an empty row at row (clamped to the row count); returns its index.
    int InsertItem(int row);
    // Inserts a row with its six cells at once (one notification); returns its index.
    int InsertItem(int row, const std::array<QByteArray, CellCount>& cells);
    bool DeleteItem(int row);
    void DeleteAllItems();

    // Many changes at once (loading, reading, importing): between BeginBatch and EndBatch the
    // views get no notice per row but one reset at the end. Batches nest.
    void BeginBatch();
    void EndBatch();
    bool InBatch() const { return m_batchDepth > 0; }

    // list control: columns
    int InsertColumn(int column, const QString& header, int width);
    void DeleteAllColumns();
    int GetColumnCount() const { return int(m_columns.size()); }
    int GetColumnWidth(int column) const;
    QString GetColumnHeader(int column) const;

    // list control: style and view state
    void SetLabelEdit(bool on) { m_labelEdit = on; }
    bool LabelEdit() const { return m_labelEdit; }
    void SetSelectionModel(QItemSelectionModel* selection);
    bool IsSelected(int row) const;
    void SetViewport(IListViewport* viewport) { m_viewport = viewport; }
    IListViewport* Viewport() const { return m_viewport; }
    int GetTopIndex() const;
    int GetCountPerPage() const;
    void EnsureVisible(int row);
    int GetStringWidth(const QString& text) const;

private:
    struct ColumnInfo
    {
        QString header;
        int width = 0;
    };
    using Row = std::array<QByteArray, CellCount>;

    QVector<Row> m_rows;
    QVector<ColumnInfo> m_columns;
    bool m_labelEdit = true;
    QPointer<QItemSelectionModel> m_selection;
    IListViewport* m_viewport = nullptr;
    int m_batchDepth = 0;
};

// Keeps the list in one batch for its lifetime.
class CListBatch
{
public:
    explicit CListBatch(CListCtrl& list) : m_list(list) { m_list.BeginBatch(); }
    ~CListBatch() { m_list.EndBatch(); }
    CListBatch(const CListBatch&) = delete;
    CListBatch& operator=(const CListBatch&) = delete;

private:
    CListCtrl& m_list;
};
