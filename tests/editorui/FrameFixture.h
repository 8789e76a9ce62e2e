#pragma once

#include "CCommandTable.h"
#include "CMainFrame.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "ProjectTypes.h"
#include "QuillmarkCommands.h"

// Qt
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

// One record as the tests write it: group, detector, texts (and a pseudo group in format 3).
struct TestRecord
{
    const char* group;
    const char* detector;
    const char* text1;
    const char* text2;
    const char* pseudo = "";
};

// A project file in a temporary folder and the real main window opened on it, with every
// message answered by the recorder.
class FrameFixture : public ::testing::Test
{
protected:
    FrameFixture()
    {
        // Every test starts without recent files.
        QSettings(QStringLiteral("Korvalin GmbH"), QStringLiteral("Quillmark"))
            .remove(QStringLiteral("Recent File List"));
    }

    // Writes a project of the given format and panel and returns its path.
    QString WriteProject(const QString& name, int textFormat, int panelType,
                         const QList<TestRecord>& records, int panelVariant = 0,
                         const char* panelId = nullptr)
    {
        CQuillmarkDoc doc;
        ProjectData& d = doc.Data();
        d.textFormat = textFormat;
        d.displayChars = 40;
        d.maxRecords = 1000;
        d.groupDigits = 4;
        d.detectorDigits = 2;
        d.pseudoGroupDigits = 4;
        d.panelType = panelType;
        d.panelVariant = panelVariant;
        static const char* ids[] = {"AC 0", "AT 0", "BO 1", "EE 1", "EF 0",
                                    "MM 0", "NF 0", "SI 0", "TW 0"};
        const char* id =
            panelId ? panelId : (panelType >= 0 && panelType <= 8 ? ids[panelType] : "");
        std::strncpy(d.panelId, id, sizeof d.panelId - 1);
        // The model digit as the project file reads it back into the variant.
        if (!panelId && (panelType == PanelType::Alarmcom || panelType == PanelType::Siemens))
            d.panelId[3] = char('1' + panelVariant);
        EXPECT_TRUE(doc.SetupListColumns());
        const char* tag = textFormat == 3 ? "P" : textFormat == 4 ? "F" : "S";
        for (const TestRecord& r : records) {
            MessageRecord rec;
            rec.formatTag = tag;
            rec.group = r.group;
            rec.detector = r.detector;
            rec.pseudoGroup = r.pseudo;
            rec.text1 = r.text1;
            rec.text2 = r.text2;
            EXPECT_GE(doc.Records().InsertRecord(rec).row, 0) << r.group << "/" << r.detector;
        }
        const QString path = m_dir.filePath(name);
        messages.FileNext(path);
        EXPECT_TRUE(doc.SaveProject(CQuillmarkDoc::SaveAs));
        messages.Clear();
        return path;
    }

    // Opens path in a new main window as the command line would.
    void Open(const QString& path)
    {
        doc = std::make_unique<CQuillmarkDoc>();
        doc->SetProjectPath(path);
        doc->SetModifiedFlag(true);
        frame = std::make_unique<CMainFrame>(doc.get(), path);
        ASSERT_TRUE(frame->OpenDocument(path));
        frame->View()->ResizeFrameToFit();
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        view()->setFocus();
    }

    void OpenStandard(int panelType = PanelType::Aritech)
    {
        Open(WriteProject("standard.bmt", 2, panelType,
                          {{"0001", "01", "Halle Nord", "EG"},
                           {"0001", "02", "Halle Sued", "EG"},
                           {"0002", "00", "Buero", "1. OG"},
                           {"0003", "05", "Lager", "Keller"}}));
    }

    CQuillmarkView* view() const { return frame->View(); }
    CCommandTable& commands() const { return frame->Commands(); }
    QAction* action(int id) const { return frame->Commands().Action(id); }
    bool enabled(int id) const
    {
        frame->Commands().UpdateUi();
        return action(id)->isEnabled();
    }
    QByteArray cell(int row, int column) const { return doc->Records().GetItemText(row, column); }
    int rows() const { return doc->Records().GetCount(); }

    // The texts of a popup's entries in order; separators as "-".
    QStringList menuTexts(int position) const
    {
        QStringList out;
        for (QAction* a : frame->Popup(position)->actions())
            if (a->isVisible())
                out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }

    // The rectangle of a cell in the list's viewport.
    QRect cellRect(int row, int column) const
    {
        return view()->visualRect(doc->Records().index(row, column));
    }

    void TearDown() override
    {
        if (frame) {
            doc->SetModifiedFlag(false);
            frame->close();
        }
        frame.reset();
        doc.reset();
    }

    CMessageRecorder messages;
    QTemporaryDir m_dir;
    std::unique_ptr<CQuillmarkDoc> doc;
    std::unique_ptr<CMainFrame> frame;
};
