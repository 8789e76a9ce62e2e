#include "ProjectLimits.h"
#include "ModelProject.h"
#include "ProjectRules.h"

#include <gtest/gtest.h>

TEST(ProjectLimits, AcceptsTheUsualProjectsAndTheEdges)
{
    EXPECT_EQ(ProjectLimits::Check(ModelProject()), QString());
    ProjectData d = ModelProject(FormatTwoLines);
    d.groupDigits = ProjectLimits::MaxGroupDigits;
    d.detectorDigits = ProjectLimits::MaxDetectorDigits;
    d.displayChars = ProjectLimits::MaxDisplayChars;
    d.maxRecords = ProjectLimits::MaxRecords;
    EXPECT_EQ(ProjectLimits::Check(d), QString());
    d = ModelProject(FormatStandard);
    d.displayChars = 16; // Text 1 is 8 - 4 - 2 - 2 = 0 characters: still a project
    EXPECT_EQ(ProjectLimits::Check(d), QString());
    d.textFormat = FormatFromFat; // format not yet known: its Text 1 is not asked
    d.displayChars = 2;
    EXPECT_EQ(ProjectLimits::Check(d), QString());
}

TEST(ProjectLimits, NamesTheFirstValueOutside)
{
    ProjectData d = ModelProject();
    d.detectorDigits = 12;
    EXPECT_EQ(ProjectLimits::Check(d),
              QString::fromUtf8("Die Melder haben 12 Stellen; erlaubt sind 1 bis 10."));
    d = ModelProject();
    d.groupDigits = 0;
    EXPECT_TRUE(ProjectLimits::Check(d).startsWith("Die Meldergruppen haben 0 Stellen"));
    d = ModelProject();
    d.displayChars = 81;
    EXPECT_TRUE(ProjectLimits::Check(d).contains("81 Zeichen"));
    d = ModelProject();
    d.maxRecords = 65535;
    EXPECT_TRUE(ProjectLimits::Check(d).contains("65535"));
    d.maxRecords = 0;
    EXPECT_FALSE(ProjectLimits::WithinLimits(d));
    d = ModelProject();
    d.pseudoGroupDigits = -1;
    EXPECT_FALSE(ProjectLimits::WithinLimits(d));
    d = ModelProject(FormatPseudo);
    d.displayChars = 16; // Text 1 would be 8 - 5 - 2 - 2 < 0
    EXPECT_EQ(ProjectLimits::Check(d),
              QString::fromUtf8("Die Anzeige mit 16 Zeichen ist zu klein für die Nummern vor "
                                "Text 1."));
}
