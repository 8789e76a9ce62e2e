#include "CGuiMessages.h"

// Qt
#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(GuiMessages, ABoxDuringAWaitCursorShowsTheNormalCursor)
{
    CGuiMessages gui;
    CMessageSink* previous = SetMessages(&gui);
    Qt::CursorShape during = Qt::BlankCursor;
    QString buttonText;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer.stop();
        during = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                : Qt::BlankCursor;
        if (QAbstractButton* yes = box->button(QMessageBox::Yes))
            buttonText = yes->text();
        box->done(QMessageBox::No);
    });
    {
        CWaitCursor wait;
        timer.start();
        EXPECT_EQ(MessageBox("Frage ?", "Quillmark", msg::Question, msg::YesNo), msg::IdNo);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(during, Qt::ArrowCursor);
    // Qt's own buttons speak German once the program's translations are loaded.
    EXPECT_EQ(buttonText.remove('&'),
              QApplication::translate("QPlatformTheme", "&Yes").remove('&'));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    SetMessages(previous);
}

TEST(GuiMessages, ABoxBelongsToTheProgramsWindowAndStandsCentredOnIt)
{
    CGuiMessages gui;
    CMessageSink* previous = SetMessages(&gui);
    QMainWindow main;
    main.setGeometry(200, 120, 500, 300);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QWidget* owner = nullptr;
    QPoint centre;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        timer.stop();
        owner = box->parentWidget();
        centre = box->geometry().center();
        box->done(QMessageBox::Ok);
    });
    timer.start();
    MessageBox("Hinweis", "Quillmark", msg::Information);
    EXPECT_EQ(owner, &main);
    EXPECT_LE((centre - main.geometry().center()).manhattanLength(), 60);
    SetMessages(previous);
}
