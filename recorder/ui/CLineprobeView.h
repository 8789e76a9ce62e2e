#pragma once

#include "CTraceListView.h"
#include "CRecordingControl.h"
#include "CRecordingViews.h"

#include <memory>

// The ASCII trace view. It shows the received bytes as characters, answers the hints meant
// for it and owns the recording control, which reaches both views through this view (the
// hex view by hints). Its Request signals drive the recording.
class CLineprobeView : public CTraceListView, public CRecordingViews
{
    Q_OBJECT

public:
    explicit CLineprobeView(CLineprobeDoc* doc, QWidget* parent = nullptr);
    // Stops a running recording (footer, list files) and keeps the port number.
    ~CLineprobeView() override;

    // The recording of this view; nullptr without a document.
    CRecordingControl* Recorder() const { return m_recorder.get(); }

    int PanelCode() const { return m_panelCode; }
    void SetPanelCode(int panelCode) { m_panelCode = panelCode; }

    // Appends a received chunk by the panel code's rule; false (after the message) when the
    // panel code has no rule, and then the recording is to be stopped.
    bool AppendChunk(const QByteArray& chunk);
    // A header or footer: one item per line, each also sent to the hex view (hint 8).
    void AppendTextLines(const QByteArray& text);
    // A port error: the text and an empty item, without scrolling; the hex view gets hint 10.
    void AppendErrorText(const QByteArray& text);
    // "&FAT Daten": the dialog "FAT Anpassung", or the refusal before any identification.
    void ShowIdentification();
    // The dialog "Konfiguration" on the document's line settings; true when they were stored.
    bool LineBreakDialog();

    // Commands of the view.
    void OnFileOpen();
    void OnFileSave();

    void OnUpdate(CView* sender, long hint, const QVariant& arg) override;

    // What the recording shows: this view and, by hints, the hex view.
    void ClearLists() override;
    void TakePanelCode(int panelCode) override;
    bool ShowChunk(const QByteArray& chunk) override;
    void ShowTextLines(const QByteArray& text) override { AppendTextLines(text); }
    void ShowErrorText(const QByteArray& text) override { AppendErrorText(text); }
    bool WriteLists(const QString& asciiPath, const QString& hexPath) override;

signals:
    void StartRecordingRequested();
    void StopRecordingRequested();
    void ConfigurationRequested();
    // 0 = set RTS, 1 = clear RTS, 2 = set DTR, 3 = clear DTR
    void ModemLineRequested(int command);

protected:
    void showEvent(QShowEvent* event) override;
    void StopBeforeLoad() override;

private:
    int m_panelCode = 0;
    std::unique_ptr<CRecordingControl> m_recorder;
};
