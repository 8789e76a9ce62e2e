#include "CCommunicationDlg.h"
#include "CRecordList.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "CSerial.h"
#include "FatSimProcess.h"
#include "ProjectRules.h"
#include "TextProject.h"

#include <gtest/gtest.h>

// Qt
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class CommunicationDlg : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MakeTextProject(m_doc));
        for (int i = 0; i < 30; ++i) {
            MessageRecord r;
            r.formatTag = "S";
            r.group = QByteArray::number(i + 1).rightJustified(4, '0');
            r.detector = "01";
            r.text1 = "Text";
            r.text2 = "Zeile";
            m_doc.Records().AddRecordAt(r, i);
        }
    }

    FatSimProcess m_fat{QStringLiteral(FATSIM_PATH)};
    CMessageRecorder m_recorder;
    CQuillmarkDoc m_doc;
    CSerial m_serial;
};

} // namespace

TEST_F(CommunicationDlg, ShowsTheTransferAndEndsWithOk)
{
    ASSERT_FALSE(m_fat.Start().isEmpty());
    m_serial.SetPortName(m_fat.Device());
    CCommunicationDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "Communication");
    ASSERT_TRUE(dlg.StartTransfer(SendTexts, &m_doc, &m_serial));
    QStringList statusSeen;
    QObject::connect(&dlg.Core(), &CTransferCore::statusTextChanged,
                     [&](const QString& t) { statusSeen.append(t); });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_TRUE(dlg.Succeeded());
    EXPECT_EQ(statusSeen, (QStringList{"FAT wird vorbereitet", "Daten werden gesendet"}));
    EXPECT_EQ(dlg.StatusLabel()->text(), "Daten werden gesendet");
    EXPECT_EQ(dlg.ProgressBar()->minimum(), 0);
    EXPECT_EQ(dlg.ProgressBar()->maximum(), 30);
    EXPECT_EQ(dlg.ProgressBar()->value(), 30);
    ASSERT_EQ(m_recorder.Boxes().size(), 1);
    EXPECT_EQ(m_recorder.Boxes()[0].text, "Die Datenübertragung wurde erfolgreich beendet.");
    EXPECT_FALSE(m_serial.IsOpened());
}

TEST_F(CommunicationDlg, ClosingWhileTheSenderRuns)
{
    ASSERT_FALSE(m_fat.Start({"--pause", "300", "--pause-at", "echo:60"}).isEmpty());
    m_serial.SetPortName(m_fat.Device());
    auto* dlg = new CCommunicationDlg;
    ASSERT_TRUE(dlg->StartTransfer(SendTexts, &m_doc, &m_serial));
    QTimer watch;
    bool closed = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!closed && dlg->Core().SenderActive()) {
            closed = true;
            dlg->close();
        }
    });
    watch.start(1);
    dlg->exec();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(dlg->Core().SenderActive());
    delete dlg; // no thread may outlive the window
    EXPECT_TRUE(m_recorder.Boxes().isEmpty());
    EXPECT_FALSE(m_serial.IsOpened());
}

TEST_F(CommunicationDlg, PortThatDoesNotOpenSaysWhy)
{
    m_serial.SetPortName(m_fat.Folder() + "/none");
    CCommunicationDlg dlg;
    EXPECT_EQ(dlg.StartTransfer(ReadTexts, &m_doc, &m_serial), 0);
    ASSERT_EQ(m_recorder.Boxes().size(), 1);
    EXPECT_EQ(m_recorder.Boxes()[0].text,
              m_fat.Folder() +
                  "/none konnte nicht geöffnet werden: Datei oder Verzeichnis nicht gefunden");
    EXPECT_EQ(m_recorder.Boxes()[0].icon, msg::Error);
}

TEST_F(CommunicationDlg, AbbrechenEndsTheWaitForAFatThatNeverBecomesReady)
{
    ASSERT_FALSE(m_fat.Start({"--not-ready", "1000000"}).isEmpty());
    m_serial.SetPortName(m_fat.Device());
    CCommunicationDlg dlg;
    ASSERT_TRUE(dlg.StartTransfer(SendTexts, &m_doc, &m_serial));
    // Clicked once the FAT has been asked to get ready; a guard fails the test instead of
    // letting it hang.
    QTimer watch;
    bool clicked = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!clicked && dlg.Core().State() == AwaitReady) {
            clicked = true;
            QTest::mouseClick(dlg.CancelButton(), Qt::LeftButton);
        }
    });
    watch.start(1);
    QTimer::singleShot(20000, &dlg, [&] { dlg.done(QDialog::Rejected); });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(dlg.CancelButton()->text(), "Abbrechen");
    EXPECT_TRUE(m_recorder.Boxes().isEmpty());
    EXPECT_FALSE(m_serial.IsOpened());
    m_fat.Stop();
    EXPECT_FALSE(m_fat.FromPc().endsWith('\x04')) << "ended as a closed window, no end byte";
}

TEST_F(CommunicationDlg, RowThatCannotBeSentEndsTheWindowBeforeAnyByte)
{
    m_doc.Records().SetItemText(4, 0, "X");
    ASSERT_FALSE(m_fat.Start().isEmpty());
    m_serial.SetPortName(m_fat.Device());
    CCommunicationDlg dlg;
    ASSERT_TRUE(dlg.StartTransfer(SendTexts, &m_doc, &m_serial));
    // A guard in case the window never ends: the test then fails instead of hanging.
    bool guardFired = false;
    QTimer::singleShot(20000, &dlg, [&] {
        guardFired = true;
        dlg.reject();
    });
    dlg.exec();
    EXPECT_FALSE(guardFired);
    EXPECT_FALSE(dlg.Succeeded());
    ASSERT_EQ(m_recorder.Boxes().size(), 1);
    EXPECT_EQ(m_recorder.Boxes()[0].text, QString::fromUtf8("nicht unterstütztes Textformat"));
    EXPECT_FALSE(m_serial.IsOpened());
    m_fat.Stop();
    EXPECT_TRUE(m_fat.FromPc().isEmpty());
}
