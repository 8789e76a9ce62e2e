#pragma once

#include "CRecordingViews.h"
#include "CLineIndex.h"

#include <functional>

class CLineprobeDoc;

// The two trace lists without widgets, for a recording without a window: the same line rules,
// text lines and list files as the views. Completed ASCII lines can be watched as they come.
class CHeadlessViews : public CRecordingViews
{
public:
    // The document holds the line settings of the length rule.
    // Both lists index their lines over the document's one store of received bytes.
    explicit CHeadlessViews(const CLineprobeDoc& doc);

    const CLineIndex& AsciiLines() const { return m_ascii; }
    const CLineIndex& HexLines() const { return m_hex; }
    int PanelCode() const { return m_panelCode; }

    // Called with each ASCII line once it is complete, i.e. once a line follows it; Flush
    // hands over the last one too.
    void SetLineWatcher(std::function<void(const QByteArray&)> watcher)
    {
        m_watcher = std::move(watcher);
    }
    void Flush();

    void ClearLists() override;
    void TakePanelCode(int panelCode) override { m_panelCode = panelCode; }
    bool ShowChunk(const QByteArray& chunk) override;
    void ShowTextLines(const QByteArray& text) override;
    void ShowErrorText(const QByteArray& text) override;
    bool WriteLists(const QString& asciiPath, const QString& hexPath) override;

private:
    void AppendLine(const QByteArray& line);
    void Watch(qsizetype upTo);

    const CLineprobeDoc& m_doc;
    CLineIndex m_ascii;
    CLineIndex m_hex;
    int m_panelCode = 0;
    std::function<void(const QByteArray&)> m_watcher;
    qsizetype m_watched = 0; // ASCII lines already handed to the watcher
};
