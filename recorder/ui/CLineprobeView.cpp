#include "CLineprobeView.h"

namespace {

CTraceListView::Look AsciiLook()
{
    return {LineRules::View::Ascii, QStringLiteral("Empfangene Daten"), 100,
            QStringLiteral("ASCII - Zeichen")};
}

} // namespace

CLineprobeView::CLineprobeView(CRecordingSession& session, QWidget* parent)
    : CTraceListView(session, AsciiLook(), parent)
{
}
