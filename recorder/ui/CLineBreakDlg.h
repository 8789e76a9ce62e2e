#pragma once

#include "LineRules.h"

// Qt
#include <QDialog>

class QLineEdit;

// "Konfiguration": line length and break byte of the length rule. The result is the two values
// the caller reads after OK.
class CLineBreakDlg : public QDialog
{
    Q_OBJECT

public:
    CLineBreakDlg(int lineLength, int breakValue, QWidget* parent = nullptr);

    // The dialog on lines; on OK both values are stored there and true is returned.
    static bool Edit(LineRules::Settings& lines, QWidget* parent);

    int LineLength() const { return m_lineLength; }
    int BreakValue() const { return m_breakValue; }

    // Reads the two fields; on failure message is the text to show and the field to fix.
    enum Field { NoField, LengthField, BreakField };
    static Field Validate(const QString& length, const QString& breakText, int& lineLength,
                          int& breakValue, QString& message);
    // The break byte as the field shows it: two hex digits, or "FFFF" for none.
    static QString BreakText(int breakValue);

    QLineEdit* LengthEdit() const { return m_lengthEdit; }
    QLineEdit* BreakEdit() const { return m_breakEdit; }

public slots:
    void accept() override;

private:
    QLineEdit* m_lengthEdit;
    QLineEdit* m_breakEdit;
    int m_lineLength;
    int m_breakValue;
};
