#include "CFatSimulator.h"

namespace {

const unsigned char kReady = 0x06;
const unsigned char kNotReady = 0x15;
const unsigned char kEnd = 0x04;
const unsigned char kUnknownType = 0x18;

unsigned char Sum(const QByteArray& bytes)
{
    unsigned sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    return static_cast<unsigned char>(sum);
}

} // namespace

void CFatSimulator::TakeWrite()
{
    m_store.groupOffset = m_newOffset;
    m_store.records = m_newRecords;
    m_store.hasTexts = true;
    m_storeChanged = true;
    m_state = Idle;
}

CFatSimulator::CFatSimulator(const FatSimOptions& options, FatStore& store)
    : m_options(options), m_store(store), m_notReadyLeft(options.notReady)
{
}

bool CFatSimulator::TakeStoreChanged()
{
    const bool changed = m_storeChanged;
    m_storeChanged = false;
    return changed;
}

void CFatSimulator::Send(FatPoint::Kind kind, int index, const QByteArray& bytes, Answer& answer)
{
    if (m_options.silentAt.Matches(kind, index))
        m_muted = true;
    if (m_options.vanishAt.Matches(kind, index)) {
        m_vanished = true;
        answer.append(Segment{0, QByteArray(), true});
        return;
    }
    if (m_muted || m_vanished || m_options.silent)
        return;
    Segment s;
    if (m_options.pauseAt.Matches(kind, index))
        s.pauseMs = m_options.pauseMs;
    s.bytes = bytes;
    answer.append(s);
}

QByteArray CFatSimulator::Header() const
{
    int count = m_store.records.size();
    if (!m_store.hasTexts)
        count = m_options.emptyAsZero ? 0 : 0xFFFF;
    const quint32 offset = quint32(m_store.groupOffset);
    QByteArray h(6, 0);
    h[0] = char(count >> 8);
    h[1] = char(count & 0xFF);
    h[2] = char(offset >> 24);
    h[3] = char(offset >> 16);
    h[4] = char(offset >> 8);
    h[5] = char(offset);
    return h;
}

void CFatSimulator::Reset()
{
    if (m_state != Recording)
        m_state = Idle;
}

void CFatSimulator::Receive(unsigned char byte, Answer& answer)
{
    switch (m_state) {
    case Idle:
    case Recording:
        Command(byte, answer);
        break;
    case AwaitHeaderAck:
    case AwaitRecordAck:
        if (byte != m_expectedAck) {
            m_state = Idle; // a wrong acknowledgement (or the end byte) ends the reading
            break;
        }
        if (m_state == AwaitRecordAck)
            ++m_recordIndex;
        if (m_recordIndex >= m_store.records.size()) {
            m_state = Idle;
            break;
        }
        SendRecord(answer);
        break;
    case ReceiveCount: {
        m_received.append(char(byte));
        const int count = m_byteIndex == 1 ? (static_cast<unsigned char>(m_received[0]) << 8) |
                                                 static_cast<unsigned char>(m_received[1])
                                           : 0;
        // The count 0xFFFF means "no texts" when reading, so the FAT cannot hold that many:
        // it refuses the count with a wrong echo and takes nothing.
        const bool tooMany = count > FatStore::kMaxRecords;
        Echo(FatPoint::CountEcho, m_byteIndex, byte,
             (m_options.wrongCountEcho && m_byteIndex == 0) || tooMany, answer);
        if (tooMany) {
            m_received.clear();
            m_state = Idle;
            break;
        }
        if (++m_byteIndex == 2) {
            m_count = count;
            m_received.clear();
            m_byteIndex = 0;
            m_state = ReceiveOffset;
        }
        break;
    }
    case ReceiveOffset:
        m_received.append(char(byte));
        Echo(FatPoint::OffsetEcho, m_byteIndex, byte, m_options.wrongOffsetEcho && m_byteIndex == 0,
             answer);
        if (++m_byteIndex == 4) {
            quint32 offset = 0;
            for (char c : m_received)
                offset = (offset << 8) | static_cast<unsigned char>(c);
            m_newRecords.clear();
            m_record.clear();
            // Kept aside: the FAT takes the offset together with the records, not before.
            m_newOffset = qint32(offset);
            m_state = ReceiveRecords;
            if (m_count == 0)
                TakeWrite();
        }
        break;
    case ReceiveRecords:
        if (m_record.isEmpty()) {
            m_recordLength = m_options.RecordLength(byte);
            if (m_recordLength <= 0)
                m_recordLength = m_options.RecordLength(0x88); // unknown type: as a text record
            if (m_recordLength <= 0)
                m_recordLength = 1;
        }
        m_record.append(char(byte));
        Echo(FatPoint::Echo, m_dataIndex, byte, m_dataIndex == m_options.wrongEcho, answer);
        ++m_dataIndex;
        if (m_record.size() >= m_recordLength) {
            m_newRecords.append(m_record);
            m_record.clear();
            if (m_newRecords.size() == m_count)
                TakeWrite();
        }
        break;
    case ReceiveLz:
        m_received.append(char(byte));
        Echo(FatPoint::Echo, m_dataIndex, byte, m_dataIndex == m_options.wrongEcho, answer);
        ++m_dataIndex;
        if (m_received.size() == 255)
            m_state = AwaitLzEnd;
        break;
    case AwaitLzEnd:
        if (byte == 0) {
            m_store.lzTable = m_received;
            m_storeChanged = true;
        }
        m_state = Idle;
        break;
    case AwaitLzSum: {
        bool right = byte == m_expectedAck;
        if (m_options.wrongVerdict)
            right = !right;
        m_state = Idle;
        Send(FatPoint::Verdict, 0, QByteArray(1, char(right ? kEnd : kNotReady)), answer);
        break;
    }
    }
}

void CFatSimulator::Command(unsigned char byte, Answer& answer)
{
    switch (byte) {
    case 'T': {
        // A new request for the identification ends the traffic until the next "S".
        m_state = Idle;
        QByteArray id = m_options.Identification();
        if (m_options.identLength < id.size())
            id.truncate(m_options.identLength);
        else
            id.append(QByteArray(m_options.identLength - id.size(), 'X'));
        Send(FatPoint::Ident, 0, id, answer);
        break;
    }
    case 'L': {
        const QByteArray h = Header();
        Send(FatPoint::Header, 0, h, answer);
        const int count =
            (static_cast<unsigned char>(h[0]) << 8) | static_cast<unsigned char>(h[1]);
        if (count != 0 && count != 0xFFFF) {
            m_expectedAck = Sum(h);
            m_recordIndex = 0;
            m_state = AwaitHeaderAck;
        }
        break;
    }
    case 0x06:
    case 0x07:
        if (m_notReadyLeft > 0) {
            --m_notReadyLeft;
            Send(FatPoint::Ready, 0, QByteArray(1, char(kNotReady)), answer);
            break;
        }
        Send(FatPoint::Ready, 0, QByteArray(1, char(kReady)), answer);
        m_byteIndex = 0;
        m_dataIndex = 0;
        m_received.clear();
        m_state = byte == 0x06 ? ReceiveCount : ReceiveLz;
        break;
    case 'C': {
        QByteArray table = m_store.lzTable;
        table.append(char(m_options.lzBadEnd ? 1 : 0));
        m_expectedAck = Sum(m_store.lzTable);
        Send(FatPoint::LzData, 0, table, answer);
        m_state = AwaitLzSum;
        break;
    }
    case 'S':
        // The recorder asks for the FAT's traffic; the loop plays it until "H".
        m_state = Recording;
        break;
    case 'H':
    case kEnd:
        m_state = Idle;
        break;
    default:
        break;
    }
}

void CFatSimulator::SendRecord(Answer& answer)
{
    QByteArray record = m_store.records.at(m_recordIndex);
    if (m_recordIndex == m_options.unknownType)
        record[0] = char(kUnknownType);
    m_expectedAck = Sum(record);
    if (m_recordIndex == m_options.shortRecord)
        record.chop(1);
    m_state = AwaitRecordAck;
    Send(FatPoint::Record, m_recordIndex, record, answer);
}

void CFatSimulator::Echo(FatPoint::Kind kind, int index, unsigned char byte, bool wrong,
                         Answer& answer)
{
    Send(kind, index, QByteArray(1, char(wrong ? byte ^ 0xFF : byte)), answer);
}
