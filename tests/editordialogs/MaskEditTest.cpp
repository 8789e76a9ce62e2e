#include "CMaskEdit.h"
#include "CMessageRecorder.h"

// Qt
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A window with the field under test and a second field that can take the focus away.
class MaskEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        other = new QLineEdit(&window);
        edit = new CMaskEdit(&window);
        layout->addWidget(other);
        layout->addWidget(edit);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus();
    }

    void Focus()
    {
        edit->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }

    void Type(const char* keys) { QTest::keyClicks(edit, QString::fromLatin1(keys)); }
    void Umlaut(Qt::Key key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::sendKeyEvent(QTest::Click, edit, key, text, mods);
    }

    CMessageRecorder messages;
    QWidget window;
    QLineEdit* other = nullptr;
    CMaskEdit* edit = nullptr;
};

} // namespace

TEST_F(MaskEditTest, SetModeReturnsThePreviousModeAndAlwaysSetsCourier)
{
    QFont f = edit->font();
    f.setFamily(QStringLiteral("Sans"));
    f.setPointSize(13);
    edit->setFont(f);
    EXPECT_EQ(edit->SetMode(CMaskEdit::Digits), CMaskEdit::Text);
    EXPECT_EQ(edit->font().family(), QStringLiteral("Courier"));
    EXPECT_EQ(edit->font().pointSize(), 13);
    EXPECT_EQ(edit->SetMode(CMaskEdit::CardList), CMaskEdit::Digits);

    edit->setFont(f);
    EXPECT_EQ(edit->SetMode(5), -1);
    EXPECT_EQ(edit->SetMode(-1), -1);
    EXPECT_EQ(edit->GetMode(), CMaskEdit::CardList);
    EXPECT_EQ(edit->font().family(), QStringLiteral("Courier")); // a refused call sets it too
}

TEST_F(MaskEditTest, DigitsModeTakesDigitsOnlyAndBeepsAtTheRest)
{
    edit->SetMode(CMaskEdit::Digits);
    edit->SetLimitText(4);
    Focus();
    Type("1a2-3");
    EXPECT_EQ(edit->text(), QStringLiteral("123"));
    EXPECT_EQ(messages.BeepCount(), 2);
    Type("45");
    EXPECT_EQ(edit->text(), QStringLiteral("1234")); // the limit refuses the 5, with a beep
    EXPECT_EQ(messages.BeepCount(), 3);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("123"));
    EXPECT_EQ(messages.BeepCount(), 3);

    QGuiApplication::clipboard()->setText(QStringLiteral("9"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier); // a control character: refused
    EXPECT_EQ(edit->text(), QStringLiteral("123"));
    EXPECT_EQ(messages.BeepCount(), 4);
}

TEST_F(MaskEditTest, ALimitNeverCutsAnExistingText)
{
    edit->SetMode(CMaskEdit::Digits);
    edit->setText(QStringLiteral("123456"));
    edit->SetLimitText(2);
    EXPECT_EQ(edit->text(), QStringLiteral("123456"));
    Focus();
    edit->setCursorPosition(6);
    Type("7");
    EXPECT_EQ(edit->text(), QStringLiteral("123456"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("12345"));
}

TEST_F(MaskEditTest, TextModeTakesPrintableAsciiAndTheUmlautKeys)
{
    edit->SetMode(CMaskEdit::Text);
    Focus();
    Type("Halle 3/B ~");
    EXPECT_EQ(edit->text(), QStringLiteral("Halle 3/B ~"));
    Umlaut(Qt::Key_Eacute, QStringLiteral("é")); // a key of its own: dropped
    Umlaut(Qt::Key_ssharp, QStringLiteral("ß"));
    EXPECT_EQ(edit->text(), QStringLiteral("Halle 3/B ~"));
    Umlaut(Qt::Key_Udiaeresis, QStringLiteral("Ü"), Qt::ShiftModifier);
    EXPECT_TRUE(edit->UmlautKey());
    Umlaut(Qt::Key_Adiaeresis, QStringLiteral("ä"));
    Umlaut(Qt::Key_Odiaeresis, QStringLiteral("ö"));
    EXPECT_EQ(edit->text(), QStringLiteral("Halle 3/B ~Üäö"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier); // dropped without a beep
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_FALSE(edit->UmlautKey());
    EXPECT_EQ(edit->text(), QStringLiteral("Halle 3/B ~Üäöa"));
    EXPECT_EQ(messages.BeepCount(), 0);
}

TEST_F(MaskEditTest, NoInputModeTakesNothingButBackspace)
{
    edit->SetMode(CMaskEdit::NoInput);
    edit->setText(QStringLiteral("ab"));
    Focus();
    edit->setCursorPosition(2);
    Type("1x ");
    EXPECT_EQ(edit->text(), QStringLiteral("ab"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("a"));
    edit->PasteFiltered(QStringLiteral("zz"));
    EXPECT_EQ(edit->text(), QStringLiteral("a"));
    EXPECT_EQ(messages.BeepCount(), 0);
}

TEST_F(MaskEditTest, GroupOrCardModeTakesANumberOrPlusAndOneCardDigit)
{
    edit->SetMode(CMaskEdit::GroupOrCard);
    Focus();
    Type("+0");
    EXPECT_EQ(edit->text(), QStringLiteral("+"));
    EXPECT_EQ(messages.BeepCount(), 1);
    EXPECT_EQ(edit->GetLimitText(), 2);
    Type("45");
    EXPECT_EQ(edit->text(), QStringLiteral("+4")); // the limit of 2 refuses the 5
    Type("+");
    EXPECT_EQ(messages.BeepCount(), 3); // not at the start

    edit->selectAll();
    Type("1");
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
    EXPECT_EQ(edit->GetLimitText(), 5);
    Type("23456");
    EXPECT_EQ(edit->text(), QStringLiteral("12345"));
    edit->setCursorPosition(0);
    Type("+"); // allowed at the start, but the limit of 2 does not take it
    EXPECT_EQ(edit->text(), QStringLiteral("12345"));
    Type("x");
    EXPECT_EQ(messages.BeepCount(), 6); // the 6, the "+" beyond the limit and the x

    edit->selectAll();
    Type("+");
    EXPECT_EQ(edit->text(), QStringLiteral("+"));
}

TEST_F(MaskEditTest, GroupOrCardModeKeepsPlainNumbersWithinTheGroupDigits)
{
    edit->SetMode(CMaskEdit::GroupOrCard);
    edit->SetGroupDigits(3);
    Focus();
    Type("98765");
    EXPECT_EQ(edit->text(), QStringLiteral("987"));
}

TEST_F(MaskEditTest, CardListFocusPlaceholderAndGroups)
{
    edit->SetMode(CMaskEdit::CardList);
    edit->SetLimitText(20);
    Focus();
    EXPECT_EQ(edit->text(), QStringLiteral("0/00"));
    EXPECT_EQ(edit->cursorPosition(), 0);

    Type("217");
    EXPECT_EQ(edit->text(), QStringLiteral("2/17"));
    EXPECT_EQ(edit->cursorPosition(), 4);
    Type(" ");
    EXPECT_EQ(edit->text(), QStringLiteral("2/17 0/00"));
    EXPECT_EQ(edit->cursorPosition(), 5);
    EXPECT_EQ(messages.BeepCount(), 0);

    Type("35"); // "5" as the number's first digit: dropped silently
    EXPECT_EQ(edit->text(), QStringLiteral("2/17 3/00"));
    EXPECT_EQ(edit->cursorPosition(), 7);
    EXPECT_EQ(messages.BeepCount(), 0);
    Type("33"); // 33 is no number: beep, the character stays, the caret moves on
    EXPECT_EQ(edit->text(), QStringLiteral("2/17 3/30"));
    EXPECT_EQ(edit->cursorPosition(), 9);
    EXPECT_EQ(messages.BeepCount(), 1);
    Type(" "); // group 3/30 is complete
    Type("910 4");
    EXPECT_EQ(edit->text(), QStringLiteral("2/17 3/30 9/10 4/00"));
    Type("12");
    EXPECT_EQ(edit->text(), QStringLiteral("2/17 3/30 9/10 4/12"));
    EXPECT_EQ(edit->cursorPosition(), 19);
    Type(" "); // no fifth group
    EXPECT_EQ(messages.BeepCount(), 2);
    EXPECT_EQ(edit->text(), QStringLiteral("2/17 3/30 9/10 4/12"));
}

TEST_F(MaskEditTest, CardListRefusesIncompleteGroupsAndWrongPositions)
{
    edit->SetMode(CMaskEdit::CardList);
    edit->SetLimitText(20);
    Focus();
    Type("2");
    QTest::keyClick(edit, Qt::Key_End);
    Type(" "); // 2/00: number 00
    EXPECT_EQ(messages.BeepCount(), 1);
    EXPECT_EQ(edit->text(), QStringLiteral("2/00"));

    edit->setText(QStringLiteral("0/17"));
    edit->setCursorPosition(4);
    Type(" "); // card 0
    EXPECT_EQ(messages.BeepCount(), 2);
    edit->setCursorPosition(0);
    Type("0"); // card digit 0
    EXPECT_EQ(messages.BeepCount(), 3);
    edit->setCursorPosition(1);
    Type("1"); // the slash
    EXPECT_EQ(messages.BeepCount(), 4);
    edit->setCursorPosition(2);
    Type("x");
    EXPECT_EQ(messages.BeepCount(), 5);
    edit->setCursorPosition(3);
    QTest::keyClick(edit, Qt::Key_Backspace); // backspace follows the pattern too
    EXPECT_EQ(messages.BeepCount(), 6);
    QTest::keyClick(edit, Qt::Key_Delete); // a plain delete at the caret is swallowed
    EXPECT_EQ(edit->text(), QStringLiteral("0/17"));
    EXPECT_EQ(messages.BeepCount(), 6);

    edit->setText(QStringLiteral("1/00"));
    edit->setCursorPosition(3);
    Type("0"); // 00 is no number
    EXPECT_EQ(edit->text(), QStringLiteral("1/00"));
    EXPECT_EQ(edit->cursorPosition(), 4);
    EXPECT_EQ(messages.BeepCount(), 7);
}

TEST_F(MaskEditTest, CardListWithAShortLimitTakesTwoGroups)
{
    edit->SetMode(CMaskEdit::CardList);
    edit->SetLimitText(12);
    Focus();
    Type("101 202 ");
    EXPECT_EQ(edit->text(), QStringLiteral("1/01 2/02"));
    EXPECT_EQ(messages.BeepCount(), 1);

    // A limit below a first group's room: no second group that the field could not hold.
    edit->SetLimitText(8);
    edit->setText(QStringLiteral("1/01"));
    edit->setCursorPosition(4);
    Type(" ");
    EXPECT_EQ(edit->text(), QStringLiteral("1/01"));
    EXPECT_EQ(messages.BeepCount(), 2);
}

TEST_F(MaskEditTest, CardListDeleteRemovesOnlyTheSelectedLastGroup)
{
    edit->SetMode(CMaskEdit::CardList);
    edit->SetLimitText(20);
    edit->setText(QStringLiteral("1/01 2/02 3/03"));
    Focus();
    edit->setSelection(5, 4); // a middle group: nothing happens
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), QStringLiteral("1/01 2/02 3/03"));
    EXPECT_EQ(messages.BeepCount(), 0);

    edit->setSelection(10, 4);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), QStringLiteral("1/01 2/02"));
    EXPECT_EQ(edit->cursorPosition(), 9);
    edit->setSelection(5, 4);
    QTest::keyClick(edit, Qt::Key_Delete);
    edit->setSelection(0, 4);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), QString());

    QTest::keyClick(edit, Qt::Key_Delete); // empty: beep
    EXPECT_EQ(messages.BeepCount(), 1);
    edit->setText(QStringLiteral("1/01 2"));
    QTest::keyClick(edit, Qt::Key_Delete); // a broken length: beep
    EXPECT_EQ(messages.BeepCount(), 2);
}

TEST_F(MaskEditTest, CardListKeepsCaretKeysAndSwallowsEditingKeys)
{
    edit->SetMode(CMaskEdit::CardList);
    edit->setText(QStringLiteral("1/01 2/02"));
    Focus();
    edit->setCursorPosition(0);
    QTest::keyClick(edit, Qt::Key_End);
    EXPECT_EQ(edit->cursorPosition(), 9);
    QTest::keyClick(edit, Qt::Key_Home);
    EXPECT_EQ(edit->cursorPosition(), 0);
    QTest::keyClick(edit, Qt::Key_Right);
    EXPECT_EQ(edit->cursorPosition(), 1);
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier); // cut: a control character, beeps
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("1/01 2/02"));
    EXPECT_EQ(messages.BeepCount(), 2);
}

TEST_F(MaskEditTest, CardListFocusKeepsAText)
{
    edit->SetMode(CMaskEdit::CardList);
    edit->setText(QStringLiteral("4/04"));
    Focus();
    EXPECT_EQ(edit->text(), QStringLiteral("4/04"));
}

TEST_F(MaskEditTest, PasteGoesThroughTheRulesOfTyping)
{
    edit->SetMode(CMaskEdit::Digits);
    edit->SetLimitText(4);
    Focus();
    QGuiApplication::clipboard()->setText(QStringLiteral("1a2b"));
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("12"));
    EXPECT_EQ(messages.BeepCount(), 1); // one beep for the whole paste
    edit->PasteFiltered(QStringLiteral("3456"));
    EXPECT_EQ(edit->text(), QStringLiteral("1234"));
    EXPECT_EQ(messages.BeepCount(), 2);

    edit->clear();
    edit->SetMode(CMaskEdit::Text);
    edit->SetLimitText(20);
    edit->PasteFiltered(QStringLiteral("Straße\tä é\nÖ"));
    EXPECT_EQ(edit->text(), QStringLiteral("Straeä Ö"));

    edit->clear();
    edit->SetMode(CMaskEdit::GroupOrCard);
    edit->PasteFiltered(QStringLiteral("+07"));
    EXPECT_EQ(edit->text(), QStringLiteral("+7"));
}

TEST_F(MaskEditTest, PastedCardListsFollowThePattern)
{
    edit->SetMode(CMaskEdit::CardList);
    edit->SetLimitText(20);
    Focus();
    edit->PasteFiltered(QStringLiteral("2/17 3/05"));
    EXPECT_EQ(edit->text(), QStringLiteral("2/17 3/05"));
    EXPECT_EQ(messages.BeepCount(), 0);

    edit->setText(QStringLiteral("0/00"));
    edit->setCursorPosition(0);
    edit->PasteFiltered(QStringLiteral("0/99")); // as typed: 0 beeps, 9 is a card digit
    EXPECT_EQ(edit->text(), QStringLiteral("9/00"));
    EXPECT_EQ(messages.BeepCount(), 1);
}

TEST_F(MaskEditTest, TheContextMenuPastesThroughTheRules)
{
    edit->SetMode(CMaskEdit::Digits);
    Focus();
    QGuiApplication::clipboard()->setText(QStringLiteral("4x2"));
    bool found = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions())
            if (a->objectName() == QLatin1String("edit-paste")) {
                found = true;
                a->trigger();
            }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                            edit->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(edit, &event);
    EXPECT_TRUE(found);
    EXPECT_EQ(edit->text(), QStringLiteral("42"));
    EXPECT_FALSE(edit->acceptDrops());
}

TEST_F(MaskEditTest, ThePasteKeyIsAControlCharacterInEveryModeButTheCardList)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("1"));
    Focus();
    const int beeps[] = {1, 0, -1, 1, 0}; // modes 0..4; the card list has its own rules
    for (int mode = CMaskEdit::Digits; mode <= CMaskEdit::NoInput; ++mode) {
        if (mode == CMaskEdit::CardList)
            continue;
        SCOPED_TRACE(mode);
        messages.Clear();
        edit->clear();
        edit->SetMode(mode);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), QString());
        EXPECT_EQ(messages.BeepCount(), beeps[mode]);
    }
}

TEST_F(MaskEditTest, AltGrCharactersFollowTheRulesToo)
{
    // AltGr as Windows reports it: Ctrl+Alt with the character typed.
    edit->SetMode(CMaskEdit::Digits);
    Focus();
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_At, QStringLiteral("@"),
                        Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(edit->text(), QString());
    EXPECT_EQ(messages.BeepCount(), 1);

    edit->SetMode(CMaskEdit::Text);
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_E, QStringLiteral("\u20ac"),
                        Qt::ControlModifier | Qt::AltModifier);
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_At, QStringLiteral("@"),
                        Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("@")); // the euro sign is no ASCII character
}
