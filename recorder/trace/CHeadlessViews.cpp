#include "CHeadlessViews.h"

#include "CLineprobeDoc.h"
#include "CMessages.h"
#include "LineRules.h"
#include "ListFile.h"

CHeadlessViews::CHeadlessViews(const CLineprobeDoc& doc)
    : m_doc(doc), m_ascii(doc.ReceivedBytes()), m_hex(doc.ReceivedBytes())
{
}

void CHeadlessViews::Watch(qsizetype upTo)
{
    if (!m_watcher)
        return;
    for (; m_watched < upTo && m_watched < m_ascii.Count(); ++m_watched)
        m_watcher(m_ascii.At(m_watched));
}

void CHeadlessViews::Flush()
{
    Watch(m_ascii.Count());
}

void CHeadlessViews::ClearLists()
{
    Flush();
    m_ascii.Clear();
    m_hex.Clear();
    m_watched = 0;
}

bool CHeadlessViews::ShowChunk(const QByteArray& chunk)
{
    const LineRules::Rule rule = LineRules::ForPanelCode(m_panelCode);
    if (rule == LineRules::Rule::None) {
        MessageBox(LineRules::UnsupportedMessage(LineRules::View::Ascii), QString(), msg::NoIcon);
        return false;
    }
    LineRules::Settings settings;
    settings.lineLength = m_doc.lineLength;
    settings.breakValue = m_doc.breakValue;
    // The last line may still be continued; the ones before it are complete.
    const qsizetype before = m_ascii.Count();
    m_ascii.AppendChunk(LineRules::View::Ascii, rule, settings, chunk);
    m_hex.AppendChunk(LineRules::View::Hex, rule, settings, chunk);
    if (m_ascii.Count() > before)
        Watch(m_ascii.Count() - 1);
    return true;
}

void CHeadlessViews::AppendLine(const QByteArray& line)
{
    m_ascii.AppendText(line);
    m_hex.AppendText(line);
    Watch(m_ascii.Count() - 1);
}

void CHeadlessViews::ShowTextLines(const QByteArray& text)
{
    for (const QByteArray& line : CLineprobeDoc::TextLines(text))
        AppendLine(line);
}

void CHeadlessViews::ShowErrorText(const QByteArray& text)
{
    AppendLine(text);
    AppendLine(QByteArray());
}

bool CHeadlessViews::WriteLists(const QString& asciiPath, const QString& hexPath)
{
    if (!ListFile::Write(asciiPath, int(m_ascii.Count()),
                         [this](int i) { return m_ascii.Head(i, ListFile::ItemChars); }))
        return false;
    return ListFile::Write(hexPath, int(m_hex.Count()),
                           [this](int i) { return m_hex.Head(i, ListFile::ItemChars); });
}
