#include "CLineBreakDlg.h"

#include "CMessages.h"
#include "LineRules.h"

// Qt
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CLineBreakDlg::CLineBreakDlg(int lineLength, int breakValue, QWidget* parent)
    : QDialog(parent), m_lengthEdit(new QLineEdit(this)), m_breakEdit(new QLineEdit(this)),
      m_lineLength(lineLength), m_breakValue(breakValue)
{
    setWindowTitle(QStringLiteral("Konfiguration"));
    m_lengthEdit->setObjectName(QStringLiteral("edit1013"));
    m_breakEdit->setObjectName(QStringLiteral("edit1014"));
    m_lengthEdit->setText(QString::number(lineLength));
    m_breakEdit->setText(BreakText(breakValue));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    ok->setObjectName(QStringLiteral("ok"));
    cancel->setObjectName(QStringLiteral("cancel"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CLineBreakDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CLineBreakDlg::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Zeilenumbruch nach:"), this), 0, 0, 1, 3);
    grid->addWidget(m_lengthEdit, 1, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Zeichen"), this), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("oder"), this), 2, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("0x"), this), 3, 0);
    grid->addWidget(m_breakEdit, 3, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

bool CLineBreakDlg::Edit(LineRules::Settings& lines, QWidget* parent)
{
    CLineBreakDlg dialog(lines.lineLength, lines.breakValue, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    lines.lineLength = dialog.LineLength();
    lines.breakValue = dialog.BreakValue();
    return true;
}

QString CLineBreakDlg::BreakText(int breakValue)
{
    if (breakValue < 0 || breakValue > 255)
        return QStringLiteral("FFFF");
    return QStringLiteral("%1").arg(breakValue, 2, 16, QLatin1Char('0')).toUpper();
}

CLineBreakDlg::Field CLineBreakDlg::Validate(const QString& length, const QString& breakText,
                                             int& lineLength, int& breakValue, QString& message)
{
    bool isNumber = false;
    const int n = length.trimmed().toInt(&isNumber, 10);
    if (!isNumber || n < 1 || n > 100) {
        message = QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 1 und 100 ein.");
        return LengthField;
    }
    if (breakText.size() > 4) {
        message = QStringLiteral("Geben Sie bitte nicht mehr als 4 Zeichen ein.");
        return BreakField;
    }
    int value = LineRules::NoBreak;
    if (breakText.size() == 2) {
        bool isHex = false;
        value = breakText.toInt(&isHex, 16);
        // toInt accepts a sign or blanks; the field wants exactly two hex digits.
        const bool digits =
            breakText.at(0).isLetterOrNumber() && breakText.at(1).isLetterOrNumber();
        if (!isHex || !digits) {
            message = QStringLiteral("Geben Sie bitte zwei Hexadezimalziffern (0 bis 9, A bis F) "
                                     "ein.");
            return BreakField;
        }
    }
    lineLength = n;
    breakValue = value;
    return NoField;
}

void CLineBreakDlg::accept()
{
    QString message;
    int length = m_lineLength;
    int breakValue = m_breakValue;
    const Field field =
        Validate(m_lengthEdit->text(), m_breakEdit->text(), length, breakValue, message);
    if (field != NoField) {
        MessageBox(message, QString(), msg::Warning);
        QLineEdit* edit = field == LengthField ? m_lengthEdit : m_breakEdit;
        edit->setFocus();
        edit->selectAll();
        return;
    }
    m_lineLength = length;
    m_breakValue = breakValue;
    QDialog::accept();
}
