#include "LinkFixture.h"

#include "CFatCommands.h"
#include "CRecordList.h"
#include "TestFiles.h"

// Qt
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

// Transfers whose failure or layout once cost a technician a project file.
class DataSafety : public LinkTest
{
protected:
    static QByteArray Int(int v)
    {
        char b[4];
        qToLittleEndian<qint32>(v, b);
        return QByteArray(b, 4);
    }

    // A format-2 project file of 40 display characters and 2 detector digits, written byte
    // by byte as a panel maker's project with its five-character group field.
    static QByteArray FileWithFiveCharacterGroup(const char* panelId, int groupDigits)
    {
        QByteArray bytes("Korvalin GmbH");
        bytes += Int(2) + Int(40) + Int(1000) + Int(groupDigits) + Int(5) + Int(2) + Int(0);
        bytes += 'N' + QByteArray(99, ' ');
        bytes += QByteArray(panelId).leftJustified(30, '\0');
        bytes += "S00012"
                 "07" +
                 QByteArray("alt").leftJustified(20 - groupDigits - 2 - 2) +
                 QByteArray("zwei").leftJustified(20);
        return bytes + "E";
    }

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_fat.Folder() + "/" + name;
        EXPECT_TRUE(WriteTestFile(path, bytes));
        return path;
    }

    static QByteArray Read(const QString& path) { return ReadTestFile(path); }

    static bool Load(CQuillmarkDoc& doc, const QString& path)
    {
        doc.OpenProjectPath(path);
        return doc.LoadProject();
    }

    static MessageRecord Entry(const char* group, const char* detector, const char* text1)
    {
        MessageRecord r;
        r.formatTag = "S";
        r.group = group;
        r.detector = detector;
        r.text1 = text1;
        r.text2 = "neu";
        return r;
    }

    // A project saved in a real file, then loaded as the editor would open it.
    QString SavedProject(QByteArray& bytes)
    {
        MakeProject();
        AddRow("S", "0001", "01", "Eingang", "Halle 1");
        const QString path = m_fat.Folder() + "/alt.bmt";
        m_recorder.FileNext(path);
        EXPECT_TRUE(m_doc.SaveProject(CQuillmarkDoc::SaveAs));
        bytes = Read(path);
        EXPECT_TRUE(Load(m_doc, path));
        return path;
    }

    CFatCommands Commands()
    {
        return CFatCommands(m_doc, [this](int mode, const std::function<void()>& opened) {
            return Run(mode, Quick(), opened) == CHeadlessTransfer::Success;
        });
    }
};

} // namespace

TEST_F(DataSafety, SaveAfterAFailedReadAsksForANewName)
{
    QByteArray before;
    const QString path = SavedProject(before);
    StartFat({"--silent"});
    EXPECT_FALSE(Commands().ReadTexts());
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    EXPECT_EQ(m_doc.Records().GetCount(), 0);
    EXPECT_EQ(QFileInfo(m_doc.ProjectPath()).completeBaseName(), "Unbenannt");

    // "S&peichern": a name is asked for; cancelling it keeps the old file.
    m_recorder.FileNext(QString());
    EXPECT_FALSE(m_doc.SaveProject(CQuillmarkDoc::Save));
    ASSERT_EQ(m_recorder.Entries().last().kind, CMessageRecorder::SaveDialog);
    EXPECT_EQ(Read(path), before);
    // The close question answered Yes asks for the name as well.
    m_recorder.AnswerNext(msg::IdYes);
    m_recorder.FileNext(QString());
    EXPECT_FALSE(m_doc.SaveProject(CQuillmarkDoc::SaveIfWanted));
    EXPECT_EQ(m_recorder.Entries().last().kind, CMessageRecorder::SaveDialog);
    EXPECT_EQ(Read(path), before);
}

TEST_F(DataSafety, ReadWhosePortDidNotOpenChangesNothing)
{
    QByteArray before;
    const QString path = SavedProject(before);
    m_serial.SetPortName(m_fat.Folder() + "/no-such-device");
    EXPECT_FALSE(Commands().ReadTexts());
    EXPECT_EQ(Boxes(), QStringList{"Quillmark|" + m_fat.Folder() +
                                   "/no-such-device konnte nicht geöffnet werden: Datei oder "
                                   "Verzeichnis nicht gefunden"});
    EXPECT_EQ(m_doc.Records().GetCount(), 1);
    EXPECT_EQ(m_doc.GetPathName(), path);
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(DataSafety, FiveCharacterGroupsRoundTripToTheWire)
{
    for (const char* panelId : {"EF 1", "MM 1"}) {
        for (int digits : {4, 5}) {
            SCOPED_TRACE(std::string(panelId) + ", " + std::to_string(digits) + " digits");
            m_recorder.Clear();
            const QString path = Write("five.bmt", FileWithFiveCharacterGroup(panelId, digits));
            CQuillmarkDoc doc;
            ASSERT_TRUE(Load(doc, path));
            EXPECT_EQ(doc.Records().InsertRecord(Entry("3", "1", "neu")).row, 0);
            EXPECT_EQ(doc.Records().InsertRecord(Entry("12", "7", "ersetzt")).row, 1)
                << "the loaded key and the typed one are the same";
            ASSERT_EQ(doc.Records().GetCount(), 2);
            m_recorder.FileNext(path);
            ASSERT_TRUE(doc.SaveProject(CQuillmarkDoc::SaveAs));

            ASSERT_TRUE(Load(m_doc, path));
            ASSERT_EQ(m_doc.Records().GetCount(), 2);
            const QByteArray g3 = QByteArray("00003").right(digits);
            const QByteArray g12 = QByteArray("00012").right(digits);
            EXPECT_EQ(m_doc.Records().GetItemText(1, Column::Group), g12);

            FatSimProcess fat{QStringLiteral(FATSIM_PATH)};
            ASSERT_FALSE(fat.Start({"--maker", QByteArray(panelId, 2), "--group-digits",
                                    QString::number(digits)})
                             .isEmpty());
            m_serial.SetPortName(fat.Device());
            EXPECT_EQ(CHeadlessTransfer::Run(::SendTexts, m_doc, m_serial, Quick()),
                      CHeadlessTransfer::Success);
            fat.Stop();
            EXPECT_EQ(Boxes(), QStringList{OkWrite()});

            // The FAT's layout: type, group, detector, Text 1, Text 2 = displayChars - 1.
            const int text1 = 20 - digits - 2 - 2;
            const QByteArray r0 = QByteArray(1, char(0x88)) + g3 + "01" +
                                  QByteArray("neu").leftJustified(text1) +
                                  QByteArray("neu").leftJustified(20);
            const QByteArray r1 = QByteArray(1, char(0x88)) + g12 + "07" +
                                  QByteArray("ersetzt").leftJustified(text1) +
                                  QByteArray("neu").leftJustified(20);
            ASSERT_EQ(r0.size(), 39);
            EXPECT_EQ(fat.FromPc(), QByteArray("T") + Hex("06") + Hex("0002") + Hex("00000000") +
                                        r0 + r1 + Hex("04"));
            QFile store(fat.StorePath());
            ASSERT_TRUE(store.open(QIODevice::ReadOnly));
            const QJsonArray records =
                QJsonDocument::fromJson(store.readAll()).object()["records"].toArray();
            ASSERT_EQ(records.size(), 2);
            EXPECT_EQ(QByteArray::fromHex(records[1].toString().toLatin1()), r1);
        }
    }
}
