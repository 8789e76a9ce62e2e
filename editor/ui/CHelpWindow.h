#pragma once

// Qt
#include <QWidget>

class QTextBrowser;

// The program's own help: its German HTML pages in a browser window beside the main window.
class CHelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // The folder of Quillmark's help pages: installed beside the program's share folder, or
    // in the build tree; empty when none is found.
    static QString HelpDirectory();

    // Shows page ("eingabe.html", optionally with "#anchor"); false when the help is missing.
    bool ShowPage(const QString& page);
    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};
