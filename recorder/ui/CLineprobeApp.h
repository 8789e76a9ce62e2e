#pragma once

// Qt
#include <QStringList>

class QCoreApplication;

// Lineprobe's application object: settings key and title, Qt's German translations, the
// serial component's dialogs, the main window and the command line.
class CLineprobeApp
{
public:
    // The whole command line after the program name, as one trace path: the arguments joined
    // by single blanks, taken literally. Empty without arguments.
    static QString CommandLinePath(const QStringList& arguments);
    // Loads Qt's own German texts (standard buttons, file and print dialogs); false when they
    // are not installed.
    static bool LoadTranslations(QCoreApplication& app);
    // Names, title, translations and the serial component's dialogs.
    static void SetUpApplication(QCoreApplication& app);
    // The program: start-up, the main window with the document, the event loop.
    static int Run(int argc, char** argv);
};
