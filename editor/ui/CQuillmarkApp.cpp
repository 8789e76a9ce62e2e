#include "CQuillmarkApp.h"

#include "AppSetup.h"
#include "CGuiMessages.h"
#include "CMainFrame.h"
#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "CQuillmarkView.h"
#include "ComDialogs.h"
#include "ProjectData.h"

// Qt
#include <QApplication>
#include <QDir>
#include <QLibrary>

#include <cstring>
#include <memory>

namespace {
using WizardEntry = unsigned char (*)(ProjectData*);
}

QString CQuillmarkApp::ArgumentString(const QStringList& arguments)
{
    return arguments.join(QLatin1Char(' '));
}

QString CQuillmarkApp::PathFromArgumentString(const QString& arguments)
{
    if (!arguments.startsWith(QLatin1Char('"')))
        return arguments;
    const int close = int(arguments.indexOf(QLatin1Char('"'), 1));
    return close < 0 ? arguments.mid(1) : arguments.mid(1, close - 1);
}

QStringList CQuillmarkApp::WizardCandidates()
{
    const QDir app(QCoreApplication::applicationDirPath());
    return {app.filePath(QStringLiteral("wizard")),
            QDir::cleanPath(app.filePath(QStringLiteral("../lib/korvalin/wizard"))),
            QStringLiteral("wizard")};
}

bool CQuillmarkApp::CreateProject(CQuillmarkDoc& document, const QString& arguments,
                                  const QStringList& wizardCandidates)
{
    ProjectData& d = document.Data();
    std::memset(&d, 0, sizeof d);
    if (!arguments.isEmpty()) {
        document.SetProjectPath(PathFromArgumentString(arguments));
        document.SetModifiedFlag(true);
        return true;
    }

    QLibrary library;
    bool loaded = false;
    for (const QString& candidate : wizardCandidates) {
        library.setFileName(candidate);
        if (library.load()) {
            loaded = true;
            break;
        }
    }
    if (!loaded) {
        MessageBox(QString::fromUtf8("Der Eingabeassistent konnte nicht geladen werden."),
                   QStringLiteral("Hinweis"), msg::Warning, msg::Ok);
        return false;
    }
    const auto entry = reinterpret_cast<WizardEntry>(library.resolve("Wizard"));
    if (!entry) {
        library.unload();
        return false;
    }
    const unsigned char result = entry(&d);
    library.unload();
    if (result == 0)
        return false;
    // The assistant's texts are C strings; a missing terminator must not run into the next
    // field.
    d.projectPath[sizeof d.projectPath - 1] = '\0';
    d.groupOffset[sizeof d.groupOffset - 1] = '\0';
    d.panelId[sizeof d.panelId - 1] = '\0';
    for (auto& line : d.coverPage)
        line[sizeof line - 1] = '\0';
    document.SetModifiedFlag(true);
    return true;
}

bool CQuillmarkApp::StartFrame(CMainFrame& frame, CQuillmarkDoc& document, const QString& arguments)
{
    if (!arguments.isEmpty())
        return frame.OpenDocument(PathFromArgumentString(arguments));
    // The assistant's "Bestehendes Projekt öffnen" is a start with that file: a file that
    // cannot be read ends the program rather than leaving a window under its name.
    if (document.Data().textFormat == FormatFromFile) {
        const QString path = document.ProjectPath();
        std::memset(document.Data().projectPath, 0, sizeof document.Data().projectPath);
        return frame.OpenDocument(path);
    }
    frame.NewDocument();
    return true;
}

bool CQuillmarkApp::LoadTranslations(QCoreApplication& app)
{
    return LoadGermanQtTranslations(app);
}

void CQuillmarkApp::SetUpApplication(QCoreApplication& app)
{
    ::SetUpApplication(app, QStringLiteral("Quillmark"), QStringLiteral("1.4.8"));
    InstallComDialogs();
}

int CQuillmarkApp::Run(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("de.korvalin.Quillmark"));
    SetUpApplication(app);
    CGuiMessages gui;
    CMessageSink* previous = SetMessages(&gui);

    const QString arguments = ArgumentString(app.arguments().mid(1));
    auto document = std::make_unique<CQuillmarkDoc>();
    int code = 0;
    if (CreateProject(*document, arguments, WizardCandidates())) {
        auto frame = std::make_unique<CMainFrame>(document.get(), arguments);
        if (StartFrame(*frame, *document, arguments)) {
            frame->View()->ResizeFrameToFit();
            frame->show();
            code = app.exec();
        } else {
            code = ExitInitFailed;
        }
    }
    SetMessages(previous);
    return code;
}
