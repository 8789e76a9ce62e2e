#pragma once

#include "CRecordList.h"
#include "ProjectData.h"
#include "ProjectTypes.h"

// Qt
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

// Before the QApplication: offscreen unless a platform is asked for, and the settings (recent
// files, the port) in settings, never in the user's own.
inline void PrepareBenchEnvironment(const QTemporaryDir& settings)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
}

// A standard-format project of up to 65,534 records, 40 display characters, two detector and
// four pseudo-group digits, groupDigits group digits.
inline void SetStandardProject(ProjectData& d, int groupDigits)
{
    d.textFormat = FormatStandard;
    d.displayChars = 40;
    d.maxRecords = 65534;
    d.groupDigits = groupDigits;
    d.detectorDigits = 2;
    d.pseudoGroupDigits = 4;
}

// Appends count rows of a standard project with five group digits: 99 detectors a group,
// Text 1 "M " and the row's number, Text 2 as given.
inline void AddBenchRows(CRecordList& list, int count, const QByteArray& text2)
{
    for (int i = 0; i < count; ++i) {
        MessageRecord rec;
        rec.formatTag = "S";
        rec.group = CRecordList::PadZeros(QByteArray::number(i / 99 + 1), 5);
        rec.detector = CRecordList::PadZeros(QByteArray::number(i % 99 + 1), 2);
        rec.text1 = "M " + QByteArray::number(i);
        rec.text2 = text2;
        list.AddRecordAt(rec, list.GetCount());
    }
}
