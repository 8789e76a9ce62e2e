#include "BmfRecords.h"
#include "CCommandTable.h"
#include "CImportFormatDlg.h"
#include "CImportProgressDlg.h"
#include "CMainFrame.h"
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "CTextFormatDlg.h"
#include "ImportBmf.h"
#include "ProjectBytes.h"
#include "QuillmarkCommands.h"

// Qt
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

bool WaitFor(const std::function<bool()>& condition, int ms = 5000)
{
    for (int waited = 0; waited < ms && !condition(); waited += 10)
        QTest::qWait(10);
    return condition();
}

// Notes every progress window that is shown, with its text at that moment.
class ProgressWatch : public QObject
{
public:
    ProgressWatch() { qApp->installEventFilter(this); }
    ~ProgressWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* dlg = qobject_cast<CImportProgressDlg*>(watched))
                shown.append(dlg->windowTitle() + QStringLiteral(": ") + dlg->Text());
        return false;
    }
    QStringList shown;
};

// The real main window on a project file in a temporary folder; commands are run from the
// "&Bearbeiten" menu and the modal dialogs answered as a user would.
class ImportWindowTest : public ::testing::Test
{
protected:
    void Open(const QByteArray& panelId, int textFormat = 2, const QByteArray& records = "")
    {
        ProjectBytes p;
        p.panelId = panelId;
        p.textFormat = textFormat;
        const QString path = Write("projekt.bmt", p.Header() + records + 'E');
        doc.OpenProjectPath(path);
        frame = std::make_unique<CMainFrame>(&doc, path);
        ASSERT_TRUE(frame->InitialUpdate());
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        messages.Clear();
    }
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    bool Enabled(int id)
    {
        frame->Commands().UpdateUi();
        return frame->Commands().Action(id)->isEnabled();
    }
    // Opens "&Bearbeiten" with Alt+B and clicks the command's entry.
    void RunFromMenu(int id)
    {
        QTest::keyClick(frame.get(), Qt::Key_B, Qt::AltModifier);
        QMenu* edit = frame->Popup(1);
        ASSERT_TRUE(WaitFor([edit] { return edit->isVisible(); }));
        QAction* action = frame->Commands().Action(id);
        ASSERT_TRUE(edit->actions().contains(action));
        ASSERT_TRUE(action->isEnabled());
        QTest::mouseClick(edit, Qt::LeftButton, {}, edit->actionGeometry(action).center());
    }
    // Answers the next modal dialog of type T with answer once it is open; the check runs
    // from a timer, so it never holds up the event loop the test is waiting in.
    template <class T> void AnswerDialog(std::function<void(T&)> answer)
    {
        auto* poll = new QTimer(frame.get());
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
            T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            // Answered once it is laid out and has the focus, as a user sees it.
            if (dialog && dialog->isActiveWindow()) {
                poll->stop();
                poll->deleteLater();
                answer(*dialog);
            }
        });
        poll->start();
    }
    QByteArray Cell(int row, int column) { return doc.Records().GetItemText(row, column); }

    QTemporaryDir dir;
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ImportWindowTest, BmfImportAsksForTheFormatAndShowsItsProgress)
{
    Open("AT 1", 2,
         "S0012"
         "03"
         "Alter Text  "
         "zwei                ");
    const QString bmf = Write("a.bmf", Bmf::Standard(5, 2, "Kurz", "eins") +
                                           Bmf::TwoLines(6, 1, "Zwanzig Zeichen lang", "zwei"));
    messages.FileNext(bmf);
    ProgressWatch watch;
    bool pseudoDisabled = false, okDisabled = false;
    AnswerDialog<CImportFormatDlg>([&](CImportFormatDlg& dlg) {
        pseudoDisabled = !dlg.Button(BmfImport::KindPseudo)->isEnabled();
        okDisabled = !dlg.OkButton()->isEnabled();
        QTest::keyClick(&dlg, Qt::Key_2, Qt::AltModifier);
        WaitFor([&dlg] { return dlg.OkButton()->isEnabled(); });
        QTest::keyClick(&dlg, Qt::Key_Return);
    });
    // The shown list is reset once, not told of every imported row.
    QSignalSpy inserted(&doc.Records(), &QAbstractItemModel::rowsInserted);
    RunFromMenu(Cmd::ImportBmf);
    ASSERT_TRUE(WaitFor([this] { return doc.Records().GetCount() == 2; }));
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_TRUE(pseudoDisabled);
    EXPECT_TRUE(okDisabled);
    EXPECT_EQ(doc.Data().textFormat, 4);
    EXPECT_EQ(Cell(0, 0), "F");
    EXPECT_EQ(Cell(1, 4), "Zwanzig Zeichen lang");
    EXPECT_EQ(frame->windowTitle(), "Unbenannt - Quillmark  [ 2x20 Zeichen ]");
    EXPECT_EQ(watch.shown, (QStringList{"Texte importieren: Textformat wird bestimmt",
                                        "Texte importieren: Die Texte werden importiert"}));
    EXPECT_EQ(messages.Texts(), QStringList{"Sollten Sie einen Offset versorgt haben, müssen "
                                            "Sie diesen noch eingeben"});
    // Format 4 has no offset: the System menu lost "&Offset".
    EXPECT_FALSE(frame->Popup(3)->actions().contains(frame->Commands().Action(Cmd::GroupOffset)));
    EXPECT_EQ(frame->MessageCount(), 2);
}

TEST_F(ImportWindowTest, CancellingTheFormatDialogKeepsTheProject)
{
    Open("AT 1", 2,
         "S0012"
         "03"
         "Alter Text  "
         "zwei                ");
    messages.FileNext(Write("a.bmf", Bmf::Standard(5, 2, "a", "") + Bmf::Pseudo(6, 1, 2, "b", "")));
    AnswerDialog<CImportFormatDlg>(
        [](CImportFormatDlg& dlg) { QTest::keyClick(&dlg, Qt::Key_Escape); });
    RunFromMenu(Cmd::ImportBmf);
    ASSERT_TRUE(WaitFor([this] { return !QApplication::activeModalWidget(); }));
    EXPECT_EQ(doc.Records().GetCount(), 1);
    EXPECT_EQ(Cell(0, 4), "Alter Text  ");
    EXPECT_EQ(frame->windowTitle(), "projekt.bmt - Quillmark  [ Standardeingabe ]");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ImportWindowTest, PanelTextsComeFromTheMenuForATotalWaltherPanel)
{
    Open("TW 1");
    messages.FileNext(Write("a.cmb", "@Text\r\n01 5 0012 Wort 0123456789X\r\n"));
    ProgressWatch watch;
    QSignalSpy inserted(&doc.Records(), &QAbstractItemModel::rowsInserted);
    RunFromMenu(Cmd::ImportPanelTexts);
    ASSERT_TRUE(WaitFor([this] { return doc.Records().GetCount() == 1; }));
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(Cell(0, 1), "0012");
    EXPECT_EQ(Cell(0, 3), "05");
    EXPECT_EQ(Cell(0, 4), "0123456789");
    EXPECT_EQ(watch.shown, QStringList{"Texte importieren: Texte werden übernommen"});
    EXPECT_EQ(messages.Texts(),
              QStringList{"Kontrollieren Sie die importiereten Texte auf Ihre Richtigkeit !"});
    EXPECT_EQ(frame->windowTitle(), "Unbenannt - Quillmark  [ Standardeingabe ]");
}

TEST_F(ImportWindowTest, FormatChangeFromTheMenuWithItsDialog)
{
    Open("AT 1", 2,
         "S0012"
         "03"
         "Alter Text  "
         "zwei                ");
    QStringList labels;
    AnswerDialog<CTextFormatDlg>([&](CTextFormatDlg& dlg) {
        labels = {dlg.Button(0)->text(), dlg.Button(1)->text()};
        QTest::keyClick(&dlg, Qt::Key_2, Qt::AltModifier);
        WaitFor([&dlg] { return dlg.Selected() == 1; });
        QTest::keyClick(&dlg, Qt::Key_Return);
    });
    RunFromMenu(Cmd::ConvertFormat);
    ASSERT_TRUE(WaitFor([this] { return doc.Data().textFormat == 4; }));
    EXPECT_EQ(labels, (QStringList{"&Pseudo-Meldergruppenzuweisung", "&2x20 Zeichen"}));
    EXPECT_EQ(Cell(0, 0), "F");
    EXPECT_EQ(messages.Texts(),
              (QStringList{"Hierdurch können Zeichen verloren gehen.",
                           "Kontrollieren Sie alle Daten auf ihre Richtigkeit."}));
    EXPECT_EQ(frame->windowTitle(), "Unbenannt - Quillmark  [ 2x20 Zeichen ]");
    EXPECT_FALSE(frame->Popup(3)->actions().contains(frame->Commands().Action(Cmd::GroupOffset)));
    // Both texts get the same width; the view may stretch the last column beyond it.
    EXPECT_EQ(frame->View()->ListColumnWidth(4), frame->View()->ListColumnWidth(5));
    EXPECT_EQ(frame->View()->columnWidth(4), frame->View()->ListColumnWidth(4));
    EXPECT_GE(frame->View()->columnWidth(5), frame->View()->ListColumnWidth(5));
}

TEST_F(ImportWindowTest, EnableRulesFollowThePanel)
{
    Open("AC 2"); // Alarmcom with input card
    EXPECT_FALSE(Enabled(Cmd::ImportBmf));
    EXPECT_FALSE(Enabled(Cmd::ConvertFormat));
    EXPECT_TRUE(Enabled(Cmd::ImportPanelTexts));
    frame.reset();

    Open("NF 1");
    EXPECT_TRUE(Enabled(Cmd::ImportBmf));
    EXPECT_FALSE(Enabled(Cmd::ConvertFormat));
    EXPECT_FALSE(Enabled(Cmd::ImportPanelTexts));
    frame.reset();

    Open("SI 2"); // AlgoRex
    EXPECT_TRUE(Enabled(Cmd::ImportPanelTexts));
    frame.reset();
    Open("SI 1");
    EXPECT_FALSE(Enabled(Cmd::ImportPanelTexts));
    frame.reset();
    Open("BO 1");
    EXPECT_FALSE(Enabled(Cmd::ImportPanelTexts));
    EXPECT_TRUE(Enabled(Cmd::ImportBmf));
    EXPECT_TRUE(Enabled(Cmd::ConvertFormat));
}

} // namespace
