#include "AppSetup.h"

#include "CMessages.h"

// Qt
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

bool LoadGermanQtTranslations(QCoreApplication& app)
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

void SetUpApplication(QCoreApplication& app, const QString& program, const QString& version)
{
    app.setOrganizationName(QString::fromLatin1("Korvalin GmbH"));
    app.setApplicationName(program);
    app.setApplicationVersion(version);
    SetProgramTitle(program);
    LoadGermanQtTranslations(app);
}
