#include "CFrameCommands.h"

#include "CAboutDlg.h"
#include "CCommandTable.h"
#include "CMainFrame.h"
#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "ProjectRules.h"
#include "QuillmarkCommands.h"

// Qt
#include <QStatusBar>
#include <QToolBar>

void CFrameCommands::Register(CCommandTable& c) const
{
    CMainFrame* frame = &m_frame;
    const ProjectData& d = frame->Document()->Data();
    auto project = [&d] { return d.textFormat != FormatFromFat; };

    c.SetHandler(Cmd::FileNew, [frame] {
        if (frame->SaveModified())
            frame->NewDocument();
    });
    c.SetHandler(Cmd::FileOpen, [frame] {
        if (!frame->SaveModified())
            return;
        msg::FileDialog dialog;
        dialog.filter = QString::fromUtf8("Projektdateien (*.bmt)|*.bmt|");
        dialog.defaultExt = QStringLiteral("bmt");
        QString path;
        if (Messages().OpenFileName(dialog, path))
            frame->OpenDocument(path);
    });
    c.SetHandler(
        Cmd::FileSave, [frame] { frame->SaveDocument(CQuillmarkDoc::Save); }, project);
    c.SetHandler(
        Cmd::FileSaveAs, [frame] { frame->SaveDocument(CQuillmarkDoc::SaveAs); }, project);
    c.SetHandler(Cmd::AppExit, [frame] { frame->close(); });
    c.SetHandler(Cmd::StartLineprobe, [] { CMainFrame::StartLineprobe(); });
    QToolBar* toolBar = frame->ToolBar();
    c.SetHandler(Cmd::ViewToolbar, [toolBar] { toolBar->setVisible(!toolBar->isVisible()); });
    c.SetCheckRule(Cmd::ViewToolbar, [toolBar] { return toolBar->isVisible(); });
    QStatusBar* statusBar = frame->statusBar();
    c.SetHandler(Cmd::ViewStatusBar,
                 [statusBar] { statusBar->setVisible(!statusBar->isVisible()); });
    c.SetCheckRule(Cmd::ViewStatusBar, [statusBar] { return statusBar->isVisible(); });
    c.SetHandler(Cmd::HelpTopics, [frame] { frame->ShowHelp(); });
    c.SetHandler(Cmd::Help, [frame] { frame->ShowHelp(frame->ContextHelpPage()); });
    c.SetHandler(Cmd::ContextHelp, [frame] { frame->EnterContextHelp(); });
    c.SetHandler(Cmd::AppAbout, [frame] {
        CAboutDlg about(frame);
        about.exec();
    });
    c.SetHandler(
        Cmd::PanelInfo,
        [&d] { MessageBox(CMainFrame::PanelInfoText(d), QString(), msg::Information, msg::Ok); },
        [&d] { return ProjectRules::PanelInfoEnabled(d); });
}
