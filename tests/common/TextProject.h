#pragma once

#include "CListCtrl.h"
#include "CQuillmarkDoc.h"
#include "ProjectRules.h"

#include <cstring>

// Sets doc up as a new project of 40 display characters with 4 group, 5 pseudo group and 2
// detector digits, as the transfer tests and benchmarks use it (default: a format-2 Bosch
// project). False when the list columns could not be set up.
inline bool MakeTextProject(CQuillmarkDoc& doc, int textFormat = FormatStandard,
                            int panelType = PanelType::Bosch, const char* panelId = "BO 1",
                            int maxRecords = 1000)
{
    ProjectData& d = doc.Data();
    std::memset(&d, 0, sizeof d);
    d.textFormat = textFormat;
    d.displayChars = 40;
    d.maxRecords = maxRecords;
    d.detectorDigits = 2;
    d.groupDigits = 4;
    d.pseudoGroupDigits = 5;
    d.panelType = panelType;
    std::strncpy(d.panelId, panelId, sizeof d.panelId - 1);
    ProjectRules::SetDefaultLzAssignment(d);
    doc.List().DeleteAllItems();
    doc.List().DeleteAllColumns();
    if (!doc.SetupListColumns())
        return false;
    doc.Records().SetListCtrl(&doc.List());
    doc.Records().SetSettings(&d);
    return true;
}
