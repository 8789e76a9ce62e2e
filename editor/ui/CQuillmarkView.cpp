#include "CQuillmarkView.h"

#include "CCommandTable.h"
#include "CCommunicationDlg.h"
#include "CEntryDlg.h"
#include "CLzAssignDlg.h"
#include "COffsetDlg.h"
#include "CFatCommands.h"
#include "CVerifyCommands.h"
#include "CMainFrame.h"
#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "CodePage.h"
#include "ComPortSettings.h"
#include "ProjectRules.h"
#include "ProjectTypes.h"
#include "RecordEntry.h"
#include "QuillmarkCommands.h"
#include "TransferTypes.h"

// Qt
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

namespace {
const char kProgram[] = "Quillmark";
}

CQuillmarkView::CQuillmarkView(CQuillmarkDoc* document, CMainFrame* frame)
    : CListEditView(frame), m_document(document), m_frame(frame)
{
    m_serial.SetProgram(QString::fromLatin1(kProgram));
    ComPortSettings::ReadComPort(m_serial, QString::fromLatin1(kProgram));
    setContextMenuPolicy(Qt::DefaultContextMenu);
    PrepareList();
}

CQuillmarkView::~CQuillmarkView()
{
    ComPortSettings::WriteComPort(m_serial, QString::fromLatin1(kProgram));
}

void CQuillmarkView::PrepareList()
{
    SetList(&m_document->Records(), &m_document->Data());
    setEditTriggers(ProjectRules::LabelEditAllowed(m_document->Data())
                        ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                        : QAbstractItemView::NoEditTriggers);
}

void CQuillmarkView::DeleteSelectedRows()
{
    CRecordList& list = m_document->Records();
    QList<int> selected;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        selected.append(index.row());
    std::sort(selected.begin(), selected.end());
    // Only what the technician sees selected goes: the rows from the first visible one down to
    // the one below the page, which moves down as deleted rows make room.
    const int top = TopIndex();
    const int last = top + CountPerPage();
    QList<int> rows;
    for (const int row : std::as_const(selected)) {
        if (row < top)
            continue;
        if (row - int(rows.size()) > last)
            break;
        rows.prepend(row);
    }
    if (rows.isEmpty())
        return;
    CWaitCursor wait;
    UpdateStatusPanes(-1);
    const int next = rows.last();
    // All rows in one step, and in one batch when there are many, so the list is told once.
    m_document->History().DeleteRows(QString::fromUtf8("Texte löschen"),
                                     std::vector<int>(rows.begin(), rows.end()));
    // The focus stays where the first deleted row was, without selecting anything.
    if (next < list.GetCount())
        selectionModel()->setCurrentIndex(list.index(next, 1), QItemSelectionModel::NoUpdate);
}

void CQuillmarkView::EndCellEdit(const QString& text, int row)
{
    const int column = m_editColumn;
    CRecordList& records = m_document->Records();
    if (row == -1) {
        const QModelIndexList selected = selectionModel()->selectedRows();
        row = selected.isEmpty() ? -1 : selected.first().row();
    }
    if (text.isEmpty() || column < Column::Group || column > Column::Text2 || row < 0 ||
        row >= records.GetCount()) {
        m_editColumn = -1;
        viewport()->update();
        return;
    }

    // The shared entry check first: a refused text leaves the row untouched and selected.
    QByteArray bytes;
    RecordRefusal problem = RecordEntry::CheckCell(m_document->Data(), column, text);
    if (!problem && !RecordEntry::ToCodePage(text, bytes))
        problem = {
            QString::fromUtf8("Der Text enthält Zeichen, die das FAT nicht darstellen kann."),
            QStringLiteral("Hinweis")};
    if (problem) {
        if (problem.beep)
            BeepMessageBox(problem.text, problem.caption);
        else
            MessageBox(problem.text, problem.caption);
        m_editColumn = -1;
        SelectRow(row);
        viewport()->update();
        return;
    }

    MessageRecord original;
    records.GetRecord(original, row);
    MessageRecord edited = original;
    switch (column) {
    case Column::Group:
        edited.group = bytes;
        break;
    case Column::PseudoGroup:
        edited.pseudoGroup = bytes;
        break;
    case Column::Detector:
        edited.detector = bytes;
        break;
    case Column::Text1:
        edited.text1 = bytes;
        break;
    case Column::Text2:
        edited.text2 = bytes;
        break;
    }

    selectionModel()->select(records.index(row, 0),
                             QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    CEditHistory& history = m_document->History();
    const QString step = QStringLiteral("Text bearbeiten");
    MessageRecord admitted;
    const RecordRefusal refusal = RecordEntry::Admit(m_document->Data(), edited, admitted);
    int placed = row;
    if (refusal) {
        // Refused: the row stays exactly as it was.
        BeepMessageBox(refusal.text, refusal.caption);
    } else if (admitted.group == original.group && admitted.detector == original.detector) {
        history.SetRecords(step, {{row, admitted}});
    } else {
        // A new key moves the row to its place, or onto the row that has that key already.
        history.BeginStep(step);
        history.DeleteRows(step, {row});
        placed = history.StoreRecord(step, admitted).row;
        history.EndStep();
    }
    m_editColumn = -1;
    SelectRow(placed);
    EnsureVisible(placed);
    viewport()->update();
}

bool CQuillmarkView::RunTransfer(int mode, const std::function<void()>& opened)
{
    CCommunicationDlg dialog(window());
    if (!dialog.StartTransfer(mode, m_document, &m_serial))
        return false;
    if (opened)
        opened();
    dialog.exec();
    return dialog.Succeeded();
}

CFatCommands CQuillmarkView::FatCommands()
{
    return CFatCommands(*m_document, [this](int mode, const std::function<void()>& opened) {
        return RunTransfer(mode, opened);
    });
}

void CQuillmarkView::ReadTexts()
{
    CFatCommands commands = FatCommands();
    commands.SetRowsClearedHook([this] { UpdateStatusPanes(0); });
    commands.SetUpdateMenusHook([this] {
        PrepareList();
        m_frame->UpdateMenus();
        m_frame->UpdateTitle();
    });
    m_document->History().Record(QStringLiteral("Daten auslesen"), CEditHistory::Scope::Project,
                                 [&commands] { return commands.ReadTexts(); });
}

void CQuillmarkView::SendTexts()
{
    CFatCommands commands = FatCommands();
    if (commands.SendTexts() && CVerifyCommands::VerifyAfterSend())
        CVerifyCommands::Verify(*m_frame);
}

void CQuillmarkView::SendLzCoding()
{
    CFatCommands commands = FatCommands();
    commands.SendLzCoding();
}

void CQuillmarkView::ReadLzCoding()
{
    CFatCommands commands = FatCommands();
    commands.ReadLzCoding();
}

void CQuillmarkView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
        m_frame->Commands().Execute(Cmd::DeleteTexts);
        event->accept();
        return;
    }
    CListEditView::keyPressEvent(event);
}

QModelIndex CQuillmarkView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (action != MoveHome && action != MoveEnd)
        return CListEditView::moveCursor(action, modifiers);
    // Home and End go to the first and the last row, with or without Ctrl, in the same column.
    const QModelIndex target = CListEditView::moveCursor(action, modifiers | Qt::ControlModifier);
    const QModelIndex current = currentIndex();
    return target.isValid() && current.isValid() ? target.siblingAtColumn(current.column())
                                                 : target;
}

QItemSelectionModel::SelectionFlags CQuillmarkView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const
{
    // Ctrl+Home and Ctrl+End take the selection along as Home and End do, so that no selection
    // stays behind out of sight.
    if (event && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Home || key->key() == Qt::Key_End) &&
            (key->modifiers() & Qt::ControlModifier)) {
            const QKeyEvent plain(QEvent::KeyPress, key->key(),
                                  key->modifiers() & ~Qt::ControlModifier);
            return CListEditView::selectionCommand(index, &plain);
        }
    }
    return CListEditView::selectionCommand(index, event);
}

void CQuillmarkView::mousePressEvent(QMouseEvent* event)
{
    // The right button belongs to the context menu; the list does not see it.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    CListEditView::mousePressEvent(event);
}

void CQuillmarkView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && state() != QAbstractItemView::EditingState) {
        const QModelIndex index = indexAt(event->position().toPoint());
        OpenEntryDialog(index.isValid() ? index.row() : -1);
    }
    CListEditView::mouseDoubleClickEvent(event);
}

void CQuillmarkView::OpenEntryDialog(int row)
{
    if (CEntryDlg* dlg = CEntryDlg::OpenForProject(*m_document, m_frame, row, this))
        connect(dlg, &CEntryDlg::RecordPlaced, this, &CListEditView::EnsureVisible);
}

void CQuillmarkView::EditGroupOffset()
{
    // A new offset is a step of its own; a cancelled dialog changes nothing.
    m_document->History().Record(QStringLiteral("Offset"), CEditHistory::Scope::Settings, [this] {
        COffsetDlg dlg(&m_document->Data(), m_frame);
        if (dlg.exec() != QDialog::Accepted)
            return false;
        m_frame->UpdateTitle();
        viewport()->update();
        return true;
    });
}

void CQuillmarkView::EditLzAssignment()
{
    m_document->History().Record(QStringLiteral("LZ - Zuweisung"), CEditHistory::Scope::Settings,
                                 [this] {
                                     CLzAssignDlg dlg(m_document->Data().lzAssignment, m_frame);
                                     return dlg.exec() == QDialog::Accepted;
                                 });
}

void CQuillmarkView::contextMenuEvent(QContextMenuEvent* event)
{
    CCommandTable& commands = m_frame->Commands();
    commands.UpdateUi();
    QMenu menu(m_frame);
    menu.addAction(commands.Action(Cmd::InsertTexts));
    menu.addSeparator();
    menu.addAction(commands.Action(Cmd::DeleteTexts));
    menu.exec(event->globalPos());
    event->accept();
}
