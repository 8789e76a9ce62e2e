#include "LinkFixture.h"

#include "CRecordList.h"

namespace {

class ReadTexts : public LinkTest
{
protected:
    void SetUp() override
    {
        m_doc.Data().textFormat = FormatFromFat;
        m_doc.Data().panelType = PanelNone;
    }
    QByteArray Row(int row, int column) { return m_doc.Records().GetItemText(row, column); }
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
    EXPECT_EQ(d.panelType, PanelType::Bosch);
    EXPECT_EQ(QByteArray(d.panelId), QByteArray("BO 1FATSIMV3.01 "));
    EXPECT_EQ(d.projectPath[0], '\0');

    ASSERT_EQ(m_doc.Records().GetCount(), 2);
    EXPECT_EQ(Row(0, Column::Tag), QByteArray("S"));
    EXPECT_EQ(Row(0, Column::Group), QByteArray("0002"));
    EXPECT_EQ(Row(0, Column::PseudoGroup), QByteArray());
    EXPECT_EQ(Row(0, Column::Detector), QByteArray("01"));
    EXPECT_EQ(Row(0, Column::Text1), QByteArray("Tür Süd").leftJustified(12));
    EXPECT_EQ(Row(0, Column::Text2), QByteArray("Flur").leftJustified(20));
    EXPECT_EQ(Row(1, Column::Group), QByteArray("0001")); // not sorted
    EXPECT_EQ(m_doc.Records().ColumnsShown(), true);
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
    ASSERT_EQ(m_doc.Records().GetCount(), 1);
    EXPECT_EQ(Row(0, Column::Group), QByteArray("0001"));
}

TEST_F(ReadTexts, UnknownTypeIsDropped)
{
    StartFat({"--unknown-type", "0"}, StoreJson({SRecord("0001", "01", "a", "b")}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    EXPECT_EQ(m_doc.Records().GetCount(), 0);
    EXPECT_EQ(m_doc.Data().textFormat, FormatFromFat); // an unknown type decides nothing
}

TEST_F(ReadTexts, PseudoGroupRecordsSetFormat3)
{
    // type, group 4, detector 2, pseudo group 5, text 1 11, text 2 20 = 43 bytes
    QByteArray p = QByteArray(1, char(0x48)) + "0007" + "03" + "00012" +
                   QByteArray("Pseudo").leftJustified(11) + QByteArray("Zwei").leftJustified(20);
    ASSERT_EQ(p.size(), 43);
    const QByteArray p2 = QByteArray(1, char(0x48)) + "0008" + "04" + "00013" +
                          QByteArray("Zeile eins").leftJustified(11) +
                          QByteArray("Zeile zwei").leftJustified(20);
    StartFat({}, StoreJson({p, p2}));
    // the first record decides the format, whatever the project had before
    m_doc.Data().textFormat = FormatTwoLines;
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Success);
    EXPECT_EQ(m_doc.Data().textFormat, FormatPseudo);
    EXPECT_EQ(m_doc.Data().text1Length, 11);
    EXPECT_TRUE(ColumnShown(m_doc.Records(), Column::PseudoGroup));
    ASSERT_EQ(m_doc.Records().GetCount(), 2);
    EXPECT_EQ(Row(0, Column::Tag), QByteArray("P"));
    EXPECT_EQ(Row(0, Column::Group), QByteArray("0007"));
    EXPECT_EQ(Row(0, Column::PseudoGroup), QByteArray("00012"));
    EXPECT_EQ(Row(0, Column::Detector), QByteArray("03"));
    EXPECT_EQ(Row(0, Column::Text1), QByteArray("Pseudo").leftJustified(11));
    EXPECT_EQ(Row(1, Column::PseudoGroup), QByteArray("00013"));
    EXPECT_EQ(Row(1, Column::Text1), QByteArray("Zeile eins").leftJustified(11));
    EXPECT_EQ(Row(1, Column::Text2), QByteArray("Zeile zwei").leftJustified(20));
}

TEST_F(ReadTexts, IdentificationOutsideTheLimitsEndsTheReading)
{
    // Projects with such values could be saved but never opened again.
    struct Case
    {
        QStringList options;
        QString problem;
    };
    const Case cases[] = {
        {{"--group-digits", "11"}, "Die Meldergruppen haben 11 Stellen; erlaubt sind 1 bis 10."},
        {{"--detector-digits", "12"}, "Die Melder haben 12 Stellen; erlaubt sind 1 bis 10."},
        {{"--display", "200", "--group-digits", "200", "--detector-digits", "255"},
         "Die Meldergruppen haben 200 Stellen; erlaubt sind 1 bis 10."},
        {{"--records", "0"}, "Das Projekt soll 0 Texte aufnehmen; erlaubt sind 1 bis 65534."},
        // maker letters a project file cannot hold: it would be saved and never open again
        {{"--maker", "XY"}, "Der Hersteller \"XY\" ist unbekannt."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        m_recorder.Clear();
        FatSimProcess fat{QStringLiteral(FATSIM_PATH)};
        ASSERT_TRUE(fat.WriteStore(StoreJson({SRecord("0001", "01", "a", "b")})));
        ASSERT_FALSE(fat.Start(c.options).isEmpty()) << fat.ErrorOutput().toStdString();
        m_serial.SetPortName(fat.Device());
        EXPECT_EQ(CHeadlessTransfer::Run(::ReadTexts, m_doc, m_serial, Quick()),
                  CHeadlessTransfer::Failure);
        fat.Stop();
        EXPECT_EQ(Boxes(),
                  QStringList{"Fehler|Die Kennung des FAT passt zu keinem Projekt: " + c.problem});
        EXPECT_EQ(fat.FromPc(), QByteArray("T\x04")) << "no \"L\": nothing more is read";
        EXPECT_EQ(m_doc.Records().GetCount(), 0);
        EXPECT_EQ(m_doc.Data().displayChars, 0) << "the project keeps its settings";
        EXPECT_EQ(m_doc.Data().panelType, PanelNone);
        EXPECT_FALSE(m_serial.IsOpened());
    }
}

TEST_F(ReadTexts, FirstRecordWhoseFormatLeavesNoRoomForText1EndsTheReading)
{
    // 16 display characters: a pseudo group record has 8 - 5 - 2 - 2 < 0 for Text 1.
    const QByteArray p = QByteArray(1, char(0x48)) + "0001" + "01" + "00007" + "1234567";
    ASSERT_EQ(p.size(), 4 + 16 - 1);
    StartFat({"--display", "16"}, StoreJson({p}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{QString::fromUtf8(
                           "Fehler|Die Kennung des FAT passt zu keinem Projekt: Die Anzeige mit "
                           "16 Zeichen ist zu klein für die Nummern vor Text 1.")});
    EXPECT_EQ(m_doc.Records().GetCount(), 0);
    EXPECT_NE(m_doc.Data().textFormat, FormatPseudo);
    EXPECT_EQ(m_fat.FromPc(), QByteArray("TL") + char(Sum(Hex("000100000000"))) + "\x04")
        << "the record is not acknowledged";
}

TEST_F(ReadTexts, PanelDecodingOfTheFat)
{
    // The variant before the reading, and what the FAT's maker and model digit make of it.
    const struct
    {
        const char *maker, *model;
        int typeBefore, variantBefore, type, variant;
    } cases[] = {
        {"EE", "2", PanelType::EffEff, 5, PanelType::EffEff, 1},
        {"AC", "3", PanelType::Alarmcom, 1, PanelType::Alarmcom, 1}, // same maker: kept
        {"BO", "1", PanelType::EffEff, 4, PanelType::Bosch, 0},      // no output card lists
    };
    for (const auto& c : cases) {
        StartFat({"--maker", c.maker, "--model", c.model},
                 StoreJson({SRecord("0001", "01", "a", "b")}));
        m_doc.Data().panelType = c.typeBefore;
        m_doc.Data().panelVariant = c.variantBefore;
        EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Success) << c.maker;
        EXPECT_EQ(m_doc.Data().panelType, c.type) << c.maker;
        EXPECT_EQ(m_doc.Data().panelVariant, c.variant) << c.maker;
    }
}

TEST_F(ReadTexts, RecordOfAnotherTypeEndsTheReading)
{
    // An "F" record after an "S" one would keep only 12 of its 20 characters of Text 1.
    const QByteArray s = SRecord("0001", "01", "a", "b");
    const QByteArray f = QByteArray(1, char(0x28)) + "0002" + "01" +
                         QByteArray("Zwanzig Zeichen Text") + QByteArray(20, ' ');
    StartFat({}, StoreJson({s, f, SRecord("0003", "01", "c", "d")}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{QString::fromUtf8(
                           "Fehler|Der 2. Text des FAT hat das Textformat \"F\", die Texte davor "
                           "\"S\". Ein FAT hält nur ein Textformat; die Übertragung wurde "
                           "abgebrochen.")});
    EXPECT_EQ(m_fat.FromPc(),
              QByteArray("TL") + char(Sum(Hex("000300000000"))) + char(Sum(s)) + Hex("04"))
        << "the F record is not acknowledged";
}

TEST_F(ReadTexts, PauseShorterThanTheSilenceIsWaitedFor)
{
    StartFat({"--pause", "600", "--pause-at", "record:1"},
             StoreJson({SRecord("0001", "01", "a", "b"), SRecord("0002", "01", "c", "d")}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Success);
    EXPECT_EQ(m_doc.Records().GetCount(), 2);
}

TEST_F(ReadTexts, FatFallsSilentAfterOneRecord)
{
    StartFat({"--silent-at", "record:1"},
             StoreJson({SRecord("0001", "01", "a", "b"), SRecord("0002", "01", "c", "d")}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    EXPECT_EQ(m_doc.Records().GetCount(), 1);
}

TEST_F(ReadTexts, UnpluggedDeviceEndsWithAMessage)
{
    StartFat({"--vanish-at", "record:1"},
             StoreJson({SRecord("0001", "01", "a", "b"), SRecord("0002", "01", "c", "d")}));
    EXPECT_EQ(Run(::ReadTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{"Hinweis|Die Verbindung zum FAT wurde unterbrochen."});
    EXPECT_EQ(m_doc.Records().GetCount(), 1);
    EXPECT_FALSE(m_serial.IsOpened());
}

TEST_F(ReadTexts, PortThatDoesNotOpen)
{
    m_serial.SetPortName(m_fat.Folder() + "/no-such-device");
    EXPECT_EQ(CHeadlessTransfer::Run(::ReadTexts, m_doc, m_serial, Quick()),
              CHeadlessTransfer::PortNotOpened);
    EXPECT_EQ(m_recorder.Boxes().size(), 1) << "the port's message";
}
