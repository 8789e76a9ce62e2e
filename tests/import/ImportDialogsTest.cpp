#include "CImportFormatDlg.h"
#include "CImportProgressDlg.h"
#include "CTextFormatDlg.h"
#include "ImportBmf.h"

// Qt
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace BmfImport;

// A mnemonic clicks its button after a short animation: wait for it.
bool WaitFor(const std::function<bool()>& condition)
{
    for (int i = 0; i < 500 && !condition(); ++i)
        QTest::qWait(10);
    return condition();
}

// Shows the dialog and waits until it has the focus, so access keys reach it.
void ShowActive(QDialog& dlg)
{
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
}

TEST(ImportFormatDlgTest, OpensWithoutAChoiceAndDisablesTheMissingKind)
{
    CImportFormatDlg dlg(KindStandard | KindTwoLines);
    ShowActive(dlg);
    EXPECT_EQ(dlg.windowTitle(), "BMF-Datei importieren");
    EXPECT_EQ(dlg.Kind(), 0);
    EXPECT_FALSE(dlg.OkButton()->isEnabled());
    EXPECT_FALSE(dlg.Button(KindPseudo)->isEnabled());
    EXPECT_TRUE(dlg.Button(KindStandard)->isEnabled());
    EXPECT_TRUE(dlg.Button(KindTwoLines)->isEnabled());
    // OK does nothing before a choice.
    QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    QTest::keyClick(&dlg, Qt::Key_2, Qt::AltModifier);
    EXPECT_TRUE(WaitFor([&] { return dlg.Kind() == KindTwoLines; }));
    EXPECT_TRUE(dlg.OkButton()->isEnabled());
    QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Kind(), KindTwoLines);
}

TEST(ImportFormatDlgTest, EachPairOfKindsDisablesTheThird)
{
    EXPECT_FALSE(CImportFormatDlg(KindPseudo | KindTwoLines).Button(KindStandard)->isEnabled());
    EXPECT_FALSE(CImportFormatDlg(KindPseudo | KindStandard).Button(KindTwoLines)->isEnabled());
    CImportFormatDlg all(KindPseudo | KindTwoLines | KindStandard);
    for (int kind : {KindPseudo, KindTwoLines, KindStandard})
        EXPECT_TRUE(all.Button(kind)->isEnabled());
    EXPECT_EQ(all.Button(KindStandard)->text(), "&Standardeingabe");
    EXPECT_EQ(all.Button(KindPseudo)->text(), "&Pseudo Meldergruppenzuweisung");
    EXPECT_EQ(all.Button(KindTwoLines)->text(), "&2 x 20 Zeichen");
}

TEST(ImportFormatDlgTest, CancelGivesNoKind)
{
    CImportFormatDlg dlg(KindPseudo | KindStandard);
    ShowActive(dlg);
    QTest::keyClick(&dlg, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(WaitFor([&] { return dlg.Kind() == KindStandard; }));
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST(TextFormatDlgTest, OffersTheTwoOtherFormatsFirstPreselected)
{
    CTextFormatDlg dlg(FormatConversion::Targets(4));
    ShowActive(dlg);
    EXPECT_EQ(dlg.windowTitle(), "Textformat ändern");
    EXPECT_EQ(dlg.Button(0)->text(), "&Standardeingabe");
    EXPECT_EQ(dlg.Button(1)->text(), "&Pseudo-Meldergruppenzuweisung");
    EXPECT_EQ(dlg.Selected(), 0);
    EXPECT_EQ(dlg.TextFormat(), 2);
    QTest::keyClick(&dlg, Qt::Key_P, Qt::AltModifier);
    EXPECT_TRUE(WaitFor([&] { return dlg.Selected() == 1; }));
    EXPECT_EQ(dlg.TextFormat(), 3);
    QTest::keyClick(&dlg, Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    CTextFormatDlg two(FormatConversion::Targets(2));
    EXPECT_EQ(two.Button(0)->text(), "&Pseudo-Meldergruppenzuweisung");
    EXPECT_EQ(two.Button(1)->text(), "&2x20 Zeichen");
}

TEST(ImportProgressDlgTest, ShowsTheCallersTextAndFollowsThePosition)
{
    CImportProgressDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "Texte importieren");
    EXPECT_FALSE(dlg.isModal());
    dlg.Begin(QStringLiteral("Textformat wird bestimmt"), 9);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.Text(), "Textformat wird bestimmt");
    EXPECT_EQ(dlg.ProgressBar()->maximum(), 9);
    dlg.SetPosition(4);
    EXPECT_EQ(dlg.Pos(), 4);
    dlg.End();
    EXPECT_FALSE(dlg.isVisible());
}

TEST(ImportProgressDlgTest, RepaintsOnlyEveryFewMilliseconds)
{
    CImportProgressDlg dlg;
    const qint64 length = qint64(5) << 32; // longer than an int can count
    dlg.Begin(QStringLiteral("Texte werden übernommen"), length - 1);
    QElapsedTimer clock;
    clock.start();
    const int steps = 2000000;
    for (int i = 0; i < steps; ++i)
        dlg.SetPosition(length / steps * i);
    const qint64 ms = clock.elapsed();
    // At most one drawing per 30 ms of work, plus the first.
    EXPECT_LE(dlg.Repaints(), ms / 30 + 2);
    EXPECT_GT(dlg.ProgressBar()->value(), dlg.ProgressBar()->maximum() / 2);
    dlg.SetPosition(length - 1);
    EXPECT_EQ(dlg.ProgressBar()->value(), dlg.ProgressBar()->maximum());
    dlg.End();
}

} // namespace
