#pragma once

// Qt
#include <QString>
#include <QStringList>

// The one way every part of both programs talks to the user: message boxes, the default beep,
// file dialogs and the wait cursor. The GUI, the command-line tools and the tests each install
// their own sink, so logic code never depends on widgets.
namespace msg {

enum Icon { NoIcon, Information, Warning, Error, Question };
enum Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
// Answers keep the classic dialog result numbers.
enum Answer { IdOk = 1, IdCancel = 2, IdRetry = 4, IdYes = 6, IdNo = 7 };

// What a file dialog is asked to show; the filter uses "Description|pattern|...|" pairs.
struct FileDialog
{
    QString title;
    QString filter;
    QString defaultExt;  // without dot, appended to a name typed without extension
    QString initialName; // initial text of the file name field
    QString initialDir;
    bool overwritePrompt = false;
};

} // namespace msg

class CMessageSink
{
public:
    virtual ~CMessageSink() = default;

    virtual int Show(const QString& text, const QString& caption, msg::Icon icon,
                     msg::Buttons buttons) = 0;
    virtual void Beep() = 0;
    // Return false when the user cancels; path is the chosen file.
    virtual bool SaveFileName(const msg::FileDialog& dialog, QString& path) = 0;
    virtual bool OpenFileName(const msg::FileDialog& dialog, QString& path) = 0;
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
};

// The installed sink; before any is installed, messages go to stderr and questions get "No".
CMessageSink& Messages();
// Installs sink (not owned) and returns the previous one; nullptr restores the stderr sink.
CMessageSink* SetMessages(CMessageSink* sink);

// Convenience for the common box; the caption defaults to the program title.
int MessageBox(const QString& text, const QString& caption = QString(),
               msg::Icon icon = msg::Warning, msg::Buttons buttons = msg::Ok);
// The default beep followed by the box, as the record checks report.
int BeepMessageBox(const QString& text, const QString& caption, msg::Icon icon = msg::Warning,
                   msg::Buttons buttons = msg::Ok);

// The title used where a message names no caption ("Quillmark", "Lineprobe").
void SetProgramTitle(const QString& title);
QString ProgramTitle();

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor
{
public:
    CWaitCursor() { Messages().BeginWaitCursor(); }
    ~CWaitCursor() { Messages().EndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
