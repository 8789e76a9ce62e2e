#pragma once

#include "CTraceListView.h"

// The ASCII trace view: the session's received bytes as characters, header and footer lines
// as they stand.
class CLineprobeView : public CTraceListView
{
    Q_OBJECT

public:
    explicit CLineprobeView(CRecordingSession& session, QWidget* parent = nullptr);
};
