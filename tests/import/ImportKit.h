#pragma once

#include "BmfRecords.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "ImportHooks.h"
#include "TextProject.h"

// Qt
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstring>

// Records every progress call of an import.
class ProgressLog : public IImportProgress
{
public:
    void Begin(const QString& text, qint64 maximum) override
    {
        texts.append(text);
        maxima.append(maximum);
        open = true;
        current.clear();
    }
    void SetPosition(qint64 position) override
    {
        EXPECT_TRUE(open);
        if (!current.isEmpty()) {
            EXPECT_GT(position, current.last());
        }
        EXPECT_LE(position, maxima.last());
        current.append(position);
        positions.append(position);
    }
    void End() override
    {
        EXPECT_TRUE(open);
        open = false;
        ++ends;
    }

    QStringList texts;
    QList<qint64> maxima;
    QList<qint64> positions;
    int ends = 0;
    bool open = false;
    QList<qint64> current;
};

// A project in a temporary folder, the scripted messages and the rows as text.
class ImportTest : public ::testing::Test
{
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // A loaded project: named, unchanged.
    void Project(int textFormat, int panelType, const char* panelId, int maxRecords = 1000)
    {
        ASSERT_TRUE(MakeTextProject(doc, textFormat, panelType, panelId, maxRecords));
        doc.Data().panelVariant = 0;
        int type = 0, variant = 0;
        if (ProjectRules::DecodePanelIdFile(doc.Data().panelId, type, variant))
            doc.Data().panelVariant = variant;
        doc.SetProjectPath(dir.filePath("alt.bmt"));
        doc.SetPathName(dir.filePath("alt.bmt"));
        doc.SetModifiedFlag(false);
    }

    QByteArray Cell(int row, int column) const
    {
        return const_cast<CQuillmarkDoc&>(doc).Records().GetItemText(row, column);
    }
    int Rows() const { return const_cast<CQuillmarkDoc&>(doc).Records().GetCount(); }

    QTemporaryDir dir;
    CMessageRecorder messages;
    CQuillmarkDoc doc;
};
