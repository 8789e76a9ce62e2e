#include "ProjectLimits.h"
#include "ProjectRules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

ProjectData Project(int textFormat = FormatStandard, int panelVariant = 0)
{
    ProjectData d;
    std::memset(&d, 0, sizeof d);
    d.textFormat = textFormat;
    d.displayChars = 40;
    d.maxRecords = 1000;
    d.groupDigits = 4;
    d.detectorDigits = 2;
    d.pseudoGroupDigits = 5;
    d.panelType = PanelType::Alarmcom;
    d.panelVariant = panelVariant;
    d.text2Length = 20;
    d.text1Length = ProjectRules::Text1LengthFor(d, textFormat, 0);
    return d;
}

} // namespace

TEST(ProjectLimits, AcceptsTheUsualProjectsAndTheEdges)
{
    EXPECT_EQ(ProjectLimits::Check(Project()), QString());
    ProjectData d = Project(FormatTwoLines);
    d.groupDigits = ProjectLimits::MaxGroupDigits;
    d.detectorDigits = ProjectLimits::MaxDetectorDigits;
    d.displayChars = ProjectLimits::MaxDisplayChars;
    d.maxRecords = ProjectLimits::MaxRecords;
    EXPECT_EQ(ProjectLimits::Check(d), QString());
    d = Project(FormatStandard);
    d.displayChars = 16; // Text 1 is 8 - 4 - 2 - 2 = 0 characters: still a project
    EXPECT_EQ(ProjectLimits::Check(d), QString());
    d.textFormat = FormatFromFat; // format not yet known: its Text 1 is not asked
    d.displayChars = 2;
    EXPECT_EQ(ProjectLimits::Check(d), QString());
}

TEST(ProjectLimits, NamesTheFirstValueOutside)
{
    ProjectData d = Project();
    d.detectorDigits = 12;
    EXPECT_EQ(ProjectLimits::Check(d),
              QString::fromUtf8("Die Melder haben 12 Stellen; erlaubt sind 1 bis 10."));
    d = Project();
    d.groupDigits = 0;
    EXPECT_TRUE(ProjectLimits::Check(d).startsWith("Die Meldergruppen haben 0 Stellen"));
    d = Project();
    d.displayChars = 81;
    EXPECT_TRUE(ProjectLimits::Check(d).contains("81 Zeichen"));
    d = Project();
    d.maxRecords = 65535;
    EXPECT_TRUE(ProjectLimits::Check(d).contains("65535"));
    d.maxRecords = 0;
    EXPECT_FALSE(ProjectLimits::WithinLimits(d));
    d = Project();
    d.pseudoGroupDigits = -1;
    EXPECT_FALSE(ProjectLimits::WithinLimits(d));
    d = Project(FormatPseudo);
    d.displayChars = 16; // Text 1 would be 8 - 5 - 2 - 2 < 0
    EXPECT_EQ(ProjectLimits::Check(d),
              QString::fromUtf8("Die Anzeige mit 16 Zeichen ist zu klein für die Nummern vor "
                                "Text 1."));
}
