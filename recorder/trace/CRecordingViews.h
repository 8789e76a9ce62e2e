#pragma once

// Qt
#include <QByteArray>
#include <QString>

// What the recording control needs of the trace lists: the recording session implements it
// over the ASCII and the hex lines, for the window and lineprobe-cli alike. Every call comes
// on the recording control's thread.
class CRecordingViews
{
public:
    virtual ~CRecordingViews() = default;

    // Empties both lists (start of a recording).
    virtual void ClearLists() = 0;
    // The panel code that selects the line rule of both views.
    virtual void TakePanelCode(int panelCode) = 0;
    // Appends a received chunk to both views by the panel code's rule; stamp is the time
    // stamp the trace files keep for it ("dd.mm.yy, hh:mm:ss.mmm"). False (after the
    // message) when the panel code has no rule: the recording is then to be stopped.
    virtual bool ShowChunk(const QByteArray& chunk, const QByteArray& stamp) = 0;
    // A header or footer: one item per line in both views (lines cut at LF, CR ends a line).
    virtual void ShowTextLines(const QByteArray& text) = 0;
    // A port error: the text and an empty item in both views.
    virtual void ShowErrorText(const QByteArray& text) = 0;
    // Writes the ASCII list to asciiPath and, when that wrote at least one item, the hex list
    // to hexPath. True when both lists were written.
    virtual bool WriteLists(const QString& asciiPath, const QString& hexPath) = 0;
};
