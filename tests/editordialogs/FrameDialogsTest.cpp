// The dialogs as the technician reaches them in the real main window: menus by their access
// keys, the list by the mouse.
#include "CEntryDlg.h"
#include "CLzAssignDlg.h"
#include "CMainFrame.h"
#include "CMaskEdit.h"
#include "CMessageRecorder.h"
#include "COffsetDlg.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "ProjectBytes.h"
#include "ProjectTypes.h"

// Qt
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

class FrameDialogsTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<CEntryDlg*>(w))
                delete w;
        frame.reset();
    }

    void NewProject(int panelType)
    {
        ProjectData& d = doc.Data();
        d.textFormat = FormatStandard;
        d.displayChars = 40;
        d.maxRecords = 1000;
        d.groupDigits = 4;
        d.detectorDigits = 2;
        d.pseudoGroupDigits = 4;
        d.panelType = panelType;
        Show();
        frame->NewDocument();
    }

    void OpenProject(const QByteArray& records)
    {
        ProjectBytes file;
        file.panelId = "BO 1";
        const QString path = dir.filePath(QStringLiteral("Halle.bmt"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file.Header() + records + "E");
        f.close();
        Show();
        ASSERT_TRUE(frame->OpenDocument(path));
    }

    void Show()
    {
        frame = std::make_unique<CMainFrame>(&doc, QString());
        frame->resize(800, 500);
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }

    // Opens a menu of the menu bar by its access key and picks an entry by its own.
    void Menu(Qt::Key menu, Qt::Key entry)
    {
        QTest::keyClick(frame.get(), menu, Qt::AltModifier);
        QMenu* popup = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return (popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())); },
            5000));
        QTest::keyClick(popup, entry);
    }

    static CEntryDlg* OpenDialog(const QString& caption)
    {
        CEntryDlg* dlg = nullptr;
        EXPECT_TRUE(QTest::qWaitFor([&] { return (dlg = CEntryDlg::FindOpen(caption)); }, 30000));
        if (dlg) {
            dlg->activateWindow();
            EXPECT_TRUE(
                QTest::qWaitFor([dlg] { return QApplication::activeWindow() == dlg; }, 30000));
        }
        return dlg;
    }

    static void Alt(QWidget* w, Qt::Key key) { QTest::keyClick(w, key, Qt::AltModifier); }

    void DoubleClickRow(int row)
    {
        CQuillmarkView* view = frame->View();
        const QRect rect = view->visualRect(view->model()->index(row, 1));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QByteArray Cell(int row, int column) { return doc.Records().GetItemText(row, column); }

    CMessageRecorder messages;
    QTemporaryDir dir;
    CQuillmarkDoc doc;
    std::unique_ptr<CMainFrame> frame;
};

const QByteArray kTwoRecords = "S0003"
                               "01"
                               "Treppe      "
                               "Ost                 "
                               "S0003"
                               "02"
                               "Flur        "
                               "West                ";

} // namespace

TEST_F(FrameDialogsTest, InsertTextsTypedWithKopierenLandInTheList)
{
    NewProject(PanelType::Bosch);
    Menu(Qt::Key_B, Qt::Key_E);
    CEntryDlg* dlg = OpenDialog(QStringLiteral("Standardeingabe"));
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(QApplication::focusWidget(), dlg->GroupField());
    QTest::keyClicks(dlg->GroupField(), QStringLiteral("12"));
    Alt(dlg, Qt::Key_M);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
    Alt(dlg, Qt::Key_1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Halle Nord"));
    Alt(dlg, Qt::Key_2);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Ebene 2"));
    Alt(dlg, Qt::Key_K);

    ASSERT_EQ(doc.Records().GetCount(), 1);
    EXPECT_EQ(Cell(0, Column::Group), QByteArray("0012"));
    EXPECT_EQ(Cell(0, Column::Detector), QByteArray("05"));
    EXPECT_EQ(Cell(0, Column::Text1), QByteArray("Halle Nord"));
    EXPECT_EQ(Cell(0, Column::Text2), QByteArray("Ebene 2"));
    EXPECT_EQ(dlg->GroupField()->text(), QStringLiteral("12"));
    EXPECT_EQ(dlg->DetectorField()->text(), QStringLiteral("06"));
    EXPECT_TRUE(doc.IsModified());
    QTRY_COMPARE_WITH_TIMEOUT(frame->MessageCount(), 1, 30000);

    // The menu again while the dialog is open: still one dialog.
    frame->activateWindow();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QApplication::activeWindow() == frame.get(); }, 30000));
    Menu(Qt::Key_B, Qt::Key_E);
    int dialogs = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        dialogs += qobject_cast<CEntryDlg*>(w) && w->isVisible() ? 1 : 0;
    EXPECT_EQ(dialogs, 1);
}

TEST_F(FrameDialogsTest, DoubleClickEditsTheRowAndASecondOneOpensNothing)
{
    OpenProject(kTwoRecords);
    ASSERT_EQ(doc.Records().GetCount(), 2);
    DoubleClickRow(1);
    CEntryDlg* dlg = OpenDialog(QStringLiteral("Standardeingabe"));
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->DetectorField()->text(), QStringLiteral("02"));
    EXPECT_EQ(dlg->Text1Field()->text(), QStringLiteral("Flur"));
    EXPECT_FALSE(doc.IsModified());

    DoubleClickRow(0);
    EXPECT_EQ(CEntryDlg::FindOpen(QStringLiteral("Standardeingabe")), dlg);
    EXPECT_EQ(dlg->DetectorField()->text(), QStringLiteral("02"));

    // OK with a changed text replaces the row's texts in place.
    dlg->Text1Field()->selectAll();
    QTest::keyClicks(dlg->Text1Field(), QStringLiteral("Keller"));
    QPointer<CEntryDlg> guard(dlg);
    QTest::keyClick(dlg->Text1Field(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(guard.isNull(), 30000);
    EXPECT_EQ(doc.Records().GetCount(), 2);
    EXPECT_EQ(Cell(1, Column::Text1), QByteArray("Keller"));
}

TEST_F(FrameDialogsTest, DoubleClickBelowTheLastRowOpensAnEmptyDialog)
{
    OpenProject(kTwoRecords);
    CQuillmarkView* view = frame->View();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       QPoint(20, view->viewport()->height() - 5));
    CEntryDlg* dlg = OpenDialog(QStringLiteral("Standardeingabe"));
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(dlg->GroupField()->text().isEmpty());
    EXPECT_TRUE(dlg->Text1Field()->text().isEmpty());
}

TEST_F(FrameDialogsTest, OffsetFromTheSystemMenuShowsInTheTitle)
{
    NewProject(PanelType::Notifier);
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<COffsetDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Meldergruppenoffset"));
        QTest::keyClicks(dlg->ValueField(), QStringLiteral("25"));
        dlg->MinusButton()->setChecked(true);
        driven = true;
        dlg->accept();
    });
    Menu(Qt::Key_S, Qt::Key_O);
    QTRY_VERIFY_WITH_TIMEOUT(driven, 30000);
    EXPECT_EQ(QByteArray(doc.Data().groupOffset), QByteArray("-25"));
    EXPECT_TRUE(frame->windowTitle().endsWith(
        QStringLiteral("[ Standardeingabe mit einem Offset von -25 ]")))
        << frame->windowTitle().toStdString();
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(FrameDialogsTest, LzAssignmentFromTheSystemMenuStoresOnOk)
{
    NewProject(PanelType::Bosch);
    EXPECT_FALSE(doc.IsModified());
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CLzAssignDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->List()->selectRow(7);
        dlg->Combo()->setCurrentIndex(0);
        emit dlg->Combo()->activated(0);
        driven = true;
        dlg->accept();
    });
    Menu(Qt::Key_S, Qt::Key_L);
    QTRY_VERIFY_WITH_TIMEOUT(driven, 30000);
    EXPECT_EQ(doc.Data().lzAssignment[7], 0);
    EXPECT_EQ(doc.Data().lzAssignment[14], 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(FrameDialogsTest, CancelledLzAssignmentLeavesTheProjectUnchanged)
{
    NewProject(PanelType::Bosch);
    const QByteArray before(doc.Data().lzAssignment, 256);
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CLzAssignDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->OnStandard();
        dlg->reject();
    });
    Menu(Qt::Key_S, Qt::Key_L);
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 30000);
    EXPECT_EQ(QByteArray(doc.Data().lzAssignment, 256), before);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(FrameDialogsTest, AnOpenDialogClosesWhenAProjectOfAnotherShapeArrives)
{
    NewProject(PanelType::Bosch);
    frame->View()->OpenEntryDialog(-1);
    QPointer<CEntryDlg> dlg = OpenDialog(QStringLiteral("Standardeingabe"));
    ASSERT_FALSE(dlg.isNull());

    // "Neu" with the same settings keeps it: its fields still fit the list.
    frame->NewDocument();
    EXPECT_FALSE(dlg.isNull());
    EXPECT_TRUE(dlg->isVisible());

    // A project of another format (here opened from a file with pseudo groups) closes it, so
    // no record of the old shape lands in the new list.
    ProjectBytes file;
    file.textFormat = FormatPseudo;
    const QString path = dir.filePath(QStringLiteral("Pseudo.bmt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(file.Header() + "E");
    f.close();
    ASSERT_TRUE(frame->OpenDocument(path));
    QTRY_VERIFY_WITH_TIMEOUT(dlg.isNull() || !dlg->isVisible(), 30000);
    EXPECT_EQ(doc.Records().GetCount(), 0);
}

TEST_F(FrameDialogsTest, AStoredRowIsScrolledIntoView)
{
    QByteArray records;
    for (int i = 1; i <= 200; ++i)
        records += "S" + QByteArray::number(i).rightJustified(4, '0') + "01" + QByteArray(12, ' ') +
                   QByteArray(20, ' ');
    OpenProject(records);
    ASSERT_EQ(doc.Records().GetCount(), 200);
    CQuillmarkView* view = frame->View();
    view->scrollToTop();
    frame->View()->OpenEntryDialog(-1);
    CEntryDlg* dlg = OpenDialog(QStringLiteral("Standardeingabe"));
    ASSERT_NE(dlg, nullptr);
    QTest::keyClicks(dlg->GroupField(), QStringLiteral("9000"));
    Alt(dlg, Qt::Key_M);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
    Alt(dlg, Qt::Key_K);
    ASSERT_EQ(doc.Records().GetCount(), 201);
    // In sight, and not behind the dialog that stored it.
    auto shown = [view](int row) {
        const QRect cell = view->visualRect(view->model()->index(row, 1));
        return QRect(view->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    };
    QTRY_VERIFY_WITH_TIMEOUT(
        view->viewport()->rect().intersects(view->visualRect(view->model()->index(200, 1))), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!dlg->frameGeometry().intersects(shown(200)), 5000);
}
