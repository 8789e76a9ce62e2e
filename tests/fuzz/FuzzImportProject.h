#pragma once

#include "CQuillmarkDoc.h"
#include "ProjectRules.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// A project for the import fuzz targets; the first input byte picks format, panel and digit
// counts, so the readers meet every cutting rule. Returns the number of bytes it used.
inline size_t MakeFuzzProject(CQuillmarkDoc& doc, const uint8_t* data, size_t size)
{
    static const char* const panels[] = {"AC 1", "BO 1", "NF 1", "SI 2", "TW 1", "EF 1"};
    const uint8_t pick = size > 0 ? data[0] : 0;
    ProjectData& d = doc.Data();
    d.textFormat = 2 + pick % 3;
    d.displayChars = 40;
    d.maxRecords = (pick & 0x80) ? 7 : 2000;
    d.groupDigits = 1 + (pick >> 2) % 5;
    d.pseudoGroupDigits = (pick >> 4) % 4;
    d.detectorDigits = 1 + (pick >> 3) % 3;
    std::strncpy(d.panelId, panels[(pick >> 5) % 6], sizeof d.panelId - 1);
    ProjectRules::DecodePanelIdFile(d.panelId, d.panelType, d.panelVariant);
    ProjectRules::SetDefaultLzAssignment(d);
    if (!doc.SetupListColumns())
        std::abort();
    doc.SetModifiedFlag(false);
    return size > 0 ? 1 : 0;
}

// What every import must leave: rows within the limit and the project's widths, and a
// project that writes and reads back with the same rows.
inline void CheckFuzzProject(CQuillmarkDoc& doc)
{
    const ProjectData& d = doc.Data();
    CRecordList& list = doc.Records();
    if (list.GetCount() > d.maxRecords)
        std::abort();
    for (int row = 0; row < list.GetCount(); ++row) {
        if (list.GetItemText(row, 1).size() != d.groupDigits ||
            list.GetItemText(row, 3).size() != d.detectorDigits ||
            list.GetItemText(row, 4).size() > d.text1Length ||
            list.GetItemText(row, 5).size() > d.text2Length)
            std::abort();
        if (row > 0 && list.GetItemText(row - 1, 1) + list.GetItemText(row - 1, 3) >=
                           list.GetItemText(row, 1) + list.GetItemText(row, 3))
            std::abort();
    }
    (void)doc.ProjectBytes();
}
