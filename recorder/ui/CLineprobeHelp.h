#pragma once

// Qt
#include <QWidget>

class QTextBrowser;

// Lineprobe's own help: its German HTML pages in a browser window beside the main window.
class CLineprobeHelp : public QWidget
{
    Q_OBJECT

public:
    explicit CLineprobeHelp(QWidget* parent = nullptr);

    // The folder of Lineprobe's help pages: installed in the share folder beside the program's
    // bin folder, or in the build tree; empty when none is found.
    static QString HelpDirectory();

    // Shows page ("index.html", optionally with "#anchor"); false when the help is missing.
    bool ShowPage(const QString& page);
    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};
