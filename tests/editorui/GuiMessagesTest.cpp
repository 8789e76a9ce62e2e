#include "CGuiMessages.h"

// Qt
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
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
