#include "CVerifyCommands.h"

#include "CCommandTable.h"
#include "CCommunicationDlg.h"
#include "CMainFrame.h"
#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "CVerifyResultDlg.h"
#include "FatVerify.h"
#include "QuillmarkCommands.h"
#include "Settings.h"
#include "TransferTypes.h"

namespace {

const char* kSection = "Settings";
const char* kKey = "VerifyAfterSend";

} // namespace

void CVerifyCommands::Register(CCommandTable& c) const
{
    CMainFrame* frame = &m_frame;
    const ProjectData& d = frame->Document()->Data();
    CQuillmarkView* view = frame->View();
    c.SetHandler(
        Cmd::VerifyTexts, [frame] { Verify(*frame); },
        [&d, view] { return d.textFormat != FormatFromFat && !view->PortOpen(); });
    c.SetHandler(Cmd::VerifyAfterSend, [] { SetVerifyAfterSend(!VerifyAfterSend()); });
    c.SetCheckRule(Cmd::VerifyAfterSend, [] { return VerifyAfterSend(); });
}

void CVerifyCommands::Verify(CMainFrame& frame)
{
    CQuillmarkView* view = frame.View();
    const FatVerify::Result result =
        FatVerify::Verify(*frame.Document(), [&frame, view](CQuillmarkDoc& scratch) {
            CCommunicationDlg dialog(&frame);
            dialog.Core().SetReadForComparison(true);
            if (!dialog.StartTransfer(ReadTexts, &scratch, &view->Serial()))
                return false;
            dialog.exec();
            return dialog.Succeeded();
        });
    if (result.status == FatVerify::NotCompared) {
        // The transfer window has shown why; a refusal of the comparison itself is shown here.
        if (!result.problem.isEmpty())
            MessageBox(result.problem, QString(), msg::Error);
        return;
    }
    CVerifyResultDlg dialog(result, &frame);
    dialog.exec();
}

bool CVerifyCommands::VerifyAfterSend()
{
    return Settings::GetProfileInt(QStringLiteral("Quillmark"), QLatin1String(kSection),
                                   QLatin1String(kKey), 0) != 0;
}

void CVerifyCommands::SetVerifyAfterSend(bool on)
{
    Settings::WriteProfileInt(QStringLiteral("Quillmark"), QLatin1String(kSection),
                              QLatin1String(kKey), on ? 1 : 0);
}
