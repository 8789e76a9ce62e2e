// The assistant as Quillmark's start-up meets it: loaded from a candidate path, called, unloaded,
// and the project born from what it filled in.
#include "CMainFrame.h"
#include "CMessageRecorder.h"
#include "CQuillmarkApp.h"
#include "CQuillmarkDoc.h"

// Qt
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWizard>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Works the assistant that the start-up shows, once it is there.
void DriveNextAssistant(std::function<void(QWizard*)> drive)
{
    QTimer::singleShot(0, [drive] {
        auto* wizard = qobject_cast<QWizard*>(QApplication::activeModalWidget());
        if (!wizard) {
            ADD_FAILURE() << "no assistant shown";
            return;
        }
        drive(wizard);
        if (wizard->isVisible())
            wizard->reject();
    });
}

} // namespace

TEST(StartUpWizard, ANewProjectFromTheAssistantOpensInTheMainWindow)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    DriveNextAssistant([](QWizard* w) {
        w->next();
        auto* maker = w->findChild<QComboBox*>(QStringLiteral("maker"));
        ASSERT_NE(maker, nullptr);
        maker->setCurrentIndex(maker->findText(QStringLiteral("Bosch")));
        w->next();
        w->button(QWizard::FinishButton)->click();
    });
    ASSERT_TRUE(CQuillmarkApp::CreateProject(doc, QString(), {QStringLiteral(WIZARD_LIBRARY)}));
    EXPECT_TRUE(messages.Boxes().isEmpty());
    EXPECT_EQ(doc.Data().textFormat, FormatStandard);
    EXPECT_EQ(doc.Data().panelType, 2);

    // The library is unloaded again; the window runs on what it filled in.
    CMainFrame frame(&doc, QString());
    frame.NewDocument();
    EXPECT_EQ(doc.Data().text1Length, 12);
    EXPECT_EQ(doc.Records().ColumnsShown(), true);
    EXPECT_TRUE(frame.windowTitle().contains(QStringLiteral("[ Standardeingabe ]")))
        << frame.windowTitle().toStdString();
}

TEST(StartUpWizard, ACancelledAssistantEndsTheStartSilently)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    DriveNextAssistant([](QWizard* w) { w->button(QWizard::CancelButton)->click(); });
    EXPECT_FALSE(CQuillmarkApp::CreateProject(doc, QString(), {QStringLiteral(WIZARD_LIBRARY)}));
    EXPECT_TRUE(messages.Boxes().isEmpty());
}

TEST(StartUpWizard, TextsFromTheFatStartAProjectWithoutPanel)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    DriveNextAssistant([](QWizard* w) {
        w->findChild<QRadioButton*>(QStringLiteral("fromFat"))->setChecked(true);
        w->next();
        w->button(QWizard::FinishButton)->click();
    });
    ASSERT_TRUE(CQuillmarkApp::CreateProject(doc, QString(), {QStringLiteral(WIZARD_LIBRARY)}));
    EXPECT_EQ(doc.Data().textFormat, FormatFromFat);
}
