#pragma once

// Qt
#include <QDialog>

class QPushButton;
class QRadioButton;

// "BMF-Datei importieren": asks in which text format a BMF file with records of several kinds
// is imported. The kind the file does not hold is disabled when it holds exactly two; OK
// waits until a kind is chosen.
class CImportFormatDlg : public QDialog
{
    Q_OBJECT

public:
    enum { IDD = 149, IDC_STANDARD = 1043, IDC_TWO_LINES = 1045, IDC_PSEUDO = 1046 };

    explicit CImportFormatDlg(int formatBits, QWidget* parent = nullptr);

    // The chosen kind (1 pseudo, 2 two lines, 4 standard), 0 while none is chosen.
    int Kind() const;

    QRadioButton* Button(int kind) const;
    QPushButton* OkButton() const { return m_ok; }

private:
    QRadioButton* m_standard = nullptr;
    QRadioButton* m_pseudo = nullptr;
    QRadioButton* m_twoLines = nullptr;
    QPushButton* m_ok = nullptr;
};
