#include "CLineprobeView.h"

#include "CFatDataDlg.h"
#include "CLineBreakDlg.h"
#include "CLineprobeDoc.h"
#include "CMessages.h"
#include "CodePage.h"

namespace {

CListViewCourier::Look AsciiLook()
{
    return {LineRules::View::Ascii,
            QStringLiteral("Empfangene Daten"),
            100,
            QStringLiteral("ASCII - Zeichen"),
            QStringLiteral("tvs"),
            QLatin1Char('h')};
}

} // namespace

CLineprobeView::CLineprobeView(CLineprobeDoc* doc, QWidget* parent)
    : CListViewCourier(doc, AsciiLook(), parent)
{
}

void CLineprobeView::showEvent(QShowEvent* event)
{
    const bool first = !IsInitialized();
    CListViewCourier::showEvent(event);
    if (first && Doc())
        Doc()->recordingFlag = 0;
}

bool CLineprobeView::AppendChunk(const QByteArray& chunk)
{
    const LineRules::Rule rule = LineRules::ForPanelCode(m_panelCode);
    if (rule == LineRules::Rule::None) {
        MessageBox(LineRules::UnsupportedMessage(LineRules::View::Ascii), QString(), msg::NoIcon);
        return false;
    }
    AppendChunkByRule(rule, chunk);
    return true;
}

void CLineprobeView::AppendTextLines(const QByteArray& text)
{
    for (const QByteArray& line : CLineprobeDoc::TextLines(text)) {
        AppendLine(line);
        Notify(HintTextLine, line);
    }
}

void CLineprobeView::AppendErrorText(const QByteArray& text)
{
    AppendLine(text, false);
    AppendLine(QByteArray(), false);
    Notify(HintErrorText, text);
}

void CLineprobeView::ShowIdentification()
{
    CLineprobeDoc* doc = Doc();
    if (!doc || doc->fatVersion.isEmpty()) {
        MessageBox(QStringLiteral("Sie müssen zuerst mit dem FAT Verbindung aufnehmen."), QString(),
                   msg::Information);
        return;
    }
    CFatDataDlg dialog(FromCp1252(doc->fatVersion), FromCp1252(doc->maker), FromCp1252(doc->model),
                       this);
    dialog.exec();
}

bool CLineprobeView::LineBreakDialog()
{
    CLineprobeDoc* doc = Doc();
    if (!doc)
        return false;
    CLineBreakDlg dialog(doc->lineLength, doc->breakValue, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    doc->lineLength = dialog.LineLength();
    doc->breakValue = dialog.BreakValue();
    return true;
}

void CLineprobeView::OnFileOpen()
{
    if (!Doc() || !Doc()->OpenListFile())
        return;
    emit StopRecordingRequested();
    LoadList();
    Notify(HintLoadList);
}

void CLineprobeView::OnFileSave()
{
    if (Doc() && Doc()->recordingFlag)
        SaveList();
    else
        emit StartRecordingRequested();
}

void CLineprobeView::OnUpdate(CView*, long hint, const QVariant& arg)
{
    switch (hint) {
    case HintStart:
        emit StartRecordingRequested();
        break;
    case HintStop:
        emit StopRecordingRequested();
        break;
    case HintSelect:
        SelectItem(arg.toInt());
        break;
    case HintConfigure:
        emit ConfigurationRequested();
        break;
    case HintIdentDialog:
        ShowIdentification();
        break;
    case HintModem: {
        const int command = arg.toInt();
        if (command >= 0 && command <= 3)
            emit ModemLineRequested(command);
        break;
    }
    case HintWriteList:
        WriteList(arg.toString());
        break;
    case HintLoadList:
        emit StopRecordingRequested();
        LoadList();
        break;
    default:
        break;
    }
}
