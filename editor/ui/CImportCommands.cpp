#include "CImportCommands.h"

#include "CCommandTable.h"
#include "CImportFormatDlg.h"
#include "CImportProgressDlg.h"
#include "CMainFrame.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "CTextFormatDlg.h"
#include "FormatConversion.h"
#include "ImportBmf.h"
#include "PanelImport.h"
#include "ProjectRules.h"
#include "QuillmarkCommands.h"

void CImportCommands::ShowImported(CMainFrame& frame)
{
    frame.View()->PrepareList();
    frame.UpdateMenus();
    frame.UpdateTitle();
    frame.View()->scrollToTop();
    frame.View()->viewport()->update();
}

void CImportCommands::Register(CCommandTable& c) const
{
    CMainFrame* frame = &m_frame;
    const ProjectData& d = frame->Document()->Data();
    CQuillmarkView* view = frame->View();
    c.SetHandler(
        Cmd::ImportBmf, [frame] { ImportBmf(*frame); },
        [&d] { return ProjectRules::BmfImportEnabled(d); });
    c.SetHandler(
        Cmd::ImportPanelTexts, [frame] { ImportPanelTexts(*frame); },
        [&d, view] { return !view->PortOpen() && ProjectRules::PanelTextImportEnabled(d); });
    c.SetHandler(
        Cmd::ConvertFormat, [frame] { ChangeTextFormat(*frame); },
        [&d] { return ProjectRules::ConvertFormatEnabled(d); });
}

void CImportCommands::ImportBmf(CMainFrame& frame)
{
    CImportProgressDlg progress(&frame);
    ImportHooks hooks;
    hooks.progress = &progress;
    hooks.chooseBmfKind = [&frame](int formatBits) {
        CImportFormatDlg dialog(formatBits, &frame);
        return dialog.exec() == QDialog::Accepted ? dialog.Kind() : 0;
    };
    CQuillmarkDoc& doc = *frame.Document();
    const bool imported = doc.History().Record(
        QStringLiteral("BMF - Dateien importieren"), CEditHistory::Scope::Project,
        [&] { return BmfImport::ImportBmf(doc, hooks).imported; });
    if (imported)
        ShowImported(frame);
}

void CImportCommands::ImportPanelTexts(CMainFrame& frame)
{
    CImportProgressDlg progress(&frame);
    ImportHooks hooks;
    hooks.progress = &progress;
    CQuillmarkDoc& doc = *frame.Document();
    const bool imported = doc.History().Record(
        QString::fromUtf8("Zentralentexte übernehmen"), CEditHistory::Scope::Project,
        [&] { return PanelImport::ImportPanelTexts(doc, hooks).imported; });
    if (imported)
        ShowImported(frame);
}

void CImportCommands::ChangeTextFormat(CMainFrame& frame)
{
    FormatConversion::Steps steps;
    steps.chooseFormat = [&frame](const std::array<FormatConversion::Target, 2>& targets) {
        CTextFormatDlg dialog(targets, &frame);
        return dialog.exec() == QDialog::Accepted ? dialog.TextFormat() : 0;
    };
    steps.converted = [&frame] { ShowImported(frame); };
    CQuillmarkDoc& doc = *frame.Document();
    doc.History().Record(QString::fromUtf8("Eingabeformat ändern"), CEditHistory::Scope::Project,
                         [&] { return FormatConversion::Run(doc, steps); });
}
