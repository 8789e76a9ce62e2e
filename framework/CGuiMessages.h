#pragma once

#include "CMessages.h"

class QWidget;

// The GUI's sink: QMessageBox, QFileDialog, the system beep and the override cursor.
class CGuiMessages : public CMessageSink
{
public:
    int Show(const QString& text, const QString& caption, msg::Icon icon,
             msg::Buttons buttons) override;
    void Beep() override;
    bool SaveFileName(const msg::FileDialog& dialog, QString& path) override;
    bool OpenFileName(const msg::FileDialog& dialog, QString& path) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // Turns "Desc|*.ext|Desc2|*.x||" into Qt's "Desc (*.ext);;Desc2 (*.x)".
    static QString QtFilter(const QString& filter);
};
