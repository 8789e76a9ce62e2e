#include "COffsetDlg.h"

#include "CMaskEdit.h"
#include "CRecordList.h"
#include "CodePage.h"
#include "ProjectRules.h"

// Qt
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

COffsetDlg::COffsetDlg(ProjectData* data, QWidget* parent) : QDialog(parent), m_data(data)
{
    setWindowTitle(QStringLiteral("Meldergruppenoffset"));
    setModal(true);

    const int width = ProjectRules::OffsetDigits(*data);
    m_range = new QLabel(RangeText(width), this);
    m_plus = new QRadioButton(QStringLiteral("+"), this);
    m_minus = new QRadioButton(QStringLiteral("-"), this);
    m_value = new CMaskEdit(this);
    auto* label = new QLabel(QStringLiteral("&Meldergruppenoffset:"), this);
    label->setBuddy(m_value);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Wertebereich: "), this), 0, 0);
    grid->addWidget(m_range, 0, 1, 1, 3);
    grid->addWidget(label, 1, 0);
    grid->addWidget(m_plus, 1, 1);
    grid->addWidget(m_minus, 1, 2);
    grid->addWidget(m_value, 1, 3);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &COffsetDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addWidget(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    // The stored offset: a leading "-" selects the sign, the rest goes into the field.
    const QByteArray offset(data->groupOffset,
                            int(qstrnlen(data->groupOffset, sizeof data->groupOffset)));
    if (offset.startsWith('-')) {
        m_minus->setChecked(true);
        m_value->setText(FromCp1252(offset.mid(1)));
    } else {
        m_plus->setChecked(true);
        m_value->setText(FromCp1252(offset));
    }
    m_value->SetLimitText(width);
    m_value->SetMode(CMaskEdit::Digits);
    m_value->setMinimumWidth(
        QFontMetrics(m_value->font()).horizontalAdvance(QString(width + 2, QLatin1Char('9'))) + 12);
    setTabOrder(m_plus, m_minus);
    setTabOrder(m_minus, m_value);
    m_value->setFocus();
}

QString COffsetDlg::RangeText(int width)
{
    const QString nines(qMax(0, width), QLatin1Char('9'));
    return QStringLiteral("- %1 bis %2.").arg(nines, nines);
}

void COffsetDlg::accept()
{
    const long long value = CRecordList::DecimalValue(ToCp1252(m_value->text()));
    QByteArray text = QByteArray::number(value);
    if (value != 0 && m_minus->isChecked())
        text.prepend('-');
    qstrncpy(m_data->groupOffset, text.constData(), sizeof m_data->groupOffset);
    QDialog::accept();
}
