#pragma once

#include "CListViewCourier.h"

// The ASCII trace view. It shows the received bytes as characters and answers the hints meant
// for it; the recording itself is driven through the Request signals, so the view stays the
// one place that holds and shows the lines.
class CLineprobeView : public CListViewCourier
{
    Q_OBJECT

public:
    explicit CLineprobeView(CLineprobeDoc* doc, QWidget* parent = nullptr);

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

signals:
    void StartRecordingRequested();
    void StopRecordingRequested();
    void ConfigurationRequested();
    // 0 = set RTS, 1 = clear RTS, 2 = set DTR, 3 = clear DTR
    void ModemLineRequested(int command);

protected:
    void showEvent(QShowEvent* event) override;

private:
    int m_panelCode = 0;
};
