#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "CRecordList.h"
#include "ProjectRules.h"

// Qt
#include <QAbstractItemModelTester>
#include <QItemSelectionModel>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A format-2 project of 4 group and 2 detector digits on a 2 x 20 display.
class RecordListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProjectData& d = doc.Data();
        d.textFormat = FormatStandard;
        d.displayChars = 40;
        d.maxRecords = 1000;
        d.groupDigits = 4;
        d.detectorDigits = 2;
        d.pseudoGroupDigits = 3;
        ASSERT_TRUE(doc.SetupListColumns());
    }

    static MessageRecord Rec(const char* group, const char* detector, const char* text1 = "",
                             const char* tag = "S", const char* pseudo = "")
    {
        MessageRecord r;
        r.group = group;
        r.detector = detector;
        r.text1 = text1;
        r.formatTag = tag;
        r.pseudoGroup = pseudo;
        return r;
    }

    QByteArray Key(int row)
    {
        return doc.Records().GetItemText(row, Column::Group) + "/" +
               doc.Records().GetItemText(row, Column::Detector);
    }

    CMessageRecorder messages;
    CQuillmarkDoc doc;
    CRecordList& list = doc.Records();
};

} // namespace

TEST_F(RecordListTest, PadsAndKeepsKeyOrder)
{
    EXPECT_EQ(list.InsertRecord(Rec("7", "3", "sieben")).row, 0);
    EXPECT_EQ(Key(0), "0007/03");
    EXPECT_EQ(list.InsertRecord(Rec("12", "1")).row, 1) << "greater key appends";
    EXPECT_EQ(list.InsertRecord(Rec("7", "0")).row, 0) << "detector 00 before 03";
    EXPECT_EQ(list.InsertRecord(Rec("8", "99")).row, 2);
    EXPECT_EQ(Key(0), "0007/00");
    EXPECT_EQ(Key(1), "0007/03");
    EXPECT_EQ(Key(2), "0008/99");
    EXPECT_EQ(Key(3), "0012/01");
    EXPECT_TRUE(messages.Entries().isEmpty());
}

TEST_F(RecordListTest, SameKeyReplacesTextsAndReturnsItsRow)
{
    list.InsertRecord(Rec("7", "3", "alt"));
    list.InsertRecord(Rec("9", "1"));
    MessageRecord again = Rec("0007", "03", "neu");
    again.text2 = "zwei";
    EXPECT_EQ(list.InsertRecord(again).row, 0);
    EXPECT_EQ(doc.Records().GetCount(), 2);
    MessageRecord got;
    list.GetRecord(got, 0);
    EXPECT_EQ(got.text1, "neu");
    EXPECT_EQ(got.text2, "zwei");
}

TEST_F(RecordListTest, LeavesTheCallersRecordUnpadded)
{
    const MessageRecord r = Rec("7", "3");
    list.InsertRecord(r);
    EXPECT_EQ(r.group, "7");
    EXPECT_EQ(r.detector, "3");
}

TEST_F(RecordListTest, ChecksRunInOrderWithTheirTextsAndCaptions)
{
    struct Case
    {
        MessageRecord rec;
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        {Rec("", ""), "Das Feld MelderGruppe muß ausgefüllt werden !", "Hinweis"},
        {Rec("+", ""), "Die Kartennummer fehlt noch !", "Hinweis"},
        {Rec("0", ""), "Die MelderGruppe 0 ist nicht zulässig !", "Hinweis"},
        {Rec("00", "5"), "Die MelderGruppe 0 ist nicht zulässig !", "Hinweis"},
        {Rec("+0", "5"), "Die MelderGruppe 0 ist nicht zulässig !", "Hinweis"},
        {Rec("+3", "33"), "Der Eingabebereich für \"Melder\" geht von 1 - 32 !", "Hinweis"},
        {Rec("+3", ""), "Der Eingabebereich für \"Melder\" geht von 1 - 32 !", "Hinweis"},
        {Rec("+3", "0"), "Der Eingabebereich für \"Melder\" geht von 1 - 32 !", "Hinweis"},
        {Rec("5", "", "", "P", ""), "Das Feld Pseudo MelderGruppe muß ausgefüllt werden !",
         "Hinweis"},
        {Rec("5", ""), "Das Feld Melder muß ausgefüllt werden !", "Hinweis"},
    };
    for (const Case& c : cases) {
        const InsertResult result = list.InsertRecord(c.rec);
        EXPECT_EQ(result.row, -1) << c.text;
        EXPECT_EQ(result.refusal.text, QString::fromUtf8(c.text));
        EXPECT_EQ(result.refusal.caption, QString::fromUtf8(c.caption));
    }
    EXPECT_EQ(doc.Records().GetCount(), 0);
    EXPECT_TRUE(messages.Entries().isEmpty()) << "the caller shows the refusal";
}

TEST_F(RecordListTest, FullListRefusesEvenAnExistingKey)
{
    doc.Data().maxRecords = 2;
    list.InsertRecord(Rec("1", "1"));
    list.InsertRecord(Rec("2", "1"));
    const InsertResult full = list.InsertRecord(Rec("1", "1", "neu"));
    EXPECT_EQ(full.row, -1);
    EXPECT_EQ(full.refusal.text, "Es können nicht mehr als 2 Texte dargestellt werden !");
    EXPECT_EQ(full.refusal.caption, "Fehler");
    // The full-list check comes before every other check.
    EXPECT_TRUE(
        list.InsertRecord(Rec("", "")).refusal.text.startsWith("Es können nicht mehr als 2"));
}

TEST_F(RecordListTest, CardGroupsPadBehindThePlusAndSortFirst)
{
    list.InsertRecord(Rec("1", "1"));
    EXPECT_EQ(list.InsertRecord(Rec("+3", "32")).row, 0);
    EXPECT_EQ(Key(0), "+003/32");
    EXPECT_EQ(Key(1), "0001/01");
}

TEST_F(RecordListTest, PseudoGroupIsPaddedOnlyForTagP)
{
    list.InsertRecord(Rec("1", "1", "", "P", "7"));
    list.InsertRecord(Rec("2", "1", "", "S", "7"));
    EXPECT_EQ(doc.Records().GetItemText(0, Column::PseudoGroup), "007");
    EXPECT_EQ(doc.Records().GetItemText(1, Column::PseudoGroup), "7");
}

TEST_F(RecordListTest, RawRowsKeepTheirOrderAndInsertPlacesBeforeFirstGreater)
{
    list.AddRecordAt(Rec("0003", "01"), 0);
    list.AddRecordAt(Rec("0009", "01"), 1);
    list.AddRecordAt(Rec("0005", "01"), 2);
    EXPECT_EQ(list.InsertRecord(Rec("4", "1")).row, 1)
        << "scans from the first row and stops at the first greater key";
    EXPECT_EQ(Key(2), "0009/01");
    EXPECT_EQ(Key(3), "0005/01");
    EXPECT_EQ(list.InsertRecord(Rec("6", "1")).row, 4) << "greater than the last row: append";
}

TEST(RecordListHelpers, PadZerosAndIncrementNumber)
{
    EXPECT_EQ(CRecordList::PadZeros("98765", 3), "765");
    EXPECT_EQ(CRecordList::PadZeros("5", 3), "005");
    EXPECT_EQ(CRecordList::PadZeros("", 2), "00");
    EXPECT_EQ(CRecordList::PadZeros("12", 0), "");
    QByteArray n = "0999";
    CRecordList::IncrementNumber(n);
    EXPECT_EQ(n, "1000");
    n = "999";
    CRecordList::IncrementNumber(n);
    EXPECT_EQ(n, "1000");
    n = "09";
    CRecordList::IncrementNumber(n);
    EXPECT_EQ(n, "10");
    n = "0041";
    CRecordList::IncrementNumber(n);
    EXPECT_EQ(n, "0042");
    n = "";
    CRecordList::IncrementNumber(n);
    EXPECT_EQ(n, "1");
}

TEST(RecordListHelpers, DecimalValueReadsLikeTheOrdinaryConversion)
{
    EXPECT_EQ(CRecordList::DecimalValue("  -25x"), -25);
    EXPECT_EQ(CRecordList::DecimalValue("+0"), 0);
    EXPECT_EQ(CRecordList::DecimalValue("abc"), 0);
    EXPECT_EQ(CRecordList::DecimalValue("0012"), 12);
    EXPECT_GT(CRecordList::DecimalValue("99999999999999999999999"), 0) << "no overflow";
}

TEST_F(RecordListTest, GetRecordForEditTrimsOnlyFullWidthTexts)
{
    MessageRecord r = Rec("0001", "01");
    r.text1 = "abc         "; // 12 = text1Length
    r.text2 = "xy  ";
    list.AddRecordAt(r, 0);
    r.text1 = QByteArray(12, ' ');
    list.AddRecordAt(r, 1);
    MessageRecord got;
    list.GetRecordForEdit(got, 0);
    EXPECT_EQ(got.text1, "abc");
    EXPECT_EQ(got.text2, "xy  ") << "shorter than text2Length: unchanged";
    list.GetRecordForEdit(got, 1);
    EXPECT_EQ(got.text1, "");
    got.formatTag = "P";
    list.GetRecordForEdit(got, -1);
    EXPECT_TRUE(got.group.isEmpty() && got.detector.isEmpty() && got.text2.isEmpty());
    EXPECT_EQ(got.formatTag, "P") << "the tag stays";
}

TEST_F(RecordListTest, ModelPassesTheItemModelTester)
{
    QAbstractItemModelTester tester(&doc.Records(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.InsertRecord(Rec("3", "1"));
    list.InsertRecord(Rec("1", "1"));
    list.InsertRecord(Rec("1", "1", "neu"));
    doc.Records().DeleteItem(0);
    doc.Records().DeleteAllItems();
    EXPECT_EQ(doc.Records().rowCount(), 0);
}

TEST(SetupListColumns, DerivesLengthsAndColumns)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    ProjectData& d = doc.Data();
    d.textFormat = FormatStandard;
    d.displayChars = 40;
    d.groupDigits = 4;
    d.detectorDigits = 2;
    d.pseudoGroupDigits = 3;
    ASSERT_TRUE(doc.SetupListColumns());
    EXPECT_EQ(d.text1Length, 12);
    EXPECT_EQ(d.text2Length, 20);
    CRecordList& list = doc.Records();
    ASSERT_TRUE(list.ColumnsShown());
    const auto header = [&list](int column) {
        return list.headerData(column, Qt::Horizontal).toString();
    };
    const auto samples = [&list](int column) {
        return list.headerData(column, Qt::Horizontal, CRecordList::WidthSamplesRole)
            .toStringList();
    };
    const auto editable = [&list] {
        return bool(list.flags(list.index(0, Column::Text1)) & Qt::ItemIsEditable);
    };
    list.AddRecordAt(MessageRecord(), 0);
    EXPECT_TRUE(samples(0).isEmpty());
    EXPECT_TRUE(samples(2).isEmpty()) << "pseudo group hidden outside format 3";
    EXPECT_EQ(header(1), "MelderGruppe");
    EXPECT_EQ(header(3), "Melder");
    EXPECT_EQ(samples(4), QStringList{QString(12, 'W')});
    EXPECT_EQ(samples(1), (QStringList{"MelderGruppe", "WWWW"}));

    d.textFormat = FormatTwoLines;
    d.panelType = PanelType::Notifier;
    d.panelVariant = 1;
    ASSERT_TRUE(doc.SetupListColumns());
    EXPECT_EQ(d.text1Length, 20);
    EXPECT_EQ(header(1), "Zentrale / Loop");
    EXPECT_EQ(header(3), "Adresse");
    EXPECT_FALSE(editable());

    d.textFormat = FormatPseudo;
    d.panelType = PanelType::Bosch;
    d.panelVariant = 0;
    ASSERT_TRUE(doc.SetupListColumns());
    EXPECT_EQ(d.text1Length, 20 - 3 - 2 - 2);
    EXPECT_EQ(samples(2), QStringList{"Pseudo MG"});
    EXPECT_TRUE(editable());
    EXPECT_TRUE(messages.Entries().isEmpty());
}

TEST(SetupListColumns, MoreThanTenGroupDigitsFail)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    doc.Data().textFormat = FormatTwoLines;
    doc.Data().displayChars = 40;
    doc.Data().groupDigits = 11;
    EXPECT_FALSE(doc.SetupListColumns());
    EXPECT_EQ(messages.Texts(), QStringList{"Beim Auslesen ist ein Fehler aufgetreten."});
    EXPECT_FALSE(doc.Records().ColumnsShown()) << "only the hidden tag column stays";
}

TEST(ProjectRules, DecodesPanelIdsOfBothKinds)
{
    struct Case
    {
        const char* id;
        int type, fileVariant, fatVariant;
    };
    const Case cases[] = {
        {"AC 2", 0, 1, 1}, {"AC 1", 0, 9, 0}, {"AT 1", 1, 9, 9}, {"BO 1", 2, 9, 9},
        {"EE 2", 3, 1, 1}, {"EE 4", 3, 4, 4}, {"EE 5", 3, 5, 5}, {"EE 7", 3, 1, 0},
        {"EF 1", 4, 9, 9}, {"MM 1", 5, 9, 9}, {"NF 1", 6, 9, 9}, {"SI 1", 7, 0, 0},
        {"SI 2", 7, 1, 1}, {"SI 3", 7, 9, 9}, {"TW 1", 8, 9, 9},
    };
    for (const Case& c : cases) {
        char id[31] = {};
        std::strcpy(id, c.id);
        int type = -1, variant = 9;
        ASSERT_TRUE(ProjectRules::DecodePanelIdFile(id, type, variant)) << c.id;
        EXPECT_EQ(type, c.type) << c.id;
        EXPECT_EQ(variant, c.fileVariant) << c.id << " (file)";
        variant = 9;
        ASSERT_TRUE(ProjectRules::DecodePanelIdFat(id, type, variant));
        EXPECT_EQ(variant, c.fatVariant) << c.id << " (FAT)";
    }
    // The model digit is byte 3 whatever byte 2 holds, a NUL included.
    const Case nulCases[] = {{"AC", 0, 1, 1}, {"SI", 7, 1, 1}, {"EE", 3, 1, 1}};
    for (const Case& c : nulCases) {
        char id[31] = {};
        std::strcpy(id, c.id);
        id[3] = '2';
        int type = -1, variant = 9;
        ASSERT_TRUE(ProjectRules::DecodePanelIdFile(id, type, variant)) << c.id;
        EXPECT_EQ(variant, c.fileVariant) << c.id << " (file)";
        variant = 9;
        ASSERT_TRUE(ProjectRules::DecodePanelIdFat(id, type, variant));
        EXPECT_EQ(variant, c.fatVariant) << c.id << " (FAT)";
    }
    char unknown[31] = "XY 1";
    int type = 3, variant = 4;
    EXPECT_FALSE(ProjectRules::DecodePanelIdFile(unknown, type, variant));
    EXPECT_EQ(type, 3);
}

TEST(ProjectRules, RuleTableFollowsTypeVariantAndFormat)
{
    ProjectData d{};
    d.textFormat = FormatStandard;
    d.panelType = PanelType::EffEff;
    d.panelVariant = 4;
    EXPECT_FALSE(ProjectRules::ConvertFormatEnabled(d));
    EXPECT_FALSE(ProjectRules::BmfImportEnabled(d));
    EXPECT_TRUE(ProjectRules::OutputCardLists(d));
    EXPECT_FALSE(ProjectRules::LabelEditAllowed(d));
    d.panelType = PanelType::Notifier;
    d.panelVariant = 0;
    EXPECT_FALSE(ProjectRules::ConvertFormatEnabled(d));
    EXPECT_TRUE(ProjectRules::BmfImportEnabled(d));
    EXPECT_EQ(ProjectRules::OffsetDigits(d), 5);
    d.panelType = PanelType::Siemens;
    d.panelVariant = 1;
    EXPECT_TRUE(ProjectRules::PanelTextImportEnabled(d));
    EXPECT_FALSE(ProjectRules::PanelInfoEnabled(d));
    d.panelType = PanelType::Bosch;
    EXPECT_TRUE(ProjectRules::LzCodingEnabled(d));
    EXPECT_EQ(ProjectRules::OffsetDigits(d), d.groupDigits);
    d.textFormat = FormatFromFat;
    EXPECT_FALSE(ProjectRules::EditingEnabled(d));
    EXPECT_FALSE(ProjectRules::OffsetEnabled(d));
    d.panelType = PanelType::Esser;
    d.groupDigits = 3;
    EXPECT_EQ(ProjectRules::FileGroupWidth(d), 5);
    EXPECT_EQ(ProjectRules::ModelText(3, 5), "WINMAG");
    EXPECT_EQ(ProjectRules::ModelText(0, 1), "Zentrale: FC 330A mit Eingangskarte");
    EXPECT_EQ(ProjectRules::ModelText(3, 1), "Zentralen: BMC 1024-F / BMC 1016-F / BMC 664-F");
    EXPECT_EQ(ProjectRules::PrintModelText(8, 0), "FAST 2000");
    EXPECT_EQ(ProjectRules::ModelText(8, 0), "Zentrale: Fast 2000");
}

TEST(ProjectRules, TitleSuffixShowsANonZeroOffset)
{
    ProjectData d{};
    d.textFormat = FormatStandard;
    EXPECT_EQ(ProjectRules::TitleSuffix(d), "[ Standardeingabe ]");
    std::strcpy(d.groupOffset, "0");
    EXPECT_EQ(ProjectRules::TitleSuffix(d), "[ Standardeingabe ]");
    std::strcpy(d.groupOffset, "-25");
    EXPECT_EQ(ProjectRules::TitleSuffix(d), "[ Standardeingabe mit einem Offset von -25 ]");
    d.textFormat = FormatTwoLines;
    EXPECT_EQ(ProjectRules::TitleSuffix(d), "[ 2x20 Zeichen ]");
}

TEST(ProjectRules, DefaultLzAssignment)
{
    ProjectData d{};
    ProjectRules::SetDefaultLzAssignment(d);
    for (int i = 0; i < 255; ++i) {
        const int expected = (i == 12 || i == 27) ? 4 : (i == 14 || i == 16) ? 1 : i == 31 ? 3 : 2;
        EXPECT_EQ(d.lzAssignment[i], expected) << i;
    }
    EXPECT_EQ(d.lzAssignment[255], 0);
}
