#include "CCommandTable.h"
#include "CCoverPageDlg.h"
#include "CMainFrame.h"
#include "CMessageRecorder.h"
#include "CPrintCommands.h"
#include "CQuillmarkView.h"
#include "PdfWords.h"
#include "PrintProject.h"
#include "QuillmarkCommands.h"

// Qt
#include <QPrintDialog>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs check on the next modal window of type T as soon as it is up; the check closes it.
template <typename T> void WhenModal(std::function<void(T*)> check, bool* seen)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, check, seen] {
        if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            *seen = true;
            check(window);
        }
    });
    timer->start();
}

class PrintWindowTest : public ::testing::Test
{
protected:
    // Opens a saved project of rows in a new main window.
    void Open(int rows)
    {
        const QString path = dir.filePath(QStringLiteral("p%1.bmt").arg(rows));
        {
            CQuillmarkDoc saved;
            FillPrintProject(saved, rows);
            CMessageRecorder answers;
            answers.FileNext(path);
            ASSERT_TRUE(saved.SaveProject(CQuillmarkDoc::SaveAs));
        }
        frame = std::make_unique<CMainFrame>(&doc, path);
        ASSERT_TRUE(frame->OpenDocument(path));
        frame->show();
        QApplication::setActiveWindow(frame.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        // What the idle time does in the running program: the commands follow the rows.
        frame->Commands().UpdateUi();
        print = frame->View()->findChild<CPrintCommands*>();
        ASSERT_NE(print, nullptr);
    }

    QTemporaryDir dir;
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    std::unique_ptr<CMainFrame> frame;
    CPrintCommands* print = nullptr;
};

} // namespace

TEST_F(PrintWindowTest, PrintAndPreviewNeedARowCoverPageAClosedPort)
{
    Open(0);
    CCommandTable& c = frame->Commands();
    c.UpdateUi();
    EXPECT_FALSE(c.IsEnabled(Cmd::FilePrint));
    EXPECT_FALSE(c.IsEnabled(Cmd::FilePrintPreview));
    EXPECT_FALSE(c.Action(Cmd::FilePrint)->isEnabled());
    EXPECT_TRUE(c.IsEnabled(Cmd::CoverPage));
    MessageRecord rec;
    rec.formatTag = "S";
    rec.group = "0001";
    rec.detector = "01";
    doc.Records().AddRecordAt(rec, 0);
    c.UpdateUi();
    EXPECT_TRUE(c.IsEnabled(Cmd::FilePrint));
    EXPECT_TRUE(c.IsEnabled(Cmd::FilePrintPreview));
    EXPECT_TRUE(c.Action(Cmd::FilePrintPreview)->isEnabled());
    EXPECT_EQ(print->Metrics().linesPerPage, 50);
}

TEST_F(PrintWindowTest, DeckseiteFromTheSystemMenuStoresTheTextsAndMarksTheProject)
{
    Open(3);
    doc.SetModifiedFlag(false);
    bool seen = false;
    WhenModal<CCoverPageDlg>(
        [](CCoverPageDlg* dlg) {
            // Access keys reach the dialog once it is the active window.
            QApplication::setActiveWindow(dlg);
            if (!QTest::qWaitForWindowActive(dlg)) {
                dlg->reject();
                return;
            }
            QTest::keyClick(dlg, Qt::Key_M, Qt::AltModifier);
            QTest::keyClicks(QApplication::focusWidget(), QString(40, QLatin1Char('K')));
            QTest::keyClick(dlg, Qt::Key_N, Qt::AltModifier);
            QWidget* edit = QApplication::focusWidget();
            QTest::keyClicks(edit, "Gewerbepark S");
            // A German keyboard's umlaut key: its text, no ASCII key code.
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Udiaeresis, QStringLiteral("ü"),
                                Qt::NoModifier);
            QTest::keyClicks(edit, "d");
            for (QPushButton* b : dlg->findChildren<QPushButton*>())
                if (b->text() == "OK")
                    QTest::mouseClick(b, Qt::LeftButton);
        },
        &seen);
    // Alt+S opens "&System", D its "&Deckseite".
    QTest::keyClick(frame.get(), Qt::Key_S, Qt::AltModifier);
    QMenu* system = frame->Popup(3);
    ASSERT_TRUE(system);
    ASSERT_TRUE(QTest::qWaitFor([&] { return system->isVisible(); }, 5000));
    QTest::keyClick(system, Qt::Key_D);
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen; }, 10000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QApplication::activeModalWidget() == nullptr; }, 10000));
    EXPECT_EQ(QByteArray(doc.Data().coverPage[3]), QByteArray(40, 'K'));
    EXPECT_EQ(QByteArray(doc.Data().coverPage[0]), "Gewerbepark S\xFC"
                                                   "d");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(PrintWindowTest, AbbrechenInTheCoverPageDialogChangesNothing)
{
    Open(3);
    doc.SetModifiedFlag(false);
    bool seen = false;
    WhenModal<CCoverPageDlg>(
        [](CCoverPageDlg* dlg) {
            QTest::keyClicks(dlg->Edit(1029), "neu");
            for (QPushButton* b : dlg->findChildren<QPushButton*>())
                if (b->text() == "&Abbrechen")
                    QTest::mouseClick(b, Qt::LeftButton);
        },
        &seen);
    frame->Commands().Execute(Cmd::CoverPage);
    EXPECT_TRUE(seen);
    EXPECT_EQ(doc.Data().coverPage[0][0], '\0');
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(PrintWindowTest, PreviewShowsEveryPage)
{
    Open(51);
    bool seen = false;
    int pages = -1;
    WhenModal<QPrintPreviewDialog>(
        [&pages](QPrintPreviewDialog* preview) {
            auto* widget = preview->findChild<QPrintPreviewWidget*>();
            ASSERT_TRUE(QTest::qWaitFor([&] { return widget && widget->pageCount() > 0; }, 20000));
            pages = widget->pageCount();
            preview->close();
        },
        &seen);
    frame->Commands().Execute(Cmd::FilePrintPreview);
    EXPECT_TRUE(seen);
    EXPECT_EQ(pages, 3);
}

TEST_F(PrintWindowTest, StrgPOpensThePrintDialogWithPrintToFileAndThePageRange)
{
    Open(51);
    bool seen = false;
    bool toFile = false;
    int minPage = 0, maxPage = 0;
    WhenModal<QPrintDialog>(
        [&](QPrintDialog* dialog) {
            toFile = dialog->testOption(QAbstractPrintDialog::PrintToFile);
            minPage = dialog->minPage();
            maxPage = dialog->maxPage();
            dialog->reject();
        },
        &seen);
    QTest::keyClick(frame.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen; }, 10000));
    EXPECT_TRUE(toFile);
    EXPECT_EQ(minPage, 1);
    EXPECT_EQ(maxPage, 3);
}

TEST_F(PrintWindowTest, PrintingToAFileWritesTheChosenPagesOnTheWholeSheet)
{
    Open(120);
    QPrinter printer(QPrinter::HighResolution);
    CPrintCommands::PreparePrinter(printer);
    const QString pdf = dir.filePath("seiten.pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(3, 4);
    ASSERT_TRUE(print->PrintJob(printer));
    EXPECT_EQ(print->Metrics().offsetX, 0);
    EXPECT_EQ(print->Metrics().offsetY, 0);

    const PdfPages pages = ReadPdfWords(pdf);
    ASSERT_EQ(pages.PageCount(), 2);
    EXPECT_NEAR(pages.sizes[0].first, 2100, 1);
    EXPECT_EQ(pages.LineAt(1, 2830), "Seite 3 / 4");
    const auto row = pages.Find(1, "0051");
    ASSERT_EQ(row.size(), 1);
    EXPECT_NEAR(row[0].xMin, 250, 1);
    EXPECT_NEAR(row[0].yMin, 270, 2);
    EXPECT_EQ(pages.LineAt(2, 2830), "Seite 4 / 4");
}
