#pragma once

#include "ProjectData.h"
#include "ProjectRules.h"

#include <cstring>

// A settings block as a new project has it: 40 display characters, 4 group, 5 pseudo group
// and 2 detector digits, the text lengths of its format.
inline ProjectData ModelProject(int textFormat = FormatStandard, int panelVariant = 0)
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
    d.text2Length = ProjectRules::LineLength(d);
    d.text1Length = ProjectRules::Text1LengthFor(d, textFormat, 0);
    return d;
}
