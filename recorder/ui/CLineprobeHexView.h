#pragma once

#include "CTraceListView.h"

// The hex trace view: the same bytes as hex units. A chunk the line rules refuse gets its own
// message here, after the recording's.
class CLineprobeHexView : public CTraceListView
{
    Q_OBJECT

public:
    explicit CLineprobeHexView(CRecordingSession& session, QWidget* parent = nullptr);
};
