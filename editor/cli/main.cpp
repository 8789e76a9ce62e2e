#include "QuillmarkCli.h"

// Qt
#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

namespace {

// Stderr carries the tool's own "Caption: text" lines; the GUI part's notes about the
// platform (a missing runtime folder and the like) are no concern of a print job.
void OnlySevereQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

int main(int argc, char** argv)
{
    // Printing measures fonts, which needs Qt's GUI part, but never a display.
    if (argc > 1 && std::strcmp(argv[1], "print") == 0) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(OnlySevereQtMessages);
        QGuiApplication app(argc, argv);
        return QuillmarkCli::Run(app.arguments().mid(1));
    }
    QCoreApplication app(argc, argv);
    return QuillmarkCli::Run(app.arguments().mid(1));
}
