#include "CFindCommands.h"

#include "CCommandTable.h"
#include "CFindReplaceDlg.h"
#include "CMainFrame.h"
#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "CodePage.h"
#include "ProjectRules.h"
#include "QuillmarkCommands.h"
#include "RecordSearch.h"

// Qt
#include <QStatusBar>

namespace {

const int kStatusMs = 10000;

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

QString Rows(int count)
{
    return count == 1 ? U("1 Zeile") : U("%1 Zeilen").arg(count);
}

int RowOfKey(const CRecordList& list, const QByteArray& group, const QByteArray& detector)
{
    for (int row = 0; row < list.GetCount(); ++row)
        if (list.At(row).group == group && list.At(row).detector == detector)
            return row;
    return -1;
}

} // namespace

CFindCommands::CFindCommands(CMainFrame& frame) : QObject(&frame), m_frame(frame) {}

void CFindCommands::Register(CCommandTable& c)
{
    CQuillmarkDoc* doc = m_frame.Document();
    CQuillmarkView* view = m_frame.View();
    c.SetHandler(Cmd::Find, [this] { OpenDialog(false); });
    c.SetHandler(Cmd::FindNext, [this] { FindNext(true); });
    c.SetHandler(Cmd::FindPrevious, [this] { FindNext(false); });
    // Replacing writes rows: not in a project still to be read from the FAT, nor during a
    // transfer.
    c.SetHandler(
        Cmd::Replace, [this] { OpenDialog(true); },
        [doc, view] { return doc->Data().textFormat != FormatFromFat && !view->PortOpen(); });
}

CFindReplaceDlg* CFindCommands::Dialog() const
{
    return m_dialog;
}

void CFindCommands::OpenDialog(bool replace)
{
    const bool placed = m_dialog && m_dialog->isVisible();
    if (!m_dialog) {
        m_dialog = new CFindReplaceDlg(&m_frame);
        connect(m_dialog, &CFindReplaceDlg::findNext, this, &CFindCommands::FindNext);
        connect(m_dialog, &CFindReplaceDlg::replaceOne, this, &CFindCommands::ReplaceOne);
        connect(m_dialog, &CFindReplaceDlg::replaceAll, this, &CFindCommands::ReplaceAll);
        // F3, Umschalt+F3, Strg+F and Strg+H work in the dialog too.
        for (const int id : {Cmd::FindNext, Cmd::FindPrevious, Cmd::Find, Cmd::Replace})
            m_dialog->addAction(m_frame.Commands().Action(id));
    }
    RefreshColumns();
    m_dialog->SetReplaceMode(replace);
    m_dialog->show();
    if (!placed)
        m_dialog->PlaceBeside(m_frame.frameGeometry(), RowOnScreen(CurrentRow()));
    else
        m_dialog->KeepClearOf(RowOnScreen(CurrentRow())); // "Ersetzen" made it taller
    m_dialog->raise();
    m_dialog->activateWindow();
    QWidget* field = m_dialog->findChild<QWidget*>(QStringLiteral("findText"));
    field->setFocus();
}

void CFindCommands::RefreshColumns()
{
    // The headings the list shows now: the project may have changed since.
    const CRecordList& list = m_frame.Document()->Records();
    QList<QPair<int, QString>> columns;
    for (const int column : RecordSearch::ScopeColumns(m_frame.Document()->Data()))
        columns.append({column, list.headerData(column, Qt::Horizontal).toString()});
    m_dialog->SetColumns(columns);
}

RecordSearch CFindCommands::Search()
{
    const ProjectData& data = m_frame.Document()->Data();
    if (!m_dialog)
        return RecordSearch(data, QString(), RecordSearch::WholeRow, false);
    RefreshColumns();
    return RecordSearch(data, m_dialog->FindText(), m_dialog->Scope(), m_dialog->MatchCase());
}

int CFindCommands::CurrentRow() const
{
    const QModelIndex current = m_frame.View()->currentIndex();
    return current.isValid() ? current.row() : m_frame.View()->GetFirstSelected();
}

void CFindCommands::ShowRow(int row)
{
    CQuillmarkView* view = m_frame.View();
    view->SelectRow(row);
    view->scrollTo(m_frame.Document()->Records().index(row, 1));
    if (m_dialog && m_dialog->isVisible())
        m_dialog->KeepClearOf(RowOnScreen(row));
}

QRect CFindCommands::RowOnScreen(int row) const
{
    if (row < 0)
        return QRect();
    const CQuillmarkView* view = m_frame.View();
    const QRect cell = view->visualRect(m_frame.Document()->Records().index(row, 1));
    return QRect(view->viewport()->mapToGlobal(QPoint(0, cell.top())),
                 QSize(view->viewport()->width(), cell.height()));
}

void CFindCommands::ShowStatus(const QString& text)
{
    m_frame.statusBar()->showMessage(text, kStatusMs);
}

void CFindCommands::FindNext(bool forward)
{
    if (!m_dialog || m_dialog->FindText().isEmpty()) {
        OpenDialog(false);
        return;
    }
    bool wrapped = false;
    const int row = Search().Find(m_frame.Document()->Records(), CurrentRow(), forward, &wrapped);
    if (row < 0) {
        ShowStatus(U("\"%1\" wurde nicht gefunden.").arg(m_dialog->FindText()));
        return;
    }
    ShowRow(row);
    if (wrapped)
        ShowStatus(forward ? U("Ende der Liste erreicht, die Suche ging am Anfang weiter.")
                           : U("Anfang der Liste erreicht, die Suche ging am Ende weiter."));
    else
        m_frame.statusBar()->clearMessage();
}

void CFindCommands::ReplaceOne()
{
    CRecordList& list = m_frame.Document()->Records();
    const RecordSearch search = Search();
    int row = CurrentRow();
    if (search.Valid() && row >= 0 && row < list.GetCount() && search.Matches(list.At(row))) {
        RecordSearch::Change change{row, MessageRecord()};
        bool changed = false;
        const RecordRefusal refusal =
            search.Replace(list.At(row), m_dialog->ReplaceText(), change.record, &changed);
        if (refusal) {
            // The row stays as it was, and selected, so the technician sees which one.
            BeepMessageBox(refusal.text, refusal.caption);
            ShowRow(row);
            return;
        }
        if (changed) {
            row = StoreReplacements(U("Ersetzen"), {change});
            ShowRow(row);
        }
    }
    FindNext(true);
}

int CFindCommands::StoreReplacements(const QString& step,
                                     const std::vector<RecordSearch::Change>& changes)
{
    CQuillmarkDoc& doc = *m_frame.Document();
    CRecordList& list = doc.Records();
    // One step either way: the changed rows alone while every row keeps its place, else the
    // whole project, as rows leave and find new places by their keys.
    if (KeepPlaces(list, changes)) {
        std::vector<std::pair<int, MessageRecord>> rows;
        rows.reserve(changes.size());
        for (const RecordSearch::Change& change : changes)
            rows.emplace_back(change.row, change.record);
        doc.History().SetRecords(step, std::move(rows));
        return changes.empty() ? -1 : changes.back().row;
    }
    int last = -1;
    doc.History().Record(step, CEditHistory::Scope::Project, [&] {
        last = ApplyReplacements(list, changes);
        return true;
    });
    return last;
}

void CFindCommands::ReplaceAll()
{
    CQuillmarkDoc& doc = *m_frame.Document();
    CRecordList& list = doc.Records();
    const RecordSearch::Plan plan = Search().ReplaceAll(list, m_dialog->ReplaceText());
    if (plan.changes.empty() && plan.refused == 0 && Search().Find(list, -1, true) < 0) {
        MessageBox(U("\"%1\" wurde nicht gefunden.").arg(m_dialog->FindText()), QString(),
                   msg::Information);
        return;
    }
    QString text = U("%1 geändert.").arg(Rows(int(plan.changes.size())));
    // Afterwards the first refused row is shown, so the technician can mend it; else the row
    // selected before stays selected, wherever its key now stands.
    int row = plan.refused > 0 ? plan.firstRefusedRow : CurrentRow();
    QByteArray group, detector;
    if (row >= 0 && row < list.GetCount()) {
        group = list.At(row).group;
        detector = list.At(row).detector;
    }
    if (plan.refused > 0) {
        // The valid replacements are made; the refused rows stay as they were.
        text += U("\n%1 nicht geändert, die erste (%2 %3, %4 %5): %6")
                    .arg(Rows(plan.refused), ProjectRules::GroupHeader(doc.Data()),
                         FromCp1252(group), ProjectRules::DetectorHeader(doc.Data()),
                         FromCp1252(detector), plan.firstRefusal.text);
    }
    if (!plan.changes.empty()) {
        // All replacements are one step.
        const int last = StoreReplacements(U("Alle ersetzen"), plan.changes);
        m_frame.View()->UpdateStatusPanes(0);
        row = RowOfKey(list, group, detector);
        if (row < 0)
            row = last;
    }
    if (row >= 0 && row < list.GetCount())
        ShowRow(row);
    MessageBox(text, QString(), plan.refused > 0 ? msg::Warning : msg::Information);
}
