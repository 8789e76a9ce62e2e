// Searching the trace views by keys: the bar under the views, F3 and Shift+F3, text and
// bytes, the count in the status bar, matches marked, lines that come while searching.
#include "ShellFixture.h"

#include "CTraceSearchBar.h"

// Qt
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace LineprobeCommands;

namespace {

class SearchTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        // The line-feed rule: one line per received line.
        frame->Session()->TakePanelCode(9);
        for (const char* line : {"Alarm Melder 1\n", "St\xF6rung Linie 2\n", "Ruhe\n",
                                 "ST\xD6RUNG \x10\x02 Linie 4\n", "Ruhe\n", "st\xF6rung Netz\n"})
            frame->Session()->ShowChunk(QByteArray(line));
    }

    CTraceSearchBar* Bar() const { return frame->findChild<CTraceSearchBar*>(); }
    QString Pane() const
    {
        const QLabel* pane = frame->findChild<QLabel*>(QStringLiteral("searchPane"));
        return pane && pane->isVisible() ? pane->text() : QString();
    }
    int Selected(CTraceListView* view) const
    {
        const QModelIndexList rows = view->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }
    // Ctrl+F in the given view, the text typed, Enter.
    void Search(QWidget* view, const QString& text)
    {
        Activate(view);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
        ASSERT_NE(Bar(), nullptr);
        ASSERT_TRUE(Bar()->isVisible());
        ASSERT_TRUE(Bar()->Edit()->hasFocus());
        QTest::keyClicks(Bar()->Edit(), text);
        QTest::keyClick(Bar()->Edit(), Qt::Key_Return);
    }
};

} // namespace

TEST_F(SearchTest, TextWithoutCaseStepsThroughMatchesInBothViews)
{
    Activate(frame->AsciiView());
    frame->AsciiView()->selectRow(0);
    Activate(frame->AsciiView());
    frame->AsciiView()->setFocus();
    QTest::keyClick(frame->AsciiView(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_NE(Bar(), nullptr);
    QTest::keyClick(Bar()->IgnoreCaseBox(), Qt::Key_Space);
    ASSERT_TRUE(Bar()->IgnoreCaseBox()->isChecked());
    Bar()->Edit()->setFocus();
    // "störung", the umlaut as a keyboard sends it.
    QTest::keyClicks(Bar()->Edit(), QStringLiteral("st"));
    QTest::sendKeyEvent(QTest::Click, Bar()->Edit(), Qt::Key_Odiaeresis, QStringLiteral("ö"),
                        Qt::NoModifier);
    QTest::keyClicks(Bar()->Edit(), QStringLiteral("rung"));
    QTest::keyClick(Bar()->Edit(), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([this] { return Pane() == "Treffer 1 von 3"; })) << Pane().toStdString();
    EXPECT_EQ(Selected(frame->AsciiView()), 1);
    EXPECT_EQ(Selected(frame->HexView()), 1);

    const struct
    {
        Qt::KeyboardModifiers modifiers;
        int row;
        const char* pane;
    } steps[] = {
        {Qt::NoModifier, 3, "Treffer 2 von 3"},    {Qt::NoModifier, 5, "Treffer 3 von 3"},
        {Qt::NoModifier, 1, "Treffer 1 von 3"}, // from the last to the first again
        {Qt::ShiftModifier, 5, "Treffer 3 von 3"}, {Qt::ShiftModifier, 3, "Treffer 2 von 3"},
    };
    for (const auto& s : steps) {
        QTest::keyClick(frame, Qt::Key_F3, s.modifiers);
        EXPECT_EQ(Selected(frame->AsciiView()), s.row);
        EXPECT_EQ(Selected(frame->HexView()), s.row);
        EXPECT_EQ(Pane(), QString::fromUtf8(s.pane));
    }
    // The case counts again: only the line as typed.
    Bar()->IgnoreCaseBox()->setChecked(false);
    QTest::keyClick(frame, Qt::Key_F3);
    ASSERT_TRUE(WaitFor([this] { return Pane() == "Treffer 1 von 1"; })) << Pane().toStdString();
    EXPECT_EQ(Selected(frame->AsciiView()), 5);
}

TEST_F(SearchTest, BytesInTheHexViewAndLinesThatComeWhileSearching)
{
    Search(frame->HexView(), QString());
    Bar()->KindBox()->setCurrentIndex(Bar()->KindBox()->findData(CTraceSearch::Query::Hex));
    QTest::keyClicks(Bar()->Edit(), QStringLiteral("1002"));
    QTest::keyClick(Bar()->Edit(), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([this] { return Pane() == "Treffer 1 von 1"; })) << Pane().toStdString();
    EXPECT_EQ(Selected(frame->AsciiView()), 3);
    const CTraceSearch::Match match = Bar()->Search().Matches().at(0);
    // "53 54 D6 52 55 4E 47 20 10 02 ...": the ninth unit, two units without the last blank.
    EXPECT_EQ(match.column, 8 * 3);
    EXPECT_EQ(match.length, 5);

    // Received lines are searched as they come, a line continued across chunks too.
    frame->Session()->ShowChunk("Alarm \x10");
    frame->Session()->ShowChunk("\x02\n");
    ASSERT_TRUE(WaitFor([this] { return Pane() == "Treffer 1 von 2"; })) << Pane().toStdString();

    // A typing error: the message, and the marks of the last search stay.
    Bar()->Edit()->setText(QStringLiteral("10 0"));
    QTest::keyClick(Bar()->Edit(), Qt::Key_Return);
    EXPECT_TRUE(Pane().contains("Paare von Hex-Ziffern")) << Pane().toStdString();

    // Esc closes the bar and takes the count from the status bar.
    QTest::keyClick(Bar()->Edit(), Qt::Key_Escape);
    EXPECT_FALSE(Bar()->isVisible());
    EXPECT_EQ(Pane(), QString());
}
