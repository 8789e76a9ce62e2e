#include "CQuillmarkApp.h"
#include "CMainFrame.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "QuillmarkCommands.h"
#include "CCommandTable.h"

// Qt
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

TEST(Startup, ThePathInTheArgumentString)
{
    EXPECT_EQ(CQuillmarkApp::ArgumentString({}), "");
    EXPECT_EQ(CQuillmarkApp::ArgumentString({"/tmp/a b.bmt"}), "/tmp/a b.bmt");
    EXPECT_EQ(CQuillmarkApp::ArgumentString({"/tmp/a", "b.bmt"}), "/tmp/a b.bmt");
    EXPECT_EQ(CQuillmarkApp::PathFromArgumentString("\"/tmp/a b.bmt\""), "/tmp/a b.bmt");
    EXPECT_EQ(CQuillmarkApp::PathFromArgumentString("\"/tmp/a b.bmt\" rest"), "/tmp/a b.bmt");
    EXPECT_EQ(CQuillmarkApp::PathFromArgumentString("\"/tmp/open"), "/tmp/open");
    EXPECT_EQ(CQuillmarkApp::PathFromArgumentString("/tmp/a b.bmt"), "/tmp/a b.bmt");
}

TEST(Startup, APathNeedsNoAssistant)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    ASSERT_TRUE(CQuillmarkApp::CreateProject(doc, "\"/tmp/mit blank.bmt\"", {"/nowhere/wizard"}));
    EXPECT_EQ(doc.ProjectPath(), "/tmp/mit blank.bmt");
    EXPECT_EQ(doc.Data().textFormat, 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(messages.Entries().isEmpty());
}

TEST(Startup, AMissingAssistantIsReportedThenTheProgramEnds)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    EXPECT_FALSE(CQuillmarkApp::CreateProject(doc, "", {"/nowhere/wizard"}));
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_EQ(messages.Boxes()[0].text, "Der Eingabeassistent konnte nicht geladen werden.");
    EXPECT_EQ(messages.Boxes()[0].caption, "Hinweis");
    EXPECT_EQ(messages.Boxes()[0].buttons, msg::Ok);
}

TEST(Startup, AnAssistantWithoutEntryOrCancelledEndsSilently)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    EXPECT_FALSE(CQuillmarkApp::CreateProject(doc, "", {WIZARD_NOENTRY_DIR "/wizard"}));
    qputenv("QM_TEST_WIZARD", "cancel");
    EXPECT_FALSE(CQuillmarkApp::CreateProject(doc, "", {WIZARD_SCRIPTED_DIR "/wizard"}));
    EXPECT_TRUE(messages.Entries().isEmpty());
}

TEST(Startup, TheAssistantsProjectIsShown)
{
    CMessageRecorder messages;
    qputenv("QM_TEST_WIZARD", "standard");
    CQuillmarkDoc doc;
    // The first candidate is missing: the next one is taken.
    ASSERT_TRUE(
        CQuillmarkApp::CreateProject(doc, "", {"/nowhere/wizard", WIZARD_SCRIPTED_DIR "/wizard"}));
    EXPECT_EQ(doc.Data().textFormat, 2);
    EXPECT_TRUE(doc.IsModified());
    CMainFrame frame(&doc, QString());
    frame.NewDocument();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(frame.windowTitle(), "Unbenannt.bmt - Quillmark  [ Standardeingabe ]");
    EXPECT_EQ(frame.MessageCount(), 0);
    frame.Commands().UpdateUi();
    EXPECT_TRUE(frame.Commands().IsEnabled(Cmd::FileSave));
    EXPECT_TRUE(messages.Boxes().isEmpty());

    // Texts to come from the FAT: no panel, the project commands wait for the reading.
    qputenv("QM_TEST_WIZARD", "fat");
    CQuillmarkDoc fromFat;
    ASSERT_TRUE(CQuillmarkApp::CreateProject(fromFat, "", {WIZARD_SCRIPTED_DIR "/wizard"}));
    CMainFrame second(&fromFat, QString());
    second.NewDocument();
    EXPECT_EQ(fromFat.Data().panelType, 10);
    EXPECT_EQ(second.windowTitle(), "Unbenannt.bmt - Quillmark  ");
    EXPECT_FALSE(second.Commands().IsEnabled(Cmd::FileSave));
    EXPECT_TRUE(second.Commands().IsEnabled(Cmd::ReadTexts));
}

TEST(Startup, QtsOwnDialogsSpeakGerman)
{
    QCoreApplication* app = QCoreApplication::instance();
    ASSERT_TRUE(CQuillmarkApp::LoadTranslations(*app));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Ja");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
}
