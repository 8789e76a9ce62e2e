#include "CLineprobeApp.h"

#include "AppSetup.h"
#include "CGuiMessages.h"
#include "CMainFrame.h"
#include "CMessages.h"
#include "ComDialogs.h"
#include "LineprobeIcon.h"

// Qt
#include <QApplication>

QString CLineprobeApp::CommandLinePath(const QStringList& arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}

bool CLineprobeApp::LoadTranslations(QCoreApplication& app)
{
    return LoadGermanQtTranslations(app);
}

void CLineprobeApp::SetUpApplication(QCoreApplication& app)
{
    ::SetUpApplication(app, QStringLiteral("Lineprobe"), QStringLiteral("1.8"));
    InstallComDialogs();
}

int CLineprobeApp::Run(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("de.korvalin.Lineprobe"));
    SetUpApplication(app);
    QApplication::setWindowIcon(LineprobeIcon());
    CGuiMessages gui;
    SetMessages(&gui);

    CMainFrame frame(CommandLinePath(app.arguments()));
    // The start-up command is always "new"; a path on the command line is the document's.
    frame.OnFileNew();
    frame.show();
    const int result = app.exec();
    SetMessages(nullptr);
    return result;
}
