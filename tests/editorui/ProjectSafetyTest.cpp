#include "CQuillmarkApp.h"
#include "FileSizeLimit.h"
#include "FrameFixture.h"
#include "TestFiles.h"

namespace {

using ProjectSafety = FrameFixture;

} // namespace

TEST_F(ProjectSafety, AFailedSaveNamesTheFileAndKeepsTheChangedMark)
{
    OpenStandard();
    const QString path = m_dir.filePath("standard.bmt");
    const QByteArray before = ReadTestFile(path);
    doc->SetModifiedFlag(true);
    EXPECT_TRUE(RunWithFileLimit(before.size() - 1, [&] {
        QTest::keyClick(view(), Qt::Key_S, Qt::ControlModifier);
        return messages.Texts() ==
                   QStringList{"File konnte nicht angelegt werden\n" +
                               QFileInfo(path).absoluteFilePath() + ": Die Datei ist zu groß"} &&
               doc->IsModified();
    }));
    EXPECT_EQ(ReadTestFile(path), before);
}

TEST_F(ProjectSafety, ASecondWindowOpensTheProjectReadOnly)
{
    OpenStandard();
    const QString path = m_dir.filePath("standard.bmt");
    CQuillmarkDoc secondDoc;
    CMainFrame second(&secondDoc, QString());
    messages.AnswerNext(msg::IdNo);
    EXPECT_FALSE(second.OpenDocument(path));
    messages.AnswerNext(msg::IdYes);
    ASSERT_TRUE(second.OpenDocument(path));
    ASSERT_EQ(messages.Boxes().size(), 2);
    EXPECT_TRUE(messages.Boxes()[1].text.contains("wird bereits bearbeitet"))
        << messages.Texts()[1].toStdString();
    EXPECT_EQ(second.windowTitle(),
              "standard.bmt (schreibgeschützt) - Quillmark  [ Standardeingabe ]");
    messages.Clear();
    secondDoc.SetModifiedFlag(true);
    EXPECT_FALSE(secondDoc.SaveProject(CQuillmarkDoc::Save));
    EXPECT_TRUE(messages.Texts().value(0).contains("schreibgeschützt geöffnet"));
    EXPECT_TRUE(secondDoc.IsModified());

    // The first window notices a change someone else made on disk and asks before saving.
    const QByteArray changed = ReadTestFile(path) + " ";
    ASSERT_TRUE(WriteTestFile(path, changed));
    messages.Clear();
    doc->SetModifiedFlag(true);
    messages.AnswerNext(msg::IdNo);
    QTest::keyClick(view(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(messages.Texts().value(0).contains("von einem anderen Programm geändert"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ReadTestFile(path), changed);
}

TEST_F(ProjectSafety, TheAssistantsProjectThatCannotBeReadOpensNoWindow)
{
    const QString path = WriteProject("neuer.bmt", 2, PanelType::Aritech, {}, 0, "XY 1");
    qputenv("QM_TEST_WIZARD", "open");
    qputenv("QM_TEST_WIZARD_PATH", QFile::encodeName(path));
    CQuillmarkDoc started;
    ASSERT_TRUE(CQuillmarkApp::CreateProject(started, "", {WIZARD_SCRIPTED_DIR "/wizard"}));
    CMainFrame window(&started, QString());
    EXPECT_FALSE(CQuillmarkApp::StartFrame(window, started, QString()));
    EXPECT_TRUE(messages.Texts().value(0).startsWith("Benutzen Sie zum öffnen dieser Datei"));
    EXPECT_NE(started.ProjectPath(), path);
}
