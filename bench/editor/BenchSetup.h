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

// Fills list (of a project set by SetStandardProject with five group digits) with count
// records in key order, 99 detectors a group, 12 + 20 character texts, in one batch.
inline void AddStandardRecords(CRecordList& list, int count)
{
    CRecordBatch batch(list);
    for (int i = 0; i < count; ++i) {
        MessageRecord rec;
        rec.formatTag = "S";
        rec.group = QByteArray::number(i / 99 + 1).rightJustified(5, '0');
        rec.detector = QByteArray::number(i % 99 + 1).rightJustified(2, '0');
        rec.text1 = QByteArray("Halle ") + QByteArray::number(i);
        rec.text2 = QByteArray("Geschoss ") + QByteArray::number(i % 7);
        list.AddRecordAt(rec, i);
    }
}
