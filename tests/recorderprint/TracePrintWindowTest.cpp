#include "CCommandTable.h"
#include "CLineprobeDoc.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMainFrame.h"
#include "CRecordingSession.h"
#include "CMessageRecorder.h"
#include "CMessages.h"
#include "CTracePrintCommands.h"
#include "LineprobeCommands.h"
#include "PdfWords.h"

// Qt
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace LineprobeCommands;

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

class TracePrintWindowTest : public ::testing::Test
{
protected:
    TracePrintWindowTest() { SetProgramTitle(QStringLiteral("Lineprobe")); }

    void SetUp() override
    {
        frame = std::make_unique<CMainFrame>();
        frame->OnFileNew();
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return QApplication::activeWindow() == frame.get(); }, 15000));
        frame->Doc()->tracePath = dir.filePath("halle.ts");
        print = frame->findChild<CTracePrintCommands*>();
        ASSERT_NE(print, nullptr);
    }
    void Activate(QWidget* view)
    {
        QMdiSubWindow* sub = frame->ChildOf(view);
        ASSERT_NE(sub, nullptr);
        frame->MdiArea()->setActiveSubWindow(sub);
        frame->Commands()->UpdateUi();
    }
    // Text lines in both views.
    void Fill(int lines)
    {
        for (int i = 0; i < lines; ++i)
            frame->Session()->ShowTextLines("Zeile " + QByteArray::number(i));
    }

    QTemporaryDir dir;
    CMessageRecorder messages;
    std::unique_ptr<CMainFrame> frame;
    CTracePrintCommands* print = nullptr;
};

} // namespace

TEST_F(TracePrintWindowTest, ThePreviewShowsTheActiveViewsPages)
{
    Fill(60);
    Activate(frame->AsciiView());
    bool seen = false;
    int pages = -1;
    WhenModal<QPrintPreviewDialog>(
        [&pages](QPrintPreviewDialog* preview) {
            auto* widget = preview->findChild<QPrintPreviewWidget*>();
            if (QTest::qWaitFor([&] { return widget && widget->pageCount() > 0; }, 20000))
                pages = widget->pageCount();
            preview->close();
        },
        &seen);
    ASSERT_TRUE(frame->Execute(FilePrintPreview));
    EXPECT_TRUE(seen);
    EXPECT_EQ(pages, 2);

    // An empty list: one page with the footer.
    frame->Session()->ClearLists();
    Activate(frame->HexView());
    seen = false;
    WhenModal<QPrintPreviewDialog>(
        [&pages](QPrintPreviewDialog* preview) {
            auto* widget = preview->findChild<QPrintPreviewWidget*>();
            if (QTest::qWaitFor([&] { return widget && widget->pageCount() > 0; }, 20000))
                pages = widget->pageCount();
            preview->close();
        },
        &seen);
    ASSERT_TRUE(frame->Execute(FilePrintPreview));
    EXPECT_TRUE(seen);
    EXPECT_EQ(pages, 1);
}

TEST_F(TracePrintWindowTest, StrgPOpensThePrintDialogWithPrintToFile)
{
    Fill(120);
    Activate(frame->AsciiView());
    bool seen = false;
    bool toFile = false;
    int maxPage = 0;
    WhenModal<QPrintDialog>(
        [&](QPrintDialog* dialog) {
            toFile = dialog->testOption(QAbstractPrintDialog::PrintToFile);
            maxPage = dialog->maxPage();
            dialog->reject();
        },
        &seen);
    frame->AsciiView()->setFocus();
    QTest::keyClick(frame.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen; }, 10000));
    EXPECT_TRUE(toFile);
    EXPECT_EQ(maxPage, 3);
}

TEST_F(TracePrintWindowTest, DruckereinrichtungOpensThePageSetupFromTheFileMenu)
{
    bool seen = false;
    WhenModal<QPageSetupDialog>([](QPageSetupDialog* dialog) { dialog->reject(); }, &seen);
    frame->Commands()->UpdateUi();
    QTest::keyClick(frame.get(), Qt::Key_D, Qt::AltModifier);
    QMenu* menu = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())); }, 10000));
    QTest::keyClick(menu, Qt::Key_E);
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen; }, 10000));
}

TEST_F(TracePrintWindowTest, PrintingToAFileWritesTheViewsLinesAndFooter)
{
    Fill(3);
    // An item as a loaded list file gives it: four blanks, then the units.
    frame->Session()->ShowTextLines("    " + QByteArray(60, 'x').replace("x", "41 "));
    QPrinter& printer = print->Printer();
    const QString pdf = dir.filePath("hex.pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ASSERT_TRUE(print->PrintJob(printer, frame->HexView()));

    const PdfPages pages = ReadPdfWords(pdf);
    ASSERT_EQ(pages.PageCount(), 1);
    EXPECT_NEAR(pages.sizes[0].first, 2100, 1);
    // 184 characters need the small font; the hex view cuts at 103 = 4 + 3 * 33.
    EXPECT_EQ(pages.LineAt(1, 100), "Zeile 0");
    const auto zero = pages.Find(1, "Zeile");
    ASSERT_EQ(zero.size(), 3);
    EXPECT_NEAR(zero[0].xMin, 100, 1);
    EXPECT_NEAR(zero[1].yMin - zero[0].yMin, 50, 1);
    const auto units = pages.Find(1, "41");
    ASSERT_EQ(units.size(), 60);
    EXPECT_NEAR(units[0].yMin, 250, 2);
    EXPECT_NEAR(units[0].xMin, 100 + 4 * 18, 1);
    EXPECT_NEAR(units[32].yMin, 250, 2);
    // The continuation starts on a whole unit, four blanks in.
    EXPECT_NEAR(units[33].yMin, 300, 2);
    EXPECT_NEAR(units[33].xMin, 100 + 4 * 18, 1);
    const auto path = pages.Find(1, dir.filePath("halle.ts"));
    ASSERT_EQ(path.size(), 1);
    EXPECT_NEAR(path[0].yMin, 2850, 2);
    EXPECT_EQ(pages.LineAt(1, 2880), "Seite 1 / 1");
}
