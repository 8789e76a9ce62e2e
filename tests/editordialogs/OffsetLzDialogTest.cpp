#include "CLzAssignDlg.h"
#include "CMaskEdit.h"
#include "COffsetDlg.h"
#include "DialogFixture.h"
#include "ProjectRules.h"

// Qt
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

#include <cstring>

namespace {

using OffsetDialogTest = DialogFixture;

QByteArray Offset(const ProjectData& d)
{
    return QByteArray(d.groupOffset);
}

} // namespace

TEST_F(OffsetDialogTest, RangeFollowsThePanelType)
{
    Project(FormatStandard, PanelType::Bosch);
    EXPECT_EQ(COffsetDlg(&doc.Data()).RangeLabel()->text(), QStringLiteral("- 9999 bis 9999."));
    doc.Data().panelType = PanelType::Notifier;
    EXPECT_EQ(COffsetDlg(&doc.Data()).RangeLabel()->text(), QStringLiteral("- 99999 bis 99999."));
    doc.Data().panelType = PanelType::None;
    EXPECT_EQ(COffsetDlg(&doc.Data()).ValueField()->GetLimitText(), 5);
}

TEST_F(OffsetDialogTest, TypedValueWithMinusIsStoredNegative)
{
    Project(FormatStandard, PanelType::Notifier);
    COffsetDlg dlg(&doc.Data(), &frame);
    Activate(&dlg);
    EXPECT_TRUE(dlg.PlusButton()->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), dlg.ValueField());
    EXPECT_EQ(dlg.ValueField()->GetMode(), CMaskEdit::Digits);
    TypeFocused(QStringLiteral("25x"));
    dlg.MinusButton()->click();
    dlg.ValueField()->setFocus();
    QTest::keyClick(dlg.ValueField(), Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Offset(doc.Data()), QByteArray("-25"));
}

TEST_F(OffsetDialogTest, AStoredNegativeOffsetOpensWithMinus)
{
    Project(FormatStandard);
    qstrcpy(doc.Data().groupOffset, "-7");
    COffsetDlg dlg(&doc.Data(), &frame);
    EXPECT_TRUE(dlg.MinusButton()->isChecked());
    EXPECT_EQ(dlg.ValueField()->text(), QStringLiteral("7"));

    dlg.ValueField()->setText(QString());
    dlg.accept(); // empty counts as 0, without a sign
    EXPECT_EQ(Offset(doc.Data()), QByteArray("0"));
}

TEST_F(OffsetDialogTest, CancelChangesNothing)
{
    Project(FormatStandard);
    qstrcpy(doc.Data().groupOffset, "12");
    COffsetDlg dlg(&doc.Data(), &frame);
    Activate(&dlg);
    TypeFocused(QStringLiteral("9"));
    QTest::keyClick(dlg.ValueField(), Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(Offset(doc.Data()), QByteArray("12"));
}

namespace {

class LzAssignTest : public DialogFixture
{
protected:
    void SetUp() override
    {
        ProjectRules::SetDefaultLzAssignment(doc.Data());
        std::memcpy(before, doc.Data().lzAssignment, sizeof before);
    }

    static QString Shown(CLzAssignDlg& dlg, int row) { return dlg.List()->item(row, 1)->text(); }

    static void Select(CLzAssignDlg& dlg, std::initializer_list<int> rows)
    {
        dlg.List()->clearSelection();
        for (int row : rows)
            dlg.List()->selectionModel()->select(dlg.List()->model()->index(row, 0),
                                                 QItemSelectionModel::Select |
                                                     QItemSelectionModel::Rows);
    }

    char before[256];
};

} // namespace

TEST_F(LzAssignTest, ListShowsTheTableAndTheComboTheFiveNames)
{
    doc.Data().lzAssignment[40] = 0;
    CLzAssignDlg dlg(doc.Data().lzAssignment, &frame);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("LZ - Zuweisung"));
    ASSERT_EQ(dlg.List()->rowCount(), 255);
    ASSERT_EQ(dlg.Combo()->count(), 5);
    EXPECT_EQ(dlg.Combo()->itemText(0), QStringLiteral("nicht Auswerten"));
    EXPECT_EQ(dlg.Combo()->currentText(), QStringLiteral("Ruhe")); // row 0, selected
    EXPECT_GT(dlg.List()->columnWidth(1),
              dlg.List()->fontMetrics().horizontalAdvance(QStringLiteral("nicht Auswerten")));
    EXPECT_EQ(dlg.Combo()->itemText(4), QStringLiteral("Störung"));
    EXPECT_EQ(dlg.List()->item(254, 0)->text(), QStringLiteral("254"));
    EXPECT_EQ(Shown(dlg, 12), QStringLiteral("Störung"));
    EXPECT_EQ(Shown(dlg, 27), QStringLiteral("Störung"));
    EXPECT_EQ(Shown(dlg, 14), QStringLiteral("Feuer Alarm"));
    EXPECT_EQ(Shown(dlg, 16), QStringLiteral("Feuer Alarm"));
    EXPECT_EQ(Shown(dlg, 31), QStringLiteral("Abschaltung"));
    EXPECT_EQ(Shown(dlg, 0), QStringLiteral("Ruhe"));
    EXPECT_EQ(Shown(dlg, 40), QStringLiteral("nicht Auswerten"));
    EXPECT_EQ(dlg.List()->horizontalHeaderItem(0)->text(), QStringLiteral("LZ-Nummer"));
    EXPECT_EQ(dlg.List()->horizontalHeaderItem(1)->text(), QStringLiteral("Zuweisung"));
}

TEST_F(LzAssignTest, ComboSetsExactlyTheSelectedRowsAndOkStoresThem)
{
    CLzAssignDlg dlg(doc.Data().lzAssignment, &frame);
    Activate(&dlg);
    Select(dlg, {3, 4, 200});
    dlg.Combo()->setFocus();
    // The combo shows the state of the first selected row; one step down is "Abschaltung".
    EXPECT_EQ(dlg.Combo()->currentText(), QStringLiteral("Ruhe"));
    QTest::keyClick(dlg.Combo(), Qt::Key_Down);
    EXPECT_EQ(dlg.Combo()->currentText(), QStringLiteral("Abschaltung"));
    EXPECT_EQ(Shown(dlg, 3), QStringLiteral("Abschaltung"));
    EXPECT_EQ(Shown(dlg, 4), QStringLiteral("Abschaltung"));
    EXPECT_EQ(Shown(dlg, 200), QStringLiteral("Abschaltung"));
    EXPECT_EQ(Shown(dlg, 5), QStringLiteral("Ruhe"));
    EXPECT_EQ(std::memcmp(doc.Data().lzAssignment, before, 256), 0); // not before OK

    dlg.accept();
    for (int i = 0; i < 255; ++i) {
        const char expected = (i == 3 || i == 4 || i == 200) ? 3 : before[i];
        EXPECT_EQ(doc.Data().lzAssignment[i], expected) << i;
    }
    EXPECT_EQ(doc.Data().lzAssignment[255], 0);
}

TEST_F(LzAssignTest, ClickingARowShowsItsStateInTheCombo)
{
    CLzAssignDlg dlg(doc.Data().lzAssignment, &frame);
    Activate(&dlg);
    const QRect rect = dlg.List()->visualItemRect(dlg.List()->item(0, 1));
    dlg.List()->scrollToItem(dlg.List()->item(0, 1));
    QTest::mouseClick(dlg.List()->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(dlg.Combo()->currentText(), QStringLiteral("Ruhe"));
    Select(dlg, {12});
    dlg.OnClickList();
    EXPECT_EQ(dlg.Combo()->currentText(), QStringLiteral("Störung"));
}

TEST_F(LzAssignTest, CancelAfterStandardLeavesTheTable)
{
    std::memset(doc.Data().lzAssignment, 0, 255);
    std::memcpy(before, doc.Data().lzAssignment, sizeof before);
    CLzAssignDlg dlg(doc.Data().lzAssignment, &frame);
    Activate(&dlg);
    dlg.OnStandard();
    EXPECT_EQ(Shown(dlg, 14), QStringLiteral("Feuer Alarm"));
    EXPECT_EQ(Shown(dlg, 100), QStringLiteral("Ruhe"));
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(std::memcmp(doc.Data().lzAssignment, before, 256), 0);
}

TEST_F(LzAssignTest, StandardThenOkStoresTheStandardTable)
{
    std::memset(doc.Data().lzAssignment, 0, 255);
    CLzAssignDlg dlg(doc.Data().lzAssignment, &frame);
    dlg.OnStandard();
    dlg.accept();
    ProjectData standard{};
    ProjectRules::SetDefaultLzAssignment(standard);
    EXPECT_EQ(std::memcmp(doc.Data().lzAssignment, standard.lzAssignment, 256), 0);
}

TEST_F(LzAssignTest, AnUnknownValueShowsItsNumberAndOkStoresFive)
{
    doc.Data().lzAssignment[7] = 9;
    CLzAssignDlg dlg(doc.Data().lzAssignment, &frame);
    EXPECT_EQ(Shown(dlg, 7), QStringLiteral("Wert 9"));
    Select(dlg, {7});
    dlg.OnClickList();
    EXPECT_EQ(dlg.Combo()->currentIndex(), -1);
    dlg.accept();
    EXPECT_EQ(doc.Data().lzAssignment[7], 5);
    EXPECT_EQ(doc.Data().lzAssignment[8], 2);
}
