#pragma once

#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "ProjectTypes.h"

// Qt
#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>

// A project, a stand-in for the main window and the message recorder, for the dialog tests.
class DialogFixture : public ::testing::Test
{
protected:
    DialogFixture() { frame.resize(400, 300); }

    void Project(int textFormat, int panelType = PanelType::Bosch, int panelVariant = 0,
                 int groupDigits = 4, int detectorDigits = 2)
    {
        ProjectData& d = doc.Data();
        d.textFormat = textFormat;
        d.displayChars = 40;
        d.maxRecords = 1000;
        d.groupDigits = groupDigits;
        d.detectorDigits = detectorDigits;
        d.pseudoGroupDigits = 4;
        d.panelType = panelType;
        d.panelVariant = panelVariant;
        ASSERT_TRUE(doc.SetupListColumns());
        doc.SetModifiedFlag(false);
    }

    static void Activate(QWidget* w)
    {
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }

    // An access key of the active window, as the user presses it.
    static void Alt(QWidget* w, Qt::Key key) { QTest::keyClick(w, key, Qt::AltModifier); }
    static void TypeFocused(const QString& text)
    {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }

    QByteArray Cell(int row, int column) { return doc.Records().GetItemText(row, column); }
    int Rows() { return doc.Records().GetCount(); }

    CMessageRecorder messages;
    QWidget frame;
    CQuillmarkDoc doc;
};
