#include "LinkFixture.h"

namespace {

class LzCoding : public LinkTest
{
protected:
    void SetUp() override
    {
        MakeProject();
        for (int i = 0; i < 255; ++i)
            m_doc.Data().lzAssignment[i] = char(i % 5);
    }
    QByteArray Table() const
    {
        return QByteArray(const_cast<LzCoding*>(this)->m_doc.Data().lzAssignment, 255);
    }
    static QByteArray StoreWithLz(const QByteArray& table)
    {
        QJsonObject o;
        o["lz"] = QString::fromLatin1(table.toHex());
        return QJsonDocument(o).toJson();
    }
};

} // namespace

TEST_F(LzCoding, SendWritesTheTable)
{
    const QByteArray table = Table();
    StartFat();
    EXPECT_EQ(Run(::SendLzCoding), CHeadlessTransfer::Success);
    EXPECT_EQ(Boxes(), QStringList{OkWrite()}); // with its full stop
    EXPECT_EQ(m_fat.FromPc(), QByteArray("T") + Hex("07") + table + Hex("00") + Hex("04"));
    EXPECT_EQ(m_fat.FromFat().mid(32), Hex("06") + table);
    EXPECT_EQ(QByteArray::fromHex(StoreAfter()["lz"].toString().toLatin1()), table);
}

TEST_F(LzCoding, SendNotReadyRepeatsTheCommand)
{
    StartFat({"--not-ready", "2"});
    EXPECT_EQ(Run(::SendLzCoding), CHeadlessTransfer::Success);
    EXPECT_TRUE(m_fat.FromPc().startsWith(QByteArray("T") + Hex("070707") + Table().left(1)));
}

TEST_F(LzCoding, SendToAnotherFat)
{
    StartFat({"--maker", "SI"});
    EXPECT_EQ(Run(::SendLzCoding), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{"Hinweis|Falsches FAT"});
    EXPECT_EQ(m_fat.FromPc(), QByteArray("T") + Hex("04"));
}

TEST_F(LzCoding, SendWrongEcho)
{
    const QByteArray table = Table();
    StartFat({"--wrong-echo", "10"});
    EXPECT_EQ(Run(::SendLzCoding, TransferTimeouts()), CHeadlessTransfer::Failure);
    ASSERT_EQ(m_recorder.Boxes().size(), 1);
    EXPECT_EQ(m_recorder.Boxes()[0].text, "Das FAT läßt sich nicht mehr Programmieren.");
    EXPECT_EQ(m_recorder.Boxes()[0].icon, msg::Error);
    EXPECT_EQ(m_fat.FromPc(), QByteArray("T") + Hex("07") + table.left(11) + Hex("04"));
    EXPECT_GE(m_elapsed, 2000);
}

TEST_F(LzCoding, SendMissingEcho)
{
    StartFat({"--silent-at", "echo:100"});
    EXPECT_EQ(Run(::SendLzCoding, TransferTimeouts()), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(),
              QStringList{"Hinweis|Es ist ein Fehler aufgetreten. Texte bitte nochmal senden."});
}

TEST_F(LzCoding, SendSilentFat)
{
    StartFat({"--silent"});
    EXPECT_EQ(Run(::SendLzCoding), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
}

TEST_F(LzCoding, ReadAllTwos)
{
    StartFat({}, StoreWithLz(QByteArray(255, char(2))));
    m_doc.SetModifiedFlag(false);
    EXPECT_EQ(Run(::ReadLzCoding, TransferTimeouts()), CHeadlessTransfer::Success);
    EXPECT_EQ(Boxes(), QStringList{Ok()}); // without a full stop
    // 255 x 2 modulo 256 = 0xFE
    EXPECT_EQ(m_fat.FromPc(), QByteArray("TC") + Hex("fe") + Hex("04"));
    EXPECT_EQ(Table(), QByteArray(255, char(2)));
    EXPECT_EQ(m_doc.Data().lzAssignment[255], '\0');
    EXPECT_FALSE(m_doc.IsModified());
    // the verdict is followed by the short silence only
    EXPECT_LT(m_elapsed, 2000);
}

TEST_F(LzCoding, ReadRejectedKeepsTheEntries)
{
    StartFat({"--wrong-verdict"}, StoreWithLz(QByteArray(255, char(3))));
    EXPECT_EQ(Run(::ReadLzCoding), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{"Hinweis|Die LZ-Codierung wurde falsch empfangen."});
    EXPECT_EQ(Table(), QByteArray(255, char(3)));
}

TEST_F(LzCoding, ReadTableWithoutEndByteStoresNothing)
{
    const QByteArray before = Table();
    StartFat({"--lz-bad-end"}, StoreWithLz(QByteArray(255, char(1))));
    EXPECT_EQ(Run(::ReadLzCoding), CHeadlessTransfer::Failure);
    EXPECT_EQ(m_fat.FromPc(), QByteArray("TC") + Hex("00") + Hex("04"));
    EXPECT_EQ(Boxes(), QStringList{"Hinweis|Die LZ-Codierung wurde falsch empfangen."});
    EXPECT_EQ(Table(), before);
}

TEST_F(LzCoding, ReadWithoutTable)
{
    StartFat({"--silent-at", "lzdata"});
    EXPECT_EQ(Run(::ReadLzCoding, TransferTimeouts()), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    EXPECT_EQ(m_fat.FromPc(), QByteArray("TC") + Hex("04"));
    EXPECT_GE(m_elapsed, 2000);
}

TEST_F(LzCoding, ReadWithoutVerdict)
{
    StartFat({"--silent-at", "verdict"});
    EXPECT_EQ(Run(::ReadLzCoding, TransferTimeouts()), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    EXPECT_GE(m_elapsed, 2000);
}

TEST_F(LzCoding, ReadOfATooLongTableIsNeverTaken)
{
    // An identification of 33 bytes: the 32 are never exactly what waits.
    StartFat({"--ident-length", "33"});
    EXPECT_EQ(Run(::ReadLzCoding), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    EXPECT_EQ(m_fat.FromPc(), QByteArray("T") + Hex("04"));
}
