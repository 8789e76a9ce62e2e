#pragma once

// Qt
#include <QDialog>

// "Info über Quillmark": the program icon, its version and the maker's notice.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    enum { IDD = 100 };

    explicit CAboutDlg(QWidget* parent = nullptr);

    static QString VersionLine() { return QStringLiteral("Quillmark Version 1.4.8"); }
};
