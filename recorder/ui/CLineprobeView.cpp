#include "CLineprobeView.h"

namespace {

CTraceListView::Look AsciiLook()
{
    // Port error lines leave the list where it is.
    return {LineRules::View::Ascii, QStringLiteral("Empfangene Daten"), 100,
            QStringLiteral("ASCII - Zeichen"), false};
}

} // namespace

CLineprobeView::CLineprobeView(CRecordingSession& session, QWidget* parent)
    : CTraceListView(session, AsciiLook(), parent)
{
}
