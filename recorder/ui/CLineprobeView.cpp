#include "CLineprobeView.h"

#include "CFatDataDlg.h"
#include "CLineBreakDlg.h"
#include "CLineprobeDoc.h"
#include "CMessages.h"
#include "CodePage.h"

namespace {

CTraceListView::Look AsciiLook()
{
    return {LineRules::View::Ascii,
            QStringLiteral("Empfangene Daten"),
            100,
            QStringLiteral("ASCII - Zeichen"),
            QStringLiteral("tvs"),
            QStringLiteral("tvh")};
}

} // namespace

CLineprobeView::CLineprobeView(CLineprobeDoc* doc, QWidget* parent)
    : CTraceListView(doc, AsciiLook(), parent)
{
    if (!doc)
        return;
    m_recorder = std::make_unique<CRecordingControl>(*doc);
    m_recorder->SetViews(this);
    m_recorder->ReadPortSetting();
    CRecordingControl* recorder = m_recorder.get();
    connect(this, &CLineprobeView::StartRecordingRequested, recorder,
            &CRecordingControl::OnStartRecording);
    connect(this, &CLineprobeView::StopRecordingRequested, recorder,
            &CRecordingControl::OnStopRecording);
    connect(this, &CLineprobeView::ConfigurationRequested, recorder,
            &CRecordingControl::OnConfiguration);
    connect(this, &CLineprobeView::ModemLineRequested, recorder, &CRecordingControl::OnModemLine);
    connect(recorder, &CRecordingControl::ModemStatusChanged, this,
            [this](unsigned long status) { Notify(HintModem, int(status)); });
    connect(recorder, &CRecordingControl::LineSettingsWanted, this,
            &CLineprobeView::LineBreakDialog);
}

CLineprobeView::~CLineprobeView()
{
    if (!m_recorder)
        return;
    m_recorder->OnStopRecording();
    m_recorder->WritePortSetting();
    m_recorder->SetViews(nullptr);
}

void CLineprobeView::ClearLists()
{
    Clear();
    Notify(HintStart);
}

void CLineprobeView::TakePanelCode(int panelCode)
{
    m_panelCode = panelCode;
    Notify(HintPanelCode, panelCode);
}

bool CLineprobeView::ShowChunk(const QByteArray& chunk)
{
    const bool shown = AppendChunk(chunk);
    Notify(HintChunk, chunk);
    return shown;
}

bool CLineprobeView::WriteLists(const QString& asciiPath, const QString& hexPath)
{
    if (!WriteList(asciiPath))
        return false;
    Notify(HintWriteList, hexPath);
    return true;
}

void CLineprobeView::StopBeforeLoad()
{
    if (Doc() && Doc()->recordingFlag)
        emit StopRecordingRequested();
}

void CLineprobeView::showEvent(QShowEvent* event)
{
    const bool first = !IsInitialized();
    CTraceListView::showEvent(event);
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
    QString path;
    if (!Doc() || !Doc()->AskListFile(path))
        return;
    // The running recording ends first, with its own lists beside its own trace; only then
    // does the trace path name the chosen file.
    emit StopRecordingRequested();
    if (!Doc()->OpenDocument(path))
        return;
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
