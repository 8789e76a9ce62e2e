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

namespace {

// The list shows the new rows from the top, the menus and title follow the new format.
void ShowImported(CMainFrame& frame)
{
    frame.View()->PrepareList();
    frame.UpdateMenus();
    frame.UpdateTitle();
    frame.View()->scrollToTop();
    frame.View()->viewport()->update();
}

} // namespace

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
    if (BmfImport::ImportBmf(*frame.Document(), hooks).imported)
        ShowImported(frame);
}

void CImportCommands::ImportPanelTexts(CMainFrame& frame)
{
    CImportProgressDlg progress(&frame);
    ImportHooks hooks;
    hooks.progress = &progress;
    if (PanelImport::ImportPanelTexts(*frame.Document(), hooks).imported)
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
    FormatConversion::Run(*frame.Document(), steps);
}
