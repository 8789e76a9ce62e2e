#pragma once

#include "CQuillmarkDoc.h"
#include "TextProject.h"

#include <cstring>

// A project of the given format and panel with rows numbered from group 1 (detector 01).
inline void FillPrintProject(CQuillmarkDoc& doc, int rows, int textFormat = 2, int panelType = 2)
{
    MakeTextProject(doc, textFormat, panelType, "BO 1", 1000);
    MessageRecord rec;
    rec.formatTag = ProjectRules::FormatTag(textFormat);
    for (int row = 0; row < rows; ++row) {
        rec.group = CRecordList::PadZeros(QByteArray::number(row + 1), 4);
        rec.pseudoGroup = textFormat == 3 ? QByteArray("00077") : QByteArray();
        rec.detector = "01";
        rec.text1 = "Halle " + QByteArray::number(row + 1);
        rec.text2 = "Tor Nord";
        doc.Records().AddRecordAt(rec, row);
    }
}

inline void SetCoverText(ProjectData& d, int index, const QByteArray& text)
{
    std::memset(d.coverPage[index], 0, sizeof d.coverPage[index]);
    std::memcpy(d.coverPage[index], text.constData(),
                size_t(qMin<qsizetype>(text.size(), sizeof d.coverPage[index] - 1)));
}

inline void SetOffset(ProjectData& d, const QByteArray& text)
{
    std::memset(d.groupOffset, 0, sizeof d.groupOffset);
    std::memcpy(d.groupOffset, text.constData(), size_t(text.size()));
}
