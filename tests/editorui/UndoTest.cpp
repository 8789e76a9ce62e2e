#include "FrameFixture.h"

#include "CCellEdit.h"
#include "CEntryDlg.h"
#include "COffsetDlg.h"

// Qt
#include <QFile>
#include <QTimer>

#include <functional>

class UndoTest : public FrameFixture
{
protected:
    // An entry of a menu by its access keys (Bearbeiten unless told); before runs once the
    // popup is open.
    void Menu(Qt::Key entry, Qt::Key menu = Qt::Key_B, const std::function<void()>& before = {})
    {
        QTest::keyClick(frame.get(), menu, Qt::AltModifier);
        QMenu* popup = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return (popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())); }));
        if (before)
            before();
        QTest::keyClick(popup, entry);
    }

    // Strg and key on the main window, after the idle time that enables the commands.
    void Ctrl(Qt::Key key)
    {
        commands().UpdateUi();
        QTest::keyClick(frame.get(), key, Qt::ControlModifier);
    }

    void DeleteFirstRow()
    {
        view()->SelectRow(0);
        QTest::keyClick(view(), Qt::Key_Delete);
    }
};

namespace {

struct Change
{
    const char* step; // as the menu names it
    std::function<void()> run;
};

} // namespace

// Each kind of change is one step: undone by Strg+Z and the menu, redone by Strg+Y and the
// menu, the project byte for byte as before and after, unchanged again when undone.
TEST_F(UndoTest, EachChangeIsOneStepUndoneAndRedoneByKeysAndMenu)
{
    const QString csv = m_dir.filePath(QStringLiteral("texte.csv"));
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("MelderGruppe;Melder;Text 1;Text 2\r\n7;3;Neu;T\xfcr\r\n");
    }
    const Change changes[] = {
        {"Texte einfügen",
         [this] {
             Menu(Qt::Key_E);
             CEntryDlg* dlg = nullptr;
             ASSERT_TRUE(QTest::qWaitFor(
                 [&] { return (dlg = CEntryDlg::FindOpen(QStringLiteral("Standardeingabe"))); }));
             dlg->activateWindow();
             ASSERT_TRUE(QTest::qWaitFor([dlg] { return QApplication::activeWindow() == dlg; }));
             QTest::keyClicks(dlg->GroupField(), QStringLiteral("9"));
             QTest::keyClick(dlg, Qt::Key_M, Qt::AltModifier);
             QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("4"));
             QTest::keyClick(dlg, Qt::Key_1, Qt::AltModifier);
             QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Dach"));
             QTest::keyClick(dlg, Qt::Key_K, Qt::AltModifier);
             dlg->reject();
             frame->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
         }},
        {"Texte löschen",
         [this] {
             view()->SelectRow(1);
             QTest::keyClick(view(), Qt::Key_Down, Qt::ShiftModifier);
             QTest::keyClick(view(), Qt::Key_Down, Qt::ShiftModifier);
             QTest::keyClick(view(), Qt::Key_Delete);
         }},
        {"Text bearbeiten",
         [this] {
             view()->SelectRow(2);
             view()->setCurrentIndex(doc->Records().index(2, Column::Text1));
             QTest::keyClick(view(), Qt::Key_F2);
             ASSERT_TRUE(QTest::qWaitFor([&] { return view()->CellEdit() != nullptr; }));
             view()->CellEdit()->selectAll();
             QTest::keyClicks(view()->CellEdit(), QStringLiteral("Werkstatt"));
             QTest::keyClick(view()->CellEdit(), Qt::Key_Return);
             ASSERT_TRUE(QTest::qWaitFor([&] { return view()->CellEdit() == nullptr; }));
         }},
        {"CSV-Datei importieren",
         [this, csv] {
             messages.FileNext(csv);
             Menu(Qt::Key_C);
         }},
        {"Offset",
         [this] {
             Menu(Qt::Key_O, Qt::Key_S, [] {
                 QTimer::singleShot(0, [] {
                     auto* dlg = qobject_cast<COffsetDlg*>(QApplication::activeModalWidget());
                     ASSERT_NE(dlg, nullptr);
                     QTest::keyClicks(dlg->ValueField(), QStringLiteral("25"));
                     dlg->accept();
                 });
             });
             frame->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
         }},
    };
    for (const Change& change : changes) {
        const QString step = QString::fromUtf8(change.step);
        SCOPED_TRACE(change.step);
        OpenStandard();
        const QByteArray before = doc->ProjectBytes();
        EXPECT_FALSE(enabled(Cmd::EditUndo));
        change.run();
        const QByteArray after = doc->ProjectBytes();
        ASSERT_NE(after, before) << messages.Texts().join(QStringLiteral(" | ")).toStdString();
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(action(Cmd::EditUndo)->text(),
                  QString::fromUtf8("&Rückgängig: ") + step + QStringLiteral("\tStrg+Z"));

        Ctrl(Qt::Key_Z);
        EXPECT_EQ(doc->ProjectBytes(), before);
        EXPECT_FALSE(doc->IsModified());
        EXPECT_FALSE(enabled(Cmd::EditUndo));
        EXPECT_EQ(action(Cmd::EditRedo)->text(),
                  QStringLiteral("&Wiederherstellen: ") + step + QStringLiteral("\tStrg+Y"));
        Ctrl(Qt::Key_Y);
        EXPECT_EQ(doc->ProjectBytes(), after);
        EXPECT_TRUE(doc->IsModified());

        Menu(Qt::Key_R);
        EXPECT_EQ(doc->ProjectBytes(), before);
        Menu(Qt::Key_W);
        EXPECT_EQ(doc->ProjectBytes(), after);
        EXPECT_EQ(frame->MessageCount(), doc->Records().GetCount());
        TearDown();
    }
}

// Saving marks the clean state; New and Open forget every step.
TEST_F(UndoTest, SaveMarksTheCleanStateAndNewAndOpenEmptyTheHistory)
{
    OpenStandard();
    const QString path = doc->ProjectPath();
    DeleteFirstRow();
    Ctrl(Qt::Key_S);
    EXPECT_FALSE(doc->IsModified());
    DeleteFirstRow();
    Ctrl(Qt::Key_Z);
    EXPECT_FALSE(doc->IsModified()) << "back at the saved state";
    Ctrl(Qt::Key_Z);
    EXPECT_EQ(rows(), 4);
    EXPECT_TRUE(doc->IsModified()) << "before the saved state";
    Ctrl(Qt::Key_Y);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(enabled(Cmd::EditRedo));

    messages.FileNext(path);
    Ctrl(Qt::Key_O);
    EXPECT_EQ(rows(), 3);
    EXPECT_FALSE(enabled(Cmd::EditUndo) || enabled(Cmd::EditRedo));

    DeleteFirstRow();
    messages.AnswerNext(msg::IdNo);
    Ctrl(Qt::Key_N);
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(enabled(Cmd::EditUndo));
    EXPECT_FALSE(doc->IsModified());
}
