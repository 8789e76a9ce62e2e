#include "CCoverPageDlg.h"
#include "PrintProject.h"

// Qt
#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class CoverPageDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::memset(&data, 0, sizeof data);
        SetCoverText(data, 0,
                     "Gewerbepark S\xFC"
                     "d");
        SetCoverText(data, 5, "Baunatal");
    }
    // Shows the dialog as the active window, so that access keys reach it.
    static void ShowActive(QDialog& dlg)
    {
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    }
    static QPushButton* Button(QDialog& dlg, const QString& text)
    {
        for (QPushButton* b : dlg.findChildren<QPushButton*>())
            if (b->text() == text)
                return b;
        return nullptr;
    }

    ProjectData data;
};

} // namespace

TEST_F(CoverPageDlgTest, ShowsTheSixTextsInTwoGroupBoxes)
{
    CCoverPageDlg dlg(data);
    EXPECT_EQ(dlg.windowTitle(), "Deckblatt");
    QStringList titles;
    for (QGroupBox* box : dlg.findChildren<QGroupBox*>())
        titles.append(box->title());
    EXPECT_EQ(titles, QStringList({"&Projekt", "&Kunde / Auftraggeber"}));
    EXPECT_EQ(dlg.Texts(),
              QStringList({QStringLiteral("Gewerbepark Süd"), "", "", "", "", "Baunatal"}));
    QStringList labels;
    for (QLabel* label : dlg.findChildren<QLabel*>())
        labels.append(label->text());
    EXPECT_EQ(labels, QStringList({"&Name:", "&Straße:", "&Ort:", "Na&me:", "S&traße:", "O&rt:"}));
    for (int id : CCoverPageDlg::ControlIds) {
        QLineEdit* edit = dlg.Edit(id);
        ASSERT_TRUE(edit) << id;
        EXPECT_EQ(edit->maxLength(), 40);
        EXPECT_TRUE(QFontInfo(edit->font()).fixedPitch()) << "Courier New or its twin";
    }
    EXPECT_EQ(dlg.Edit(1032), nullptr);
    EXPECT_NE(Button(dlg, "OK"), nullptr);
    EXPECT_NE(Button(dlg, "&Abbrechen"), nullptr);
}

TEST_F(CoverPageDlgTest, AFortyCharacterNameTypedIsStoredWhole)
{
    CCoverPageDlg dlg(data);
    ShowActive(dlg);
    // Alt+M reaches the customer's name.
    QTest::keyClick(&dlg, Qt::Key_M, Qt::AltModifier);
    ASSERT_EQ(QApplication::focusWidget(), dlg.Edit(1036));
    const QString name = QStringLiteral("Stadtwerke Kassel Netz- und Anlagenbau ") + "X";
    ASSERT_EQ(name.size(), 40);
    QTest::keyClicks(dlg.Edit(1036), name + "YZ");
    EXPECT_EQ(dlg.Edit(1036)->text(), name) << "the edit takes no 41st character";
    QTest::keyClicks(dlg.Edit(1030), QStringLiteral("Hafenstraße 3"));
    QTest::mouseClick(Button(dlg, "OK"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    CCoverPageDlg::StoreTexts(data, dlg.Texts());
    EXPECT_EQ(QByteArray(data.coverPage[3]), name.toLatin1());
    EXPECT_EQ(data.coverPage[3][40], '\0');
    EXPECT_EQ(QByteArray(data.coverPage[1]), "Hafenstra\xDF"
                                             "e 3");
    EXPECT_EQ(QByteArray(data.coverPage[0]), "Gewerbepark S\xFC"
                                             "d");
}

TEST_F(CoverPageDlgTest, AbbrechenRejects)
{
    CCoverPageDlg dlg(data);
    ShowActive(dlg);
    QTest::keyClicks(dlg.Edit(1029), "neu");
    QTest::mouseClick(Button(dlg, "&Abbrechen"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(CoverPageDlgTest, TabGoesThroughTheFieldsInOrder)
{
    CCoverPageDlg dlg(data);
    ShowActive(dlg);
    dlg.Edit(1029)->setFocus();
    for (int i = 1; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), dlg.Edit(CCoverPageDlg::ControlIds[i])) << i;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Button(dlg, "OK"));
    // Every access key of a label lands in its own field.
    const QList<QPair<Qt::Key, int>> keys = {{Qt::Key_N, 1029}, {Qt::Key_S, 1030},
                                             {Qt::Key_O, 1031}, {Qt::Key_M, 1036},
                                             {Qt::Key_T, 1037}, {Qt::Key_R, 1038}};
    for (const auto& k : keys) {
        QTest::keyClick(&dlg, k.first, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), dlg.Edit(k.second)) << k.second;
    }
}

TEST_F(CoverPageDlgTest, StoreTextsCutsAndPadsWithNul)
{
    SetCoverText(data, 2, "lang und alt und noch mehr");
    CCoverPageDlg::StoreTexts(data, {"a", "b", "c", QString(45, 'k'), "", QStringLiteral("Köln")});
    EXPECT_EQ(QByteArray(data.coverPage[2]), "c");
    for (size_t i = 1; i < sizeof data.coverPage[2]; ++i)
        EXPECT_EQ(data.coverPage[2][i], '\0');
    EXPECT_EQ(QByteArray(data.coverPage[3]), QByteArray(40, 'k'));
    EXPECT_EQ(QByteArray(data.coverPage[5]), "K\xF6ln");
}
