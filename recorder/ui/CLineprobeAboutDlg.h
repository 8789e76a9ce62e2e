#pragma once

// Qt
#include <QDialog>

// "Info über Lineprobe": the program icon, the version line and the maker; OK only.
class CLineprobeAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CLineprobeAboutDlg(QWidget* parent = nullptr);

    static QString VersionLine() { return QStringLiteral("Lineprobe Version 1.8"); }
};
