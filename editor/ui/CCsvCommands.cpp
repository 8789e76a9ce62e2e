#include "CCsvCommands.h"

#include "CCommandTable.h"
#include "CCsvReportDlg.h"
#include "CImportCommands.h"
#include "CMainFrame.h"
#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "CsvFile.h"
#include "CsvImport.h"
#include "QuillmarkCommands.h"

// Qt
#include <QFileInfo>

namespace {

msg::FileDialog CsvDialog(const QString& title)
{
    msg::FileDialog dialog;
    dialog.title = title;
    dialog.filter = QStringLiteral("CSV-Dateien (*.csv)|*.csv|Alle Dateien (*.*)|*.*||");
    dialog.defaultExt = QStringLiteral("csv");
    return dialog;
}

} // namespace

void CCsvCommands::Register(CCommandTable& c) const
{
    CMainFrame* frame = &m_frame;
    CQuillmarkDoc* doc = frame->Document();
    CQuillmarkView* view = frame->View();
    c.SetHandler(
        Cmd::ExportCsv, [frame] { ExportCsv(*frame); },
        [doc] { return doc->Records().GetCount() > 0; });
    c.SetHandler(
        Cmd::ImportCsv, [frame] { ImportCsv(*frame); },
        [doc, view] { return doc->Data().textFormat != FormatFromFat && !view->PortOpen(); });
}

void CCsvCommands::ExportCsv(CMainFrame& frame)
{
    CQuillmarkDoc& doc = *frame.Document();
    msg::FileDialog dialog = CsvDialog(QStringLiteral("Texte als CSV exportieren"));
    dialog.initialName = QFileInfo(doc.ProjectPath()).completeBaseName();
    dialog.overwritePrompt = true;
    QString path;
    if (!Messages().SaveFileName(dialog, path))
        return;
    QString problem;
    if (!CsvFile::WriteFile(path, CsvFile::Export(doc), problem))
        MessageBox(problem, QString(), msg::Error);
}

void CCsvCommands::ImportCsv(CMainFrame& frame)
{
    CQuillmarkDoc& doc = *frame.Document();
    QString path;
    if (!Messages().OpenFileName(CsvDialog(QStringLiteral("CSV-Datei importieren")), path))
        return;
    QByteArray bytes;
    QString problem;
    if (!CsvFile::ReadFile(path, bytes, problem)) {
        MessageBox(problem, QString(), msg::Error);
        return;
    }
    // The import is one step; a check that finds bad rows imports nothing and makes none.
    CsvImport::Result result;
    const auto import = [&](bool skipInvalid) {
        doc.History().Record(QStringLiteral("CSV-Datei importieren"), CEditHistory::Scope::Project,
                             [&] {
                                 result = CsvImport::Import(doc, bytes, skipInvalid);
                                 return result.imported;
                             });
    };
    import(false);
    if (!result.refusal.isEmpty()) {
        MessageBox(result.refusal, QString(), msg::Error);
        return;
    }
    if (!result.problems.isEmpty()) {
        CCsvReportDlg report(result.problems, result.added + result.replaced, &frame);
        if (report.exec() != QDialog::Accepted)
            return;
        import(true);
    }
    if (result.imported)
        CImportCommands::ShowImported(frame);
    MessageBox(result.Summary(), QString(), msg::Information);
}
