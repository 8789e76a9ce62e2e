#include "CLineprobeHexView.h"

#include "CLineprobeDoc.h"
#include "CMessages.h"

namespace {

CListViewCourier::Look HexLook()
{
    return {LineRules::View::Hex,
            QStringLiteral("Empfangene Hex Daten"),
            300,
            QStringLiteral("Hex - Werte"),
            QStringLiteral("tvh"),
            QLatin1Char('s')};
}

} // namespace

CLineprobeHexView::CLineprobeHexView(CLineprobeDoc* doc, QWidget* parent)
    : CListViewCourier(doc, HexLook(), parent)
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
    if (!Doc() || !Doc()->OpenListFile())
        return;
    Notify(HintStop);
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

void CLineprobeHexView::OnStartCommand()
{
    Clear();
    Notify(HintStart);
}

void CLineprobeHexView::OnUpdate(CView*, long hint, const QVariant& arg)
{
    switch (hint) {
    case HintStart:
        Clear();
        break;
    case HintSelect:
        SelectItem(arg.toInt());
        break;
    case HintChunk:
        AppendChunk(arg.toByteArray());
        break;
    case HintPanelCode:
        m_panelCode = arg.toInt();
        break;
    case HintTextLine:
        AppendLine(arg.toByteArray());
        break;
    case HintErrorText:
        AppendErrorText(arg.toByteArray());
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
