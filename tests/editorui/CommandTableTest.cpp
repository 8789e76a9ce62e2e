#include "CCommandTable.h"

// Qt
#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

TEST(CommandTable, CommandsWithoutHandlerStayDisabledAndDoNothing)
{
    CCommandTable table;
    QAction* a = table.Add(32788, "BMF - Dateien importieren",
                           "Hiermit können BMF - Dateien importiert werden");
    table.UpdateUi();
    EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(table.IsEnabled(32788));
    EXPECT_FALSE(table.Execute(32788));
    a->trigger();
    EXPECT_FALSE(table.HasHandler(32788));
    // An id nobody declared is just as inert.
    EXPECT_FALSE(table.Execute(4711));
    EXPECT_EQ(table.Action(4711), nullptr);
}

TEST(CommandTable, HandlersFollowTheirEnableRule)
{
    CCommandTable table;
    QAction* a =
        table.Add(32773, "Daten &senden", "Die Daten werden an das FAT gesandt\nDaten senden");
    int runs = 0;
    bool allowed = false;
    table.SetHandler(
        32773, [&] { ++runs; }, [&] { return allowed; });
    table.UpdateUi();
    EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(table.Execute(32773));
    allowed = true;
    table.UpdateUi();
    EXPECT_TRUE(a->isEnabled());
    a->trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(table.Execute(32773));
    EXPECT_EQ(runs, 2);
    // A rule that turns false between the idle update and the click still wins.
    allowed = false;
    EXPECT_FALSE(table.Execute(32773));
    EXPECT_EQ(runs, 2);
    table.ClearHandler(32773);
    allowed = true;
    table.UpdateUi();
    EXPECT_FALSE(a->isEnabled());
}

TEST(CommandTable, PromptAndToolTipAreSplitAtTheLineFeed)
{
    CCommandTable table;
    QAction* a = table.Add(57600, "&Neu\tStrg+N", "Erstellt ein neues Projekt.\nNeu",
                           QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(a->statusTip(), "Erstellt ein neues Projekt.");
    EXPECT_EQ(a->toolTip(), "Neu");
    EXPECT_EQ(table.Prompt(57600), "Erstellt ein neues Projekt.");
    EXPECT_EQ(a->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(a->data().toInt(), 57600);
    QAction* b = table.Add(32785, QString::fromUtf8("Eingabeformat &ändern"),
                           QString::fromUtf8("Hiermit können Sie das Eingabeformat ändern"));
    EXPECT_EQ(b->toolTip(), QString::fromUtf8("Eingabeformat ändern"));
    EXPECT_EQ(table.Ids(), (QList<int>{57600, 32785}));
}

TEST(CommandTable, RulesAreAppliedInIdleTimeAndBeforeAMenuOpens)
{
    CCommandTable table;
    QAction* a = table.Add(1, "&Eins", "eins");
    bool allowed = false;
    bool checked = false;
    table.SetHandler(
        1, [] {}, [&] { return allowed; });
    table.SetCheckRule(1, [&] { return checked; });
    EXPECT_TRUE(a->isCheckable());
    allowed = true;
    checked = true;
    // The event loop falling idle applies them.
    QTRY_VERIFY_WITH_TIMEOUT(a->isEnabled() && a->isChecked(), 30000);

    table.SetIdleUpdates(false);
    allowed = false;
    QTest::qWait(20);
    EXPECT_TRUE(a->isEnabled());
    QMenu menu;
    menu.addAction(a);
    table.WatchMenu(&menu);
    int idles = 0;
    QObject::connect(&table, &CCommandTable::idle, [&] { ++idles; });
    emit menu.aboutToShow();
    EXPECT_FALSE(a->isEnabled());
    EXPECT_EQ(idles, 1);
}

TEST(CommandTable, AHandlerMayReplaceItself)
{
    CCommandTable table;
    table.Add(2, "&Zwei", "zwei");
    int first = 0;
    int second = 0;
    table.SetHandler(2, [&] {
        ++first;
        table.SetHandler(2, [&] { ++second; });
    });
    EXPECT_TRUE(table.Execute(2));
    EXPECT_TRUE(table.Execute(2));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

TEST(CommandTable, ARegistrationBringsItsOwnRuleAndMenusAreFoundById)
{
    CCommandTable table;
    QAction* a = table.Add(3, "&Drei", "drei");
    table.Add(4, "&Vier", "vier");
    table.SetHandler(
        3, [] {}, [] { return false; });
    EXPECT_FALSE(table.IsEnabled(3));
    table.SetHandler(3, [] {}); // a later registration does not inherit the earlier rule
    EXPECT_TRUE(table.IsEnabled(3));

    QMenu first;
    QMenu second;
    second.addSeparator();
    second.addAction(a);
    table.WatchMenu(&first);
    table.WatchMenu(&second);
    EXPECT_EQ(table.MenuOf(3), &second);
    EXPECT_EQ(table.MenuOf(4), nullptr);
    EXPECT_EQ(table.MenuOf(4711), nullptr);
}
