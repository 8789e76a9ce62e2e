#pragma once

#include "CTraceListView.h"
#include "CRecordingViews.h"

// The hex trace view: the same bytes as hex units, fed by the ASCII view's hints (which it
// takes through the same calls as the recording gives the ASCII view); its own commands reach
// the recording through hints as well.
class CLineprobeHexView : public CTraceListView, public CRecordingViews
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

    // What the hints bring (the hex view's part only; nothing is passed on).
    void ClearLists() override;
    void TakePanelCode(int panelCode) override { m_panelCode = panelCode; }
    bool ShowChunk(const QByteArray& chunk) override { return AppendChunk(chunk); }
    void ShowTextLines(const QByteArray& text) override;
    void ShowErrorText(const QByteArray& text) override { AppendErrorText(text); }
    bool WriteLists(const QString& asciiPath, const QString& hexPath) override;

protected:
    void StopBeforeLoad() override;

private:
    int m_panelCode = 0;
};
