#include "CRecordList.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "CSendTextsMachine.h"
#include "CReadTextsMachine.h"
#include "MessageRecord.h"
#include "TextProject.h"
#include "TextRecordCodec.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

// A session from a script: the bytes "waiting" are queued by the test, what the machine
// sends is collected. No port, no time.
class ScriptedSession : public ITransferSession
{
public:
    QByteArray Read(int max) override
    {
        const QByteArray bytes = m_waiting.left(max);
        m_waiting.remove(0, bytes.size());
        return bytes;
    }
    void Send(const QByteArray& bytes) override { sent += bytes; }
    void SetStatus(const QString& text) override { status = text; }
    void SetProgressRange(int, int maximum) override
    {
        progressMax = maximum;
        progress = 0;
    }
    void SetProgressPos(int position) override { progress = position; }
    void StepProgress() override { ++progress; }
    int ProgressPosition() const override { return progress; }
    void EndNow() override { endedNow = true; }
    void Refuse(const QString& text) override { refused = text; }
    void StartSender(const QList<QByteArray>& records) override { senderRecords = records; }

    // Queues bytes and feeds the machine as one notification.
    void Arrive(CTransferMachine& machine, const QByteArray& bytes)
    {
        m_waiting += bytes;
        machine.Receive(int(m_waiting.size()));
    }

    QByteArray sent;
    QString status;
    QString refused;
    int progress = 0;
    int progressMax = 0;
    bool endedNow = false;
    QList<QByteArray> senderRecords;

private:
    QByteArray m_waiting;
};

QByteArray Ident(const char* maker = "BO", char model = '1', int groupDigits = 4)
{
    QByteArray id(32, ' ');
    id[0] = maker[0];
    id[1] = maker[1];
    id[3] = model;
    id[16] = char(40);
    id[17] = char(1000 >> 8);
    id[18] = char(1000 & 0xFF);
    id[19] = char(2);
    id[20] = char(groupDigits);
    return id;
}

} // namespace

TEST(TextRecordCodec, EncodesEachTagAtTheFatsWidths)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    ASSERT_TRUE(MakeTextProject(doc, FormatPseudo));
    ProjectData& d = doc.Data();
    CRecordList& records = doc.Records();
    records.AddRecordAt(TextRecord("P", "0007", "03", "Pseudo", "zwei", "00012"), 0);
    records.AddRecordAt(TextRecord("S", "00012", "3", "a", "b", "99"), 1);
    records.AddRecordAt(TextRecord("X", "0001", "01", "a", "b", ""), 2);
    records.AddRecordAt(TextRecord("S", "12345", "01", "a", "b", ""), 3);

    QByteArray wire;
    QString problem;
    ASSERT_TRUE(TextRecordCodec::EncodeRecord(records.At(0), 0, d, wire, problem));
    // type, group, detector, then the pseudo group, Text 1 and Text 2 filled with blanks
    EXPECT_EQ(wire, QByteArray("\x48"
                               "0007"
                               "03"
                               "00012") +
                        QByteArray("Pseudo").leftJustified(d.text1Length) +
                        QByteArray("zwei").leftJustified(20));
    EXPECT_EQ(wire.size(), TextRecordCodec::RecordLength('P', d));

    ASSERT_TRUE(TextRecordCodec::EncodeRecord(records.At(1), 1, d, wire, problem));
    EXPECT_EQ(wire.mid(1, 6), "001203") << "numbers at exactly their widths, no pseudo group";

    EXPECT_FALSE(TextRecordCodec::EncodeRecord(records.At(2), 2, d, wire, problem));
    EXPECT_EQ(problem, QString::fromUtf8("nicht unterstütztes Textformat"));
    EXPECT_FALSE(TextRecordCodec::EncodeRecord(records.At(3), 3, d, wire, problem));
    EXPECT_TRUE(problem.contains("Zeile 4")) << problem.toStdString();
}

TEST(TextRecordCodec, RecordLengthsAndTypesAsTheFatCountsThem)
{
    ProjectData d{};
    d.groupDigits = 4;
    d.detectorDigits = 2;
    d.pseudoGroupDigits = 5;
    for (const int display : {40, 41}) { // an odd display gives Text 2 the extra character
        d.displayChars = display;
        EXPECT_EQ(TextRecordCodec::RecordLength('S', d), display - 1) << display;
        EXPECT_EQ(TextRecordCodec::RecordLength('P', d), 4 + display - 1) << display;
        EXPECT_EQ(TextRecordCodec::RecordLength('F', d), 4 + 2 + display + 1) << display;
    }
    EXPECT_EQ(TextRecordCodec::RecordLength('X', d), -1);
    QByteArray tags; // by the upper four bits of the type byte
    for (const unsigned char type : {0x8F, 0x40, 0x2A, 0x18})
        tags += TextRecordCodec::TagOfType(type);
    EXPECT_EQ(tags, QByteArray("SPF\0", 4));
}

TEST(TextRecordCodec, DecodesWhatItEncodes)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    ASSERT_TRUE(MakeTextProject(doc, FormatTwoLines));
    doc.Records().AddRecordAt(TextRecord("F", "0010", "05", "Zeile eins", "Zeile zwei", ""), 0);
    QByteArray wire;
    QString problem;
    ASSERT_TRUE(TextRecordCodec::EncodeRecord(doc.Records().At(0), 0, doc.Data(), wire, problem));
    const char tag = TextRecordCodec::TagOfType(static_cast<unsigned char>(wire.at(0)));
    ASSERT_EQ(tag, 'F');
    const MessageRecord back = TextRecordCodec::DecodeRecord(wire, tag, doc.Data());
    EXPECT_EQ(back.group, "0010");
    EXPECT_EQ(back.detector, "05");
    EXPECT_EQ(back.text1, QByteArray("Zeile eins").leftJustified(20));
    EXPECT_EQ(back.text2, QByteArray("Zeile zwei").leftJustified(20));

    EXPECT_EQ(TextRecordCodec::HeaderCount(QByteArray::fromHex("ffff00000000")), -1);
    EXPECT_EQ(TextRecordCodec::HeaderOffset(QByteArray::fromHex("0002fffffffb")), -5);
    EXPECT_EQ(TextRecordCodec::OffsetBytes("-5", 22), QByteArray::fromHex("fffffffb"));
    EXPECT_EQ(TextRecordCodec::OffsetBytes("", 22), QByteArray::fromHex("00000000"));
}

TEST(TransferMachines, SendTextsByteInAnswerOut)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    ASSERT_TRUE(MakeTextProject(doc));
    doc.Records().AddRecordAt(TextRecord("S", "0001", "01", "a", "b", ""), 0);
    std::strcpy(doc.Data().groupOffset, "10");
    ScriptedSession session;
    std::atomic<int> state{0};
    CSendTextsMachine machine(session, doc, state);
    state = machine.StartState();
    ASSERT_TRUE(machine.Prepare());

    session.Arrive(machine, Ident());
    EXPECT_EQ(state.load(), AwaitReady);
    EXPECT_EQ(session.sent, "\x06");
    session.Arrive(machine, "\x15"); // not ready: ask again
    EXPECT_EQ(session.sent, "\x06\x06");
    session.Arrive(machine, "\x06");
    EXPECT_EQ(state.load(), AwaitCountEcho);
    for (const char* echo : {"\x00", "\x01"})
        session.Arrive(machine, QByteArray(echo, 1));
    EXPECT_EQ(state.load(), AwaitOffsetEcho);
    for (const char* echo : {"\x00", "\x00", "\x00", "\x0a"})
        session.Arrive(machine, QByteArray(echo, 1));
    EXPECT_EQ(state.load(), SenderRunning);
    EXPECT_EQ(session.sent, QByteArray::fromHex("0606"
                                                "0001"
                                                "0000000a"));
    ASSERT_EQ(session.senderRecords.size(), 1);
    EXPECT_EQ(session.senderRecords[0].size(), 39);
    EXPECT_EQ(session.status, "Daten werden gesendet");
    EXPECT_EQ(machine.OnTimeout(AwaitReady).kind, CTransferMachine::Verdict::KeepWaiting);
    EXPECT_STREQ(machine.OnTimeout(AwaitCountEcho).text, TransferText::SendAgain);
}

TEST(TransferMachines, WrongFatAndAnIdentificationOutsideTheLimits)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    ASSERT_TRUE(MakeTextProject(doc));
    ScriptedSession session;
    std::atomic<int> state{0};
    CSendTextsMachine send(session, doc, state);
    state = send.StartState();
    ASSERT_TRUE(send.Prepare());
    session.Arrive(send, Ident("EF"));
    EXPECT_EQ(state.load(), WrongFat);
    EXPECT_TRUE(session.sent.isEmpty());

    ScriptedSession reading;
    const ProjectData before = doc.Data();
    CReadTextsMachine read(reading, doc, state);
    state = read.StartState();
    reading.Arrive(read, Ident("BO", '1', 11));
    EXPECT_TRUE(reading.refused.contains("11 Stellen")) << reading.refused.toStdString();
    EXPECT_TRUE(reading.sent.isEmpty()) << "no \"L\"";
    EXPECT_EQ(doc.Data().groupDigits, before.groupDigits) << "the project is untouched";
}
