#pragma once

// Qt
#include <QString>
#include <QWidget>

class QTextBrowser;

// A program's own help: its German HTML pages in a browser window beside the main window.
// Each program names itself (the window title) and its folder of help pages.
class CHelpBrowser : public QWidget
{
    Q_OBJECT

public:
    // program: "Quillmark"; folder: the pages' folder below share/korvalin/help.
    CHelpBrowser(const QString& program, const QString& folder, QWidget* parent = nullptr);

    // The folder of a program's help pages: installed in the share folder beside the program's
    // bin folder, or in the build tree; empty when none is found.
    static QString HelpDirectory(const QString& folder);

    // Shows page ("index.html", optionally with "#anchor"); false when the help is missing.
    bool ShowPage(const QString& page);
    QTextBrowser* Browser() const { return m_browser; }

private:
    QString m_title;
    QString m_folder;
    QTextBrowser* m_browser = nullptr;
};
