#include "CTraceTimeCommands.h"

#include "CCommandTable.h"
#include "CGoToTimeDlg.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMainFrame.h"
#include "CMessages.h"
#include "LineprobeCommands.h"

using namespace LineprobeCommands;

CTraceTimeCommands::CTraceTimeCommands(CMainFrame* frame) : QObject(frame), m_frame(frame) {}

void CTraceTimeCommands::Register(CCommandTable& table)
{
    CMainFrame* frame = m_frame;
    // The check mark can be set before a recording; a loaded list file has no times and
    // shows none.
    table.SetHandler(
        ViewTimeStamps, [this] { OnToggleTimes(); }, [frame] { return frame->AsciiView(); });
    table.SetCheckRule(ViewTimeStamps, [this] { return m_show; });
    table.SetHandler(
        GoToTime, [this] { OnGoToTime(); },
        [frame] { return frame->AsciiView() && !frame->Session()->ChunkTimes().IsEmpty(); });
}

void CTraceTimeCommands::OnToggleTimes()
{
    m_show = !m_show;
    m_frame->AsciiView()->SetShowTimes(m_show);
    m_frame->HexView()->SetShowTimes(m_show);
}

void CTraceTimeCommands::OnGoToTime()
{
    CTraceListView* view = m_frame->ActiveListView();
    if (!view)
        view = m_frame->AsciiView();
    const CRecordingSession& session = *m_frame->Session();
    const CChunkTimes& times = session.ChunkTimes();
    const LineRules::View list = view->GetLook().view;
    const QModelIndex current = view->currentIndex();
    const std::optional<CChunkTimes::Ms> shown =
        current.isValid() ? session.LineTime(list, current.row()) : std::nullopt;
    CGoToTimeDlg dialog(times.FirstTime(), times.LastTime(), shown.value_or(times.FirstTime()),
                        m_frame);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const qsizetype row = session.RowAtOrAfter(list, dialog.Time());
    if (row < 0) {
        MessageBox(QStringLiteral("Zu dieser Zeit oder danach wurde nichts mehr empfangen."),
                   QString(), msg::Information);
        return;
    }
    // Selecting as a click does couples the other view.
    view->selectRow(int(row));
    view->setFocus();
}
