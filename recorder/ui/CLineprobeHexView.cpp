#include "CLineprobeHexView.h"

#include "CLineprobeDoc.h"
#include "CMessages.h"

namespace {

CTraceListView::Look HexLook()
{
    return {LineRules::View::Hex,
            QStringLiteral("Empfangene Hex Daten"),
            300,
            QStringLiteral("Hex - Werte"),
            QStringLiteral("tvh"),
            QStringLiteral("tvs")};
}

} // namespace

CLineprobeHexView::CLineprobeHexView(CLineprobeDoc* doc, QWidget* parent)
    : CTraceListView(doc, HexLook(), parent)
{
}

bool CLineprobeHexView::AppendChunk(const QByteArray& chunk)
{
    const LineRules::Rule rule = LineRules::ForPanelCode(m_panelCode);
    if (rule == LineRules::Rule::None) {
        MessageBox(LineRules::UnsupportedMessage(LineRules::View::Hex), QString(), msg::NoIcon);
        return false;
    }
    AppendChunkByRule(rule, chunk);
    return true;
}

void CLineprobeHexView::AppendErrorText(const QByteArray& text)
{
    AppendLine(text);
    AppendLine(QByteArray());
}

void CLineprobeHexView::OnFileOpen()
{
    QString path;
    if (!Doc() || !Doc()->AskListFile(path))
        return;
    // The ASCII view ends the recording before the trace path names the chosen file.
    Notify(HintStop);
    if (!Doc()->OpenDocument(path))
        return;
    LoadList();
    Notify(HintLoadList);
}

void CLineprobeHexView::OnFileSave()
{
    if (Doc() && Doc()->recordingFlag)
        SaveList();
    else
        OnStartCommand();
}

void CLineprobeHexView::StopBeforeLoad()
{
    if (Doc() && Doc()->recordingFlag)
        Notify(HintStop);
}

void CLineprobeHexView::ClearLists()
{
    Clear();
}

void CLineprobeHexView::ShowTextLines(const QByteArray& text)
{
    for (const QByteArray& line : CLineprobeDoc::TextLines(text))
        AppendLine(line);
}

bool CLineprobeHexView::WriteLists(const QString&, const QString& hexPath)
{
    return WriteList(hexPath);
}

void CLineprobeHexView::OnStartCommand()
{
    Clear();
    Notify(HintStart);
}

void CLineprobeHexView::OnUpdate(CView*, long hint, const QVariant& arg)
{
    switch (hint) {
    case HintStart:
        // The start empties this list before it begins (from the ASCII view). The monitor's
        // start command reaches this view only after the ASCII view has started and, in
        // expert mode, already shown the header: that list stays.
        if (!Doc() || !Doc()->recordingFlag)
            ClearLists();
        break;
    case HintSelect:
        SelectItem(arg.toInt());
        break;
    case HintChunk:
        ShowChunk(arg.toByteArray());
        break;
    case HintPanelCode:
        TakePanelCode(arg.toInt());
        break;
    case HintTextLine:
        AppendLine(arg.toByteArray());
        break;
    case HintErrorText:
        ShowErrorText(arg.toByteArray());
        break;
    case HintWriteList:
        WriteList(arg.toString());
        break;
    case HintLoadList:
        Notify(HintStop);
        LoadList();
        break;
    default:
        break;
    }
}
