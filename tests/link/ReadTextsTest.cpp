#include "LinkFixture.h"

#include "CListCtrl.h"

namespace {

class ReadTexts : public LinkTest
{
protected:
    void SetUp() override
    {
        m_doc.Data().textFormat = FormatFromFat;
        m_doc.Data().panelType = PanelNone;
    }
    QByteArray Row(int row, int column) { return m_doc.List().GetItemText(row, column); }
};

} // namespace

TEST_F(ReadTexts, TwoRecordsInTheFatsOrder)
{
    const QByteArray r0 = SRecord("0002", "01", "Tür Süd", "Flur");
    const QByteArray r1 = SRecord("0001", "00", "Halle", "Erdgeschoss");
    StartFat({"--maker", "BO", "--version", "V3.01"}, StoreJson({r0, r1}, 10));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Success);
    EXPECT_EQ(Boxes(), QStringList{Ok()});

    // header 00 02 00 00 00 0A is acknowledged with 0x0C
    const QByteArray expected =
        QByteArray("TL") + Hex("0c") + char(Sum(r0)) + char(Sum(r1)) + Hex("04");
    EXPECT_EQ(m_fat.FromPc(), expected);

    const ProjectData& d = m_doc.Data();
    EXPECT_STREQ(d.groupOffset, "10");
    EXPECT_EQ(d.textFormat, FormatStandard);
    EXPECT_EQ(d.displayChars, 40);
    EXPECT_EQ(d.maxRecords, 1000);
    EXPECT_EQ(d.groupDigits, 4);
    EXPECT_EQ(d.detectorDigits, 2);
    EXPECT_EQ(d.pseudoGroupDigits, 5);
    EXPECT_EQ(d.text1Length, 12);
    EXPECT_EQ(d.text2Length, 20);
    EXPECT_EQ(d.panelType, 2);
    EXPECT_EQ(QByteArray(d.panelId), QByteArray("BO 1FATSIMV3.01 "));
    EXPECT_EQ(d.projectPath[0], '\0');

    ASSERT_EQ(m_doc.List().GetItemCount(), 2);
    EXPECT_EQ(Row(0, 0), QByteArray("S"));
    EXPECT_EQ(Row(0, 1), QByteArray("0002"));
    EXPECT_EQ(Row(0, 2), QByteArray());
    EXPECT_EQ(Row(0, 3), QByteArray("01"));
    EXPECT_EQ(Row(0, 4), QByteArray("Tür Süd").leftJustified(12));
    EXPECT_EQ(Row(0, 5), QByteArray("Flur").leftJustified(20));
    EXPECT_EQ(Row(1, 1), QByteArray("0001")); // not sorted
    EXPECT_EQ(m_doc.List().GetColumnCount(), 6);
}

TEST_F(ReadTexts, EmptyFatAfterTheSilence)
{
    StartFat(); // an empty store answers FF FF
    EXPECT_EQ(Run(::ReadTexts, TransferTimeouts()), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{"Hinweis|Im FAT befinden sich noch keine Texte"});
    EXPECT_EQ(m_fat.FromPc(), QByteArray("TL") + Hex("04")); // no acknowledgement
    EXPECT_STREQ(m_doc.Data().groupOffset, "");
    EXPECT_GE(m_elapsed, 2000);
}

TEST_F(ReadTexts, CountZeroEndsAtOnce)
{
    StartFat({}, StoreJson({}, 5));
    EXPECT_EQ(Run(::ReadTexts, TransferTimeouts()), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{"Hinweis|Im FAT befinden sich noch keine Texte"});
    EXPECT_STREQ(m_doc.Data().groupOffset, "5");
    EXPECT_EQ(m_fat.FromPc(), QByteArray("TL") + Hex("04"));
    EXPECT_LT(m_elapsed, 2000); // no silence waited for
}

TEST_F(ReadTexts, NegativeOffsetBecomesSignedText)
{
    StartFat({}, StoreJson({SRecord("0001", "01", "a", "b")}, -5));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Success);
    EXPECT_STREQ(m_doc.Data().groupOffset, "-5");
}

TEST_F(ReadTexts, SilentFat)
{
    StartFat({"--silent"});
    EXPECT_EQ(Run(::ReadTexts, TransferTimeouts()), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    EXPECT_EQ(m_fat.FromPc(), QByteArray("T") + Hex("04"));
    EXPECT_GE(m_elapsed, 2000);
}

TEST_F(ReadTexts, IdentificationOfAnotherLength)
{
    StartFat({"--ident-length", "33"}, StoreJson({SRecord("0001", "01", "a", "b")}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    EXPECT_EQ(m_fat.FromPc(), QByteArray("T") + Hex("04"));
    EXPECT_EQ(m_doc.Data().displayChars, 0); // nothing stored
}

TEST_F(ReadTexts, ShortRecordKeepsTheRowsBefore)
{
    const QByteArray r0 = SRecord("0001", "01", "a", "b");
    const QByteArray r1 = SRecord("0002", "01", "c", "d");
    StartFat({"--short-record", "1"}, StoreJson({r0, r1, SRecord("0003", "01", "e", "f")}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    EXPECT_EQ(m_fat.FromPc(),
              QByteArray("TL") + char(Sum(Hex("000300000000"))) + char(Sum(r0)) + Hex("04"));
    ASSERT_EQ(m_doc.List().GetItemCount(), 1);
    EXPECT_EQ(Row(0, 1), QByteArray("0001"));
}

TEST_F(ReadTexts, UnknownTypeIsDropped)
{
    StartFat({"--unknown-type", "0"}, StoreJson({SRecord("0001", "01", "a", "b")}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    EXPECT_EQ(m_doc.List().GetItemCount(), 0);
    EXPECT_EQ(m_doc.Data().textFormat, FormatFromFat); // an unknown type decides nothing
}

TEST_F(ReadTexts, PseudoGroupRecordsSetFormat3)
{
    // type, group 4, detector 2, pseudo group 5, text 1 11, text 2 20 = 43 bytes
    QByteArray p = QByteArray(1, char(0x48)) + "0007" + "03" + "00012" +
                   QByteArray("Pseudo").leftJustified(11) + QByteArray("Zwei").leftJustified(20);
    ASSERT_EQ(p.size(), 43);
    QByteArray f = QByteArray(1, char(0x28)) + "0008" + "04" +
                   QByteArray("Zeile eins").leftJustified(20) +
                   QByteArray("Zeile zwei").leftJustified(20);
    ASSERT_EQ(f.size(), 47);
    StartFat({}, StoreJson({p, f}));
    // the first record decides the format, whatever the project had before
    m_doc.Data().textFormat = FormatTwoLines;
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Success);
    EXPECT_EQ(m_doc.Data().textFormat, FormatPseudo);
    EXPECT_EQ(m_doc.Data().text1Length, 11);
    EXPECT_GT(m_doc.List().GetColumnWidth(2), 0);
    ASSERT_EQ(m_doc.List().GetItemCount(), 2);
    EXPECT_EQ(Row(0, 0), QByteArray("P"));
    EXPECT_EQ(Row(0, 1), QByteArray("0007"));
    EXPECT_EQ(Row(0, 2), QByteArray("00012"));
    EXPECT_EQ(Row(0, 3), QByteArray("03"));
    EXPECT_EQ(Row(0, 4), QByteArray("Pseudo").leftJustified(11));
    EXPECT_EQ(Row(1, 0), QByteArray("F"));
    EXPECT_EQ(Row(1, 2), QByteArray());
    EXPECT_EQ(Row(1, 4), QByteArray("Zeile eins").leftJustified(20));
    EXPECT_EQ(Row(1, 5), QByteArray("Zeile zwei").leftJustified(20));
}

TEST_F(ReadTexts, TooManyGroupDigitsReportsAndGoesOn)
{
    // 11 group digits: the "S" record is still displayChars - 1 = 39 bytes
    const QByteArray r = QByteArray(1, char(0x88)) + "00000000001" + "01" + "abcde" +
                         QByteArray("zwei").leftJustified(20);
    ASSERT_EQ(r.size(), 39);
    StartFat({"--group-digits", "11"}, StoreJson({r}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Success);
    EXPECT_EQ(Boxes(), (QStringList{"Quillmark|Beim Auslesen ist ein Fehler aufgetreten.", Ok()}));
    ASSERT_EQ(m_doc.List().GetItemCount(), 1);
    EXPECT_EQ(Row(0, 1), QByteArray("00000000001"));
}

TEST_F(ReadTexts, PanelDecodingOfTheFat)
{
    StartFat({"--maker", "EE", "--model", "2"}, StoreJson({SRecord("0001", "01", "a", "b")}));
    m_doc.Data().panelVariant = 5;
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Success);
    EXPECT_EQ(m_doc.Data().panelType, 3);
    EXPECT_EQ(m_doc.Data().panelVariant, 1);
}

TEST_F(ReadTexts, UnknownMakerKeepsThePanelType)
{
    StartFat({"--maker", "QQ"}, StoreJson({SRecord("0001", "01", "a", "b")}));
    m_doc.Data().panelType = PanelType::Notifier;
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Success);
    EXPECT_EQ(m_doc.Data().panelType, 6);
}

TEST_F(ReadTexts, HugeLayoutValuesStayInBounds)
{
    // A display of 200 characters announces records longer than any accepted one.
    StartFat({"--display", "200", "--group-digits", "200", "--detector-digits", "255"},
             StoreJson({SRecord("0001", "01", "a", "b")}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes().last(), QString(NoAnswer()));
    EXPECT_EQ(m_doc.List().GetItemCount(), 0);
    EXPECT_EQ(m_doc.Data().panelId[sizeof m_doc.Data().panelId - 1], '\0');
}

TEST_F(ReadTexts, PauseShorterThanTheSilenceIsWaitedFor)
{
    StartFat({"--pause", "600", "--pause-at", "record:1"},
             StoreJson({SRecord("0001", "01", "a", "b"), SRecord("0002", "01", "c", "d")}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Success);
    EXPECT_EQ(m_doc.List().GetItemCount(), 2);
}

TEST_F(ReadTexts, FatFallsSilentAfterOneRecord)
{
    StartFat({"--silent-at", "record:1"},
             StoreJson({SRecord("0001", "01", "a", "b"), SRecord("0002", "01", "c", "d")}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    EXPECT_EQ(m_doc.List().GetItemCount(), 1);
}

TEST_F(ReadTexts, UnpluggedDeviceEndsWithAMessage)
{
    StartFat({"--vanish-at", "record:1"},
             StoreJson({SRecord("0001", "01", "a", "b"), SRecord("0002", "01", "c", "d")}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{"Hinweis|Die Verbindung zum FAT wurde unterbrochen."});
    EXPECT_EQ(m_doc.List().GetItemCount(), 1);
    EXPECT_FALSE(m_serial.IsOpened());
}

TEST_F(ReadTexts, PortThatDoesNotOpen)
{
    m_serial.SetPortName(m_fat.Folder() + "/no-such-device");
    EXPECT_EQ(CHeadlessTransfer::Run(::ReadTexts, m_doc, m_serial, Quick()),
              CHeadlessTransfer::PortNotOpened);
    EXPECT_TRUE(Boxes().isEmpty());
}
