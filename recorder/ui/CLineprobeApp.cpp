#include "CLineprobeApp.h"

#include "CGuiMessages.h"
#include "CMainFrame.h"
#include "CMessages.h"
#include "ComDialogs.h"
#include "LineprobeIcon.h"

// Qt
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

QString CLineprobeApp::CommandLinePath(const QStringList& arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}

bool CLineprobeApp::LoadTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    app.installTranslator(translator);
    return true;
}

void CLineprobeApp::SetUpApplication(QCoreApplication& app)
{
    app.setOrganizationName(QString::fromLatin1("Korvalin GmbH"));
    app.setApplicationName(QStringLiteral("Lineprobe"));
    app.setApplicationVersion(QStringLiteral("1.8"));
    SetProgramTitle(QStringLiteral("Lineprobe"));
    LoadTranslations(app);
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
