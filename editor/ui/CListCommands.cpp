#include "CListCommands.h"

#include "CCommandTable.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "QuillmarkCommands.h"

void CListCommands::Register(CCommandTable& c) const
{
    CQuillmarkView* view = &m_view;
    const ProjectData& d = view->GetDocument()->Data();
    auto project = [&d] { return d.textFormat != FormatFromFat; };
    auto portClosed = [view] { return !view->PortOpen(); };

    c.SetHandler(
        Cmd::InsertTexts, [view] { view->OpenEntryDialog(-1); }, project);
    c.SetHandler(
        Cmd::DeleteTexts, [view] { view->DeleteSelectedRows(); }, project);
    c.SetHandler(
        Cmd::GroupOffset, [view] { view->EditGroupOffset(); }, portClosed);
    c.SetHandler(
        Cmd::LzAssignment, [view] { view->EditLzAssignment(); }, portClosed);
    c.SetHandler(
        Cmd::SendTexts, [view] { view->SendTexts(); }, project);
    c.SetHandler(Cmd::ReadTexts, [view] { view->ReadTexts(); });
    c.SetHandler(
        Cmd::SendLzCoding, [view] { view->SendLzCoding(); }, portClosed);
    c.SetHandler(Cmd::ReadLzCoding, [view] { view->ReadLzCoding(); });
    c.SetHandler(
        Cmd::Configuration, [view] { view->Serial().ChangeComPort(); }, portClosed);
}
