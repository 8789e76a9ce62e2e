#pragma once

// Qt
#include <QString>
#include <QStringList>

class CMainFrame;
class CQuillmarkDoc;
class QCoreApplication;

// Quillmark's start-up: the program settings, the German translations of Qt's own dialogs,
// the birth of the one project (from the command line or the input assistant) and the main
// window.
class CQuillmarkApp
{
public:
    enum { ExitInitFailed = 1 };

    // The argument string as the program got it: the arguments joined by blanks.
    static QString ArgumentString(const QStringList& arguments);
    // The project path in an argument string: after a leading double quote up to the next one
    // (or the end), otherwise the whole string.
    static QString PathFromArgumentString(const QString& arguments);

    // Where the input assistant library is looked for, in order: the program's folder, the
    // installed library folder, then the system's own search.
    static QStringList WizardCandidates();
    // The document's construction: the path from the arguments, or else the input assistant
    // (its library tried at each candidate). False when the program is to end (exit code 0):
    // the assistant missing (after its message), without its entry, or cancelled.
    static bool CreateProject(CQuillmarkDoc& document, const QString& arguments,
                              const QStringList& wizardCandidates);

    // The window's first project: the file of the arguments, the file the assistant chose to
    // open, or the assistant's new project. False when the file could not be read: the
    // program ends as a failed start, no window shows that file's name.
    static bool StartFrame(CMainFrame& frame, CQuillmarkDoc& document, const QString& arguments);

    // Qt's German texts for the standard buttons and dialogs.
    static bool LoadTranslations(QCoreApplication& app);
    // Settings keys, program title, message sink and the serial dialogs.
    static void SetUpApplication(QCoreApplication& app);

    // The whole program: returns its exit code.
    static int Run(int argc, char** argv);
};
