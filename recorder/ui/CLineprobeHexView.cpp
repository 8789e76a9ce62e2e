#include "CLineprobeHexView.h"

#include "CMessages.h"

namespace {

CTraceListView::Look HexLook()
{
    return {LineRules::View::Hex, QStringLiteral("Empfangene Hex Daten"), 300,
            QStringLiteral("Hex - Werte")};
}

} // namespace

CLineprobeHexView::CLineprobeHexView(CRecordingSession& session, QWidget* parent)
    : CTraceListView(session, HexLook(), parent)
{
    connect(&session, &CRecordingSession::ChunkRefused, this, [] {
        MessageBox(LineRules::UnsupportedMessage(LineRules::View::Hex), QString(), msg::NoIcon);
    });
}
