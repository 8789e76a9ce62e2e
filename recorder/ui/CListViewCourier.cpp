#include "CListViewCourier.h"

#include "CLineprobeDoc.h"
#include "CMessages.h"
#include "ListFile.h"

// Qt
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>

CListViewCourier::CListViewCourier(CLineprobeDoc* doc, const Look& look, QWidget* parent)
    : QTableView(parent), m_doc(doc), m_look(look), m_model(new CTraceListModel(look.heading, this))
{
    setModel(m_model);
    setWindowTitle(look.caption);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setSortingEnabled(false);
    setTextElideMode(Qt::ElideNone);
    verticalHeader()->hide();
    // Fixed row heights keep a list of millions of rows cheap to lay out.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CListViewCourier::OnSelectionChanged);
    if (doc)
        doc->AddView(this);
}

void CListViewCourier::Notify(long hint, const QVariant& arg)
{
    if (m_doc)
        m_doc->UpdateAllViews(this, hint, arg);
}

void CListViewCourier::OnInitialUpdate()
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
    Clear();
    const QFontMetrics metrics(courier);
    verticalHeader()->setDefaultSectionSize(metrics.height() + 2);
    setColumnWidth(0, metrics.horizontalAdvance(QString(m_look.widthBlanks, QLatin1Char(' '))));
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    if (m_doc && !m_doc->tracePath.isEmpty())
        LoadList();
}

void CListViewCourier::showEvent(QShowEvent* event)
{
    if (!m_initialized)
        OnInitialUpdate();
    QTableView::showEvent(event);
    UpdateCaption();
}

void CListViewCourier::UpdateCaption()
{
    if (windowTitle() != m_look.caption)
        setWindowTitle(m_look.caption);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        if (sub->windowTitle() != m_look.caption)
            sub->setWindowTitle(m_look.caption);
    if (m_doc && !m_doc->tracePath.isEmpty())
        m_doc->UpdateTitle();
}

void CListViewCourier::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    UpdateCaption();
}

void CListViewCourier::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    UpdateCaption();
}

void CListViewCourier::paintEvent(QPaintEvent* event)
{
    UpdateCaption();
    QTableView::paintEvent(event);
}

void CListViewCourier::AppendLine(const QByteArray& line, bool scroll)
{
    m_model->AppendLine(line);
    if (scroll)
        ScrollToEnd();
}

void CListViewCourier::ScrollToEnd()
{
    if (m_scrollPending)
        return;
    m_scrollPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_scrollPending = false;
            scrollToBottom();
        },
        Qt::QueuedConnection);
}

void CListViewCourier::AppendChunkByRule(LineRules::Rule rule, const QByteArray& chunk)
{
    LineRules::Settings settings;
    if (m_doc) {
        settings.lineLength = m_doc->lineLength;
        settings.breakValue = m_doc->breakValue;
    }
    m_model->AppendChunk(m_look.view, rule, settings, chunk);
    ScrollToEnd();
}

void CListViewCourier::SelectItem(int index)
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

void CListViewCourier::OnSelectionChanged()
{
    if (m_selecting)
        return;
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (!rows.isEmpty())
        Notify(HintSelect, rows.first().row());
}

bool CListViewCourier::WriteList(const QString& path)
{
    return ListFile::Write(path, ItemCount(), [this](int i) { return m_model->ItemText(i); });
}

void CListViewCourier::LoadList()
{
    if (!m_doc || m_doc->tracePath.isEmpty())
        return;
    const QString path = ListFile::WithExtension(m_doc->tracePath, m_look.extension);
    CTraceLines lines;
    const ListFile::LoadResult result = ListFile::Load(
        path, m_look.view == LineRules::View::Ascii, [] {},
        [&lines](const QByteArray& line) { lines.Append(line); });
    if (result == ListFile::LoadResult::Loaded)
        m_model->Reset(std::move(lines));
}

bool CListViewCourier::SaveList()
{
    msg::FileDialog dialog;
    dialog.initialName = QStringLiteral("*.") + m_look.extension;
    dialog.defaultExt = m_look.extension;
    dialog.filter = QStringLiteral("Trace - Dateien (.%1) | *.%1||").arg(m_look.extension);
    dialog.overwritePrompt = true;
    QString path;
    if (!Messages().SaveFileName(dialog, path))
        return false;
    const QString partner = ListFile::WithExtension(path, m_look.partnerExtension);
    if (QFileInfo(partner).absoluteFilePath() == QFileInfo(path).absoluteFilePath()) {
        // Both lists would go to one file, the second overwriting the first.
        MessageBox(QStringLiteral("Die Liste kann nicht unter diesem Namen gespeichert werden: "
                                  "die zweite Liste bekäme denselben Dateinamen.\n"
                                  "Wählen Sie einen Namen mit der Endung .%1.")
                       .arg(m_look.extension),
                   QString(), msg::Warning);
        return false;
    }
    if (!WriteList(path))
        return false;
    Notify(HintWriteList, partner);
    return true;
}

QString CListViewCourier::DroppedListFile(const QMimeData* mime)
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

void CListViewCourier::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedListFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CListViewCourier::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DroppedListFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CListViewCourier::dropEvent(QDropEvent* event)
{
    const QString path = DroppedListFile(event->mimeData());
    if (path.isEmpty() || !m_doc) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // A running recording ends first, with its own lists beside its own trace.
    StopBeforeLoad();
    if (!m_doc->OpenDocument(path))
        return;
    LoadList();
    Notify(HintLoadList);
}
