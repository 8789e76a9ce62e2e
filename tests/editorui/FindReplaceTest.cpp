#include "FrameFixture.h"

#include "CFindReplaceDlg.h"

// Qt
#include <QLineEdit>
#include <QStatusBar>

namespace {

CFindReplaceDlg* FindDialog(CMainFrame* frame)
{
    return frame->findChild<CFindReplaceDlg*>();
}

} // namespace

class FindReplace : public FrameFixture
{
protected:
    // Keys to whatever has the focus in the active window.
    static void Keys(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    int Selected() const { return view()->GetFirstSelected(); }
    QString Status() const { return frame->statusBar()->currentMessage(); }
};

TEST_F(FindReplace, FindByKeysThenReplaceAll)
{
    OpenStandard();
    view()->SelectRow(3);
    Key(Qt::Key_F, Qt::ControlModifier);
    CFindReplaceDlg* dialog = FindDialog(frame.get());
    ASSERT_NE(dialog, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(dialog->isActiveWindow(), 10000);
    EXPECT_EQ(dialog->windowTitle(), "Suchen");
    EXPECT_FALSE(dialog->findChild<QLineEdit*>("replaceText")->isVisible());
    // Beside the main window: the selected row stays in sight.
    const QRect row = view()->visualRect(doc->Records().index(3, 1));
    EXPECT_FALSE(dialog->frameGeometry().intersects(
        QRect(view()->viewport()->mapToGlobal(row.topLeft()), row.size())));

    Keys("halle"); // "Halle Nord" and "Halle Sued", without regard to case
    const QString end = QString::fromUtf8("Ende der Liste erreicht, die Suche ging am Anfang "
                                          "weiter.");
    const QString start = QString::fromUtf8("Anfang der Liste erreicht, die Suche ging am Ende "
                                            "weiter.");
    const struct
    {
        Qt::KeyboardModifiers modifiers;
        int row;
        QString status;
    } steps[] = {{Qt::NoModifier, 0, end},
                 {Qt::NoModifier, 1, {}},
                 {Qt::ShiftModifier, 0, {}},
                 {Qt::ShiftModifier, 1, start}};
    for (const auto& step : steps) {
        Key(Qt::Key_F3, step.modifiers);
        EXPECT_EQ(Selected(), step.row);
        EXPECT_EQ(Status(), step.status);
    }
    Keys("x");
    Key(Qt::Key_Return); // "Weitersuchen"
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Status(), QString::fromUtf8("\"hallex\" wurde nicht gefunden."));

    // Strg+H: "l" becomes "lll" in every row; both Halle rows would grow past Text 1's 12
    // characters and stay, "Lager" / "Keller" changes.
    Key(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(dialog->windowTitle(), "Ersetzen");
    Key(Qt::Key_A, Qt::ControlModifier);
    Keys("l");
    Key(Qt::Key_D, Qt::AltModifier);
    Keys("lll");
    Key(Qt::Key_A, Qt::AltModifier); // a button's access key clicks it once the loop runs
    QTRY_VERIFY_WITH_TIMEOUT(!messages.Texts().isEmpty(), 10000);
    EXPECT_EQ(messages.Texts(),
              QStringList{QString::fromUtf8(
                  "1 Zeile geändert.\n2 Zeilen nicht geändert, die erste (MelderGruppe 0001, "
                  "Melder 01): Text 1 darf höchstens 12 Zeichen lang sein.")});
    EXPECT_EQ(cell(0, Column::Text1).trimmed(), "Halle Nord");
    EXPECT_EQ(cell(3, Column::Text1), "lllager");
    EXPECT_EQ(cell(3, Column::Text2), "Ke" + QByteArray(6, 'l') + "er");
    EXPECT_EQ(Selected(), 0) << "the first refused row is shown";
    EXPECT_TRUE(doc->IsModified());
    // All replacements are one step of the history.
    doc->History().Undo();
    EXPECT_EQ(cell(3, Column::Text1).trimmed(), "Lager");
    EXPECT_FALSE(doc->IsModified());
    doc->History().Redo();

    // One column: group 0003 becomes 0001; "Ersetzen" finds the row first, then moves it to
    // its sorted place.
    messages.Clear();
    Key(Qt::Key_S, Qt::AltModifier);
    Key(Qt::Key_A, Qt::ControlModifier);
    Keys("0003");
    Key(Qt::Key_B, Qt::AltModifier);
    Key(Qt::Key_Down); // "MelderGruppe"
    Key(Qt::Key_D, Qt::AltModifier);
    Key(Qt::Key_A, Qt::ControlModifier);
    Keys("1");
    Key(Qt::Key_E, Qt::AltModifier);
    QTRY_COMPARE_WITH_TIMEOUT(Selected(), 3, 10000); // the match is selected first
    Key(Qt::Key_E, Qt::AltModifier);
    QTRY_COMPARE_WITH_TIMEOUT(cell(2, Column::Group), QByteArray("0001"), 10000);
    EXPECT_EQ(cell(2, Column::Detector), "05");
    EXPECT_EQ(cell(3, Column::Group), "0002");
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(messages.Texts(), QStringList());
}
