#pragma once

// Qt
#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

// The rows of a spreadsheet file that the import refused, each with its line and reason;
// "Gültige Zeilen übernehmen" (accepted) takes the others, "Abbrechen" imports nothing.
class CCsvReportDlg : public QDialog
{
    Q_OBJECT

public:
    CCsvReportDlg(const QStringList& problems, int goodRows, QWidget* parent = nullptr);

    QListWidget* List() const { return m_list; }
    QPushButton* TakeButton() const { return m_take; }

private:
    QListWidget* m_list = nullptr;
    QPushButton* m_take = nullptr;
};
