#include "ChangeComParameter.h"

// Qt
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QComboBox* ValueBox(QWidget* parent, const char* name, const QList<QPair<QString, int>>& items,
                    int value)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (const auto& item : items)
        box->addItem(item.first, item.second);
    const int index = box->findData(value);
    box->setCurrentIndex(index >= 0 ? index : 0);
    return box;
}

} // namespace

ChangeComParameter::ChangeComParameter(const ComParameter& parameter, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Schnittstellenparameter"));

    m_baudRate = new QComboBox(this);
    m_baudRate->setObjectName(QStringLiteral("baudRate"));
    m_baudRate->setEditable(true);
    for (int rate : {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200})
        m_baudRate->addItem(QString::number(rate), rate);
    m_baudRate->setValidator(new QIntValidator(1, 4000000, m_baudRate));
    m_baudRate->setCurrentText(QString::number(parameter.baudRate));

    m_parity = ValueBox(this, "parity",
                        {{QStringLiteral("Keine"), 0},
                         {QStringLiteral("Ungerade"), 1},
                         {QStringLiteral("Gerade"), 2},
                         {QStringLiteral("Markierung"), 3},
                         {QStringLiteral("Leerzeichen"), 4}},
                        parameter.parity);
    m_dataBits = ValueBox(this, "dataBits",
                          {{QStringLiteral("5"), 5},
                           {QStringLiteral("6"), 6},
                           {QStringLiteral("7"), 7},
                           {QStringLiteral("8"), 8}},
                          parameter.dataBits);
    m_stopBits =
        ValueBox(this, "stopBits",
                 {{QStringLiteral("1"), 0}, {QStringLiteral("1,5"), 1}, {QStringLiteral("2"), 2}},
                 parameter.stopBits);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Baudrate"), m_baudRate);
    form->addRow(QStringLiteral("&Parität"), m_parity);
    form->addRow(QStringLiteral("&Datenbits"), m_dataBits);
    form->addRow(QStringLiteral("&Stoppbits"), m_stopBits);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_baudRate, &QComboBox::editTextChanged, this, &ChangeComParameter::UpdateOk);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    UpdateOk();
}

ComParameter ChangeComParameter::Parameter() const
{
    ComParameter parameter;
    parameter.baudRate = m_baudRate->currentText().trimmed().toInt();
    parameter.parity = std::uint8_t(m_parity->currentData().toInt());
    parameter.dataBits = m_dataBits->currentData().toInt();
    parameter.stopBits = std::uint8_t(m_stopBits->currentData().toInt());
    return parameter;
}

void ChangeComParameter::UpdateOk()
{
    m_ok->setEnabled(Parameter().IsValid());
}
