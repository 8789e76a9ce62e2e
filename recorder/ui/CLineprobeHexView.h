#pragma once

#include "CListViewCourier.h"

// The hex trace view: the same bytes as hex units, fed by the ASCII view's hints; its own
// commands reach the recording through hints as well.
class CLineprobeHexView : public CListViewCourier
{
    Q_OBJECT

public:
    explicit CLineprobeHexView(CLineprobeDoc* doc, QWidget* parent = nullptr);

    int PanelCode() const { return m_panelCode; }

    // Appends received bytes by the stored panel code's rule (after the message: nothing).
    bool AppendChunk(const QByteArray& chunk);
    void AppendErrorText(const QByteArray& text);

    // Commands of the view.
    void OnFileOpen();
    void OnFileSave();
    void OnStartCommand();
    void OnStopCommand() { Notify(HintStop); }
    void OnConfigureCommand() { Notify(HintConfigure); }
    void OnFatDataCommand() { Notify(HintIdentDialog); }

    void OnUpdate(CView* sender, long hint, const QVariant& arg) override;

private:
    int m_panelCode = 0;
};
