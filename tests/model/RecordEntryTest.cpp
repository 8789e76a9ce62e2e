#include "ModelProject.h"
#include "ProjectRules.h"
#include "RecordEntry.h"

#include <gtest/gtest.h>

TEST(RecordEntry, AcceptsDigitsAndFillsTheRecord)
{
    const ProjectData d = ModelProject(FormatPseudo);
    MessageRecord rec;
    RecordInput in{"12", "7", "3", QString::fromUtf8("Halle Äuß"), "zwei"};
    int column = -2;
    EXPECT_EQ(RecordEntry::Check(d, in, rec, &column).text, QString());
    EXPECT_EQ(column, -2) << "column untouched on success";
    EXPECT_EQ(rec.formatTag, "P");
    EXPECT_EQ(rec.group, "12");
    EXPECT_EQ(rec.pseudoGroup, "7");
    EXPECT_EQ(rec.detector, "3");
    EXPECT_EQ(rec.text1, QByteArray("Halle \xC4u\xDF"));
    EXPECT_EQ(rec.text2, "zwei");

    const ProjectData s = ModelProject(FormatStandard);
    EXPECT_EQ(RecordEntry::Check(s, in, rec).text, QString());
    EXPECT_EQ(rec.formatTag, "S");
    EXPECT_EQ(rec.pseudoGroup, "") << "a pseudo group belongs only to the pseudo format";
}

TEST(RecordEntry, RefusesNumbersThatAreNotDigitsOrTooLong)
{
    const ProjectData d = ModelProject();
    MessageRecord rec;
    rec.group = "old";
    int column = -1;
    EXPECT_EQ(RecordEntry::Check(d, {"12a", "", "3", "", ""}, rec, &column).text,
              QString::fromUtf8("MelderGruppe darf nur aus Ziffern bestehen."));
    EXPECT_EQ(column, Column::Group);
    EXPECT_EQ(rec.group, "old") << "the record stays as it was";
    EXPECT_FALSE(RecordEntry::Check(d, {"12345", "", "3", "", ""}, rec, &column).text.isEmpty());
    EXPECT_EQ(column, Column::Group);
    EXPECT_EQ(RecordEntry::Check(d, {"1", "", "123", "", ""}, rec, &column).text,
              QString::fromUtf8("Melder darf höchstens 2 Stellen haben."));
    EXPECT_EQ(column, Column::Detector);
    EXPECT_FALSE(RecordEntry::Check(d, {"1", "", "-3", "", ""}, rec).text.isEmpty());
    EXPECT_FALSE(
        RecordEntry::Check(d, {QString::fromUtf8("١"), "", "3", "", ""}, rec).text.isEmpty())
        << "only ASCII digits";
    EXPECT_FALSE(RecordEntry::CheckCell(ModelProject(FormatPseudo), Column::PseudoGroup, "123456")
                     .text.isEmpty());
}

TEST(RecordEntry, CardFormOnlyForTheCardVariant)
{
    MessageRecord rec;
    EXPECT_FALSE(RecordEntry::Check(ModelProject(FormatTwoLines, 0), {"+3", "", "7", "", ""}, rec)
                     .text.isEmpty());
    EXPECT_EQ(
        RecordEntry::Check(ModelProject(FormatTwoLines, 1), {"+3", "", "7", "", ""}, rec).text,
        QString());
    EXPECT_EQ(rec.group, "+3");
    EXPECT_FALSE(RecordEntry::Check(ModelProject(FormatTwoLines, 1), {"3+", "", "7", "", ""}, rec)
                     .text.isEmpty())
        << "the + only in front";
    EXPECT_FALSE(
        RecordEntry::Check(ModelProject(FormatTwoLines, 1), {"+1234", "", "7", "", ""}, rec)
            .text.isEmpty())
        << "the + counts towards the width";
}

TEST(RecordEntry, TextsMustFitTheCodePageAndTheLength)
{
    const ProjectData d = ModelProject(); // Text 1: 12, Text 2: 20
    MessageRecord rec;
    int column = -1;
    EXPECT_EQ(RecordEntry::Check(d, {"1", "", "1", QString::fromUtf8("Ω"), ""}, rec, &column).text,
              QString::fromUtf8("Text 1 enthält das Zeichen \"Ω\", das das FAT nicht "
                                "darstellen kann."));
    EXPECT_EQ(column, Column::Text1);
    EXPECT_FALSE(RecordEntry::Check(d, {"1", "", "1", "", QString::fromUtf8("ok 😀")}, rec, &column)
                     .text.isEmpty());
    EXPECT_EQ(column, Column::Text2);
    EXPECT_FALSE(RecordEntry::Check(d, {"1", "", "1", "a\nb", ""}, rec).text.isEmpty());
    EXPECT_EQ(RecordEntry::Check(d, {"1", "", "1", QString(12, 'x'), QString(20, 'y')}, rec).text,
              QString());
    EXPECT_EQ(RecordEntry::Check(d, {"1", "", "1", QString(13, 'x'), ""}, rec, &column).text,
              QString::fromUtf8("Text 1 darf höchstens 12 Zeichen lang sein."));
    EXPECT_EQ(RecordEntry::CheckCell(d, Column::Text2, QString::fromUtf8("€ Ä ß")).text, QString())
        << "the euro sign and umlauts are in the code page";
}
