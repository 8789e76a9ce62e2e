#include "CReadTextsMachine.h"

#include "CRecordList.h"
#include "CQuillmarkDoc.h"
#include "CodePage.h"
#include "MessageRecord.h"
#include "ProjectLimits.h"
#include "ProjectRules.h"
#include "TextFormats.h"
#include "TextRecordCodec.h"

#include <cstring>

namespace {

QString Refusal(const QString& problem)
{
    return QStringLiteral("Die Kennung des FAT passt zu keinem Projekt: ") + problem;
}

// Bytes of the wire as a message may show them: control characters as '?'.
QString Printable(const QByteArray& bytes)
{
    QString text = FromCp1252(bytes);
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('?');
    return text;
}

} // namespace

void CReadTextsMachine::Receive(int waiting)
{
    switch (m_state) {
    case AwaitIdent:
        if (waiting != TextRecordCodec::IdentLength)
            return;
        if (!StoreIdentification(m_session.Read(TextRecordCodec::IdentLength)))
            return;
        m_state = AwaitHeader;
        SendByte('L');
        break;
    case AwaitHeader:
        if (waiting == TextRecordCodec::HeaderLength)
            ReceiveHeader();
        break;
    case AwaitRecord:
        AcceptRecord(waiting);
        break;
    default:
        break;
    }
}

bool CReadTextsMachine::StoreIdentification(const QByteArray& id)
{
    // Decoded into a copy first: an identification no project can hold ends the reading
    // before anything of the project changes.
    ProjectData d = Data();
    if (id.size() != TextRecordCodec::IdentLength)
        return false;
    const QString problem =
        TextRecordCodec::DecodeIdentification(id, d)
            ? ProjectLimits::Check(d)
            : QStringLiteral("Der Hersteller \"%1\" ist unbekannt.").arg(Printable(id.left(2)));
    if (!problem.isEmpty()) {
        m_session.Refuse(Refusal(problem));
        return false;
    }
    Data() = d;
    return true;
}

void CReadTextsMachine::ReceiveHeader()
{
    const QByteArray h = m_session.Read(TextRecordCodec::HeaderLength);
    if (h.size() != TextRecordCodec::HeaderLength)
        return;
    const int count = TextRecordCodec::HeaderCount(h);
    if (count < 0) {
        m_state = FatEmpty;
        return;
    }
    m_recordCount = count;
    ProjectData& d = Data();
    const QByteArray text = QByteArray::number(TextRecordCodec::HeaderOffset(h));
    std::memset(d.groupOffset, 0, sizeof d.groupOffset);
    std::memcpy(d.groupOffset, text.constData(),
                size_t(qMin(int(text.size()), int(sizeof d.groupOffset) - 1)));
    if (m_recordCount == 0) {
        m_state = FatEmpty;
        m_session.EndNow();
        return;
    }
    m_state = AwaitRecord;
    m_batch.emplace(m_document.Records());
    m_session.SetStatus(QStringLiteral("Daten werden empfangen"));
    m_session.SetProgressRange(0, m_recordCount);
    SendByte(TextRecordCodec::Sum(h));
}

bool CReadTextsMachine::SetFormatOf(char tag)
{
    ProjectData next = Data();
    const TextFormats::Format* format = TextFormats::OfTag(tag);
    next.textFormat = format ? format->textFormat : FormatTwoLines;
    const QString problem = ProjectLimits::Check(next);
    if (!problem.isEmpty()) {
        m_session.Refuse(Refusal(problem));
        return false;
    }
    Data().textFormat = next.textFormat;
    m_document.SetupListColumns(); // its failure does not stop the transfer
    return true;
}

void CReadTextsMachine::AcceptRecord(int waiting)
{
    // A record on a real line arrives byte by byte over several notifications, so its bytes
    // are collected until the length its type announces is reached.
    const bool first = m_pending.isEmpty();
    m_pending += m_session.Read(
        qMin(waiting, TextRecordCodec::MaxReceivedRecord + 1 - int(m_pending.size())));
    const QByteArray record = m_pending;
    if (record.isEmpty())
        return;
    const char tag = TextRecordCodec::TagOfType(static_cast<unsigned char>(record.at(0)));
    if (first && m_session.ProgressPosition() == 0 && tag && !SetFormatOf(tag)) {
        m_pending.clear();
        return;
    }
    if (first && tag && ProjectRules::FormatTag(Data().textFormat) != QByteArray(1, tag)) {
        // A FAT holds one format; the project's Text 1 has one length. A record of another
        // type would lose characters or shift its fields, so the reading ends here.
        m_pending.clear();
        m_session.Refuse(QStringLiteral("Der %1. Text des FAT hat das Textformat \"%2\", die "
                                        "Texte davor \"%3\". Ein FAT hält nur ein Textformat; "
                                        "die Übertragung wurde abgebrochen.")
                             .arg(m_session.ProgressPosition() + 1)
                             .arg(QLatin1Char(tag))
                             .arg(QString::fromLatin1(ProjectRules::FormatTag(Data().textFormat))));
        return;
    }
    const int expected = tag ? TextRecordCodec::RecordLength(tag, Data()) : -1;
    if (expected <= 0 || expected > TextRecordCodec::MaxReceivedRecord ||
        record.size() > expected) {
        // Not acknowledged: the FAT falls silent and the time-out ends the reading.
        m_pending.clear();
        return;
    }
    if (record.size() < expected)
        return;

    m_pending.clear();
    --m_recordCount;
    m_session.StepProgress();
    CRecordList& records = m_document.Records();
    records.AddRecordAt(TextRecordCodec::DecodeRecord(record, tag, Data()), records.GetCount());
    if (m_recordCount == 0) {
        m_state = ReadComplete;
        m_batch.reset();
    }
    SendByte(TextRecordCodec::Sum(record));
}

CTransferMachine::Verdict CReadTextsMachine::OnTimeout(int state) const
{
    if (state == ReadComplete)
        return Show(TransferText::SuccessRead, true);
    if (state == FatEmpty)
        return Show("Im FAT befinden sich noch keine Texte");
    return Show(TransferText::NoAnswer);
}
