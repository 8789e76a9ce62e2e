#include "FormatConversion.h"
#include "ImportKit.h"

#include <cstring>

namespace {

const QString kWarning = QStringLiteral("Hierdurch können Zeichen verloren gehen.");
const QString kCheck = QStringLiteral("Kontrollieren Sie alle Daten auf ihre Richtigkeit.");

class ConversionTest : public ImportTest
{
protected:
    // A project of 4 group, 3 pseudo group and 2 detector digits.
    void Make(int textFormat, int panelType = 1, const char* panelId = "AT 1")
    {
        Project(textFormat, panelType, panelId);
        doc.Data().pseudoGroupDigits = 3;
        ASSERT_TRUE(doc.SetupListColumns());
    }
    void Add(const char* group, const char* detector, const QByteArray& text1,
             const QByteArray& text2 = "zwei")
    {
        MessageRecord rec;
        rec.formatTag = ProjectRules::FormatTag(doc.Data().textFormat);
        rec.group = group;
        rec.detector = detector;
        rec.pseudoGroup = rec.formatTag == "P" ? "5" : "";
        rec.text1 = text1;
        rec.text2 = text2;
        ASSERT_GE(doc.Records().InsertRecord(rec).row, 0);
        doc.SetModifiedFlag(false);
    }
    void SetOffset(const char* offset)
    {
        std::memset(doc.Data().groupOffset, 0, sizeof doc.Data().groupOffset);
        std::strcpy(doc.Data().groupOffset, offset);
    }
    bool Run(int answer)
    {
        FormatConversion::Steps steps;
        steps.chooseFormat = [this, answer](const std::array<FormatConversion::Target, 2>& t) {
            offered = t;
            return answer;
        };
        steps.converted = [this] { ++convertedCalls; };
        return FormatConversion::Run(doc, steps);
    }

    std::array<FormatConversion::Target, 2> offered{};
    int convertedCalls = 0;
};

TEST_F(ConversionTest, DialogLabelsFollowTheCurrentFormat)
{
    auto t = FormatConversion::Targets(2);
    EXPECT_EQ(t[0].label, "Pseudo-Meldergruppenzuweisung");
    EXPECT_EQ(t[0].textFormat, 3);
    EXPECT_EQ(t[1].label, "2x20 Zeichen");
    EXPECT_EQ(t[1].textFormat, 4);
    t = FormatConversion::Targets(3);
    EXPECT_EQ(t[0].label, "Standardeingabe");
    EXPECT_EQ(t[1].label, "2x20 Zeichen");
    t = FormatConversion::Targets(4);
    EXPECT_EQ(t[0].label, "Standardeingabe");
    EXPECT_EQ(t[1].label, "Pseudo-Meldergruppenzuweisung");
    EXPECT_EQ(t[1].textFormat, 3);
}

TEST_F(ConversionTest, StandardToPseudoGivesZeroPseudoGroupsAndKeepsA12CharacterText)
{
    Make(2);
    Add("12", "3", "Zwoelf Zeich");
    Add("13", "1", "kurz");
    EXPECT_TRUE(Run(3));
    EXPECT_EQ(offered[0].textFormat, 3);
    EXPECT_EQ(doc.Data().textFormat, 3);
    EXPECT_EQ(doc.Data().text1Length, 13);
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 0), "P");
    EXPECT_EQ(Cell(0, 2), "000");
    EXPECT_EQ(Cell(0, 4), "Zwoelf Zeich");
    EXPECT_EQ(Cell(0, 5), "zwei");
    EXPECT_EQ(Cell(1, 1), "0013");
    EXPECT_TRUE(ColumnShown(doc.Records(), Column::PseudoGroup));
    EXPECT_EQ(messages.Texts(), (QStringList{kWarning, kCheck}));
    EXPECT_EQ(messages.Boxes()[0].buttons, msg::OkCancel);
    EXPECT_EQ(convertedCalls, 1);
    EXPECT_EQ(doc.ProjectPath(), "Unbenannt");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ConversionTest, TwoLinesToStandardKeepsTheFirst12Characters)
{
    Make(4);
    Add("7", "1", "ABCDEFGHIJKLMNOPQRST");
    EXPECT_TRUE(Run(2));
    EXPECT_EQ(doc.Data().text1Length, 12);
    EXPECT_EQ(Cell(0, 0), "S");
    EXPECT_EQ(Cell(0, 4), "ABCDEFGHIJKL");
}

TEST_F(ConversionTest, PseudoToTwoLinesEmptiesPseudoGroupsAndWidensText1)
{
    Make(3);
    Add("7", "1", "Halle");
    EXPECT_EQ(Cell(0, 2), "005");
    EXPECT_TRUE(Run(4));
    EXPECT_EQ(Cell(0, 0), "F");
    EXPECT_EQ(Cell(0, 2), "");
    EXPECT_EQ(Cell(0, 4), "Halle");
    EXPECT_EQ(doc.Data().text1Length, 20);
    EXPECT_FALSE(ColumnShown(doc.Records(), Column::PseudoGroup));
    const auto samples = [this](int column) {
        return doc.Records().headerData(column, Qt::Horizontal, CRecordList::WidthSamplesRole);
    };
    EXPECT_EQ(samples(Column::Text1), samples(Column::Text2));
}

TEST_F(ConversionTest, TheOffsetIsGoneAfterEveryConversion)
{
    Make(2);
    SetOffset("-25");
    EXPECT_TRUE(Run(3));
    EXPECT_EQ(QByteArray(doc.Data().groupOffset), "");
    EXPECT_TRUE(Run(2));
    EXPECT_EQ(QByteArray(doc.Data().groupOffset), "");
    EXPECT_EQ(ProjectRules::TitleSuffix(doc.Data()), "[ Standardeingabe ]");
}

TEST_F(ConversionTest, DecliningTheWarningOrTheDialogChangesNothing)
{
    Make(2);
    SetOffset("-25");
    Add("7", "1", "Halle");
    messages.AnswerNext(msg::IdCancel);
    EXPECT_FALSE(Run(3));
    EXPECT_FALSE(Run(0)); // the dialog cancelled
    EXPECT_EQ(doc.Data().textFormat, 2);
    EXPECT_EQ(QByteArray(doc.Data().groupOffset), "-25");
    EXPECT_EQ(doc.ProjectPath(), dir.filePath("alt.bmt"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(Cell(0, 0), "S");
    EXPECT_EQ(messages.Texts(), (QStringList{kWarning, kWarning}));
}

TEST_F(ConversionTest, UnsavedChangesAreOfferedFirstWithoutStoppingTheChange)
{
    Make(2);
    doc.SetModifiedFlag(true);
    messages.AnswerNext(msg::IdCancel); // the save question
    EXPECT_TRUE(Run(4));
    EXPECT_EQ(messages.Texts().first(), "Sollen die Änderungen gespeichert werden ?");
    EXPECT_EQ(doc.Data().textFormat, 4);
}

TEST_F(ConversionTest, AnEmptyProjectConverts)
{
    Make(4);
    EXPECT_TRUE(Run(3));
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(doc.Data().textFormat, 3);
    EXPECT_EQ(doc.Data().text1Length, 13);
    EXPECT_EQ(doc.Records().ColumnsShown(), true);
}

TEST_F(ConversionTest, AConvertedProjectReadsBackAsItWasSaved)
{
    Make(2);
    Add("12", "3", "Zwoelf Zeich");
    Add("40", "0", "Gruppe");
    EXPECT_TRUE(Run(3));
    messages.FileNext(dir.filePath("neu.bmt"));
    ASSERT_TRUE(doc.SaveProject(CQuillmarkDoc::Save));

    CQuillmarkDoc again;
    again.OpenProjectPath(dir.filePath("neu.bmt"));
    ASSERT_TRUE(again.LoadProject());
    EXPECT_EQ(again.Data().textFormat, 3);
    EXPECT_EQ(again.Data().text1Length, 13);
    ASSERT_EQ(again.Records().GetCount(), 2);
    EXPECT_EQ(again.Records().GetItemText(0, 2), "000");
    EXPECT_EQ(again.Records().GetItemText(0, 4), "Zwoelf Zeich ");
    EXPECT_EQ(again.Records().GetItemText(1, 1), "0040");
}

TEST_F(ConversionTest, AFormatWithoutRoomForText1IsRefused)
{
    Make(4);
    doc.Data().groupDigits = 10;
    doc.Data().detectorDigits = 10;
    EXPECT_FALSE(FormatConversion::CanConvert(doc.Data(), 2));
    EXPECT_FALSE(FormatConversion::CanConvert(doc.Data(), 4)); // not another format
    EXPECT_FALSE(Run(2));
    EXPECT_EQ(doc.Data().textFormat, 4);
    EXPECT_EQ(doc.ProjectPath(), dir.filePath("alt.bmt"));
}

} // namespace
