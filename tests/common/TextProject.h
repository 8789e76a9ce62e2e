#pragma once

#include "CRecordList.h"
#include "CQuillmarkDoc.h"
#include "MessageRecord.h"
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
    doc.Records().DeleteAllItems();
    if (!doc.SetupListColumns())
        return false;
    return true;
}

// True when the list asks its views to show column (it names texts the column must fit).
inline bool ColumnShown(const CRecordList& list, int column)
{
    return !list.headerData(column, Qt::Horizontal, CRecordList::WidthSamplesRole)
                .toStringList()
                .isEmpty();
}

// One record as the list holds it, the pseudo group last because most rows have none.
inline MessageRecord TextRecord(const char* tag, const char* group, const char* detector,
                                const char* text1, const char* text2, const char* pseudo = "")
{
    MessageRecord r;
    r.formatTag = tag;
    r.group = group;
    r.detector = detector;
    r.pseudoGroup = pseudo;
    r.text1 = text1;
    r.text2 = text2;
    return r;
}
