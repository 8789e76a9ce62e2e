#include "ChangeComPort.h"
#include "ComPortSettings.h"

// Qt
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

ChangeComPort::ChangeComPort(int port, const QString& program, QWidget* parent)
    : QDialog(parent), m_program(program)
{
    setWindowTitle(QStringLiteral("Schnittstelle"));

    const QList<QSerialPortInfo> available = QSerialPortInfo::availablePorts();

    auto* group = new QGroupBox(QStringLiteral("Aktive Schnittstelle"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Schnittstelle"), group), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Gerät"), group), 0, 1);
    for (int n = 1; n <= 4; ++n) {
        auto* button = new QRadioButton(QStringLiteral("COM%1").arg(n), group);
        button->setObjectName(QStringLiteral("port%1").arg(n));
        button->setChecked(n == port);
        auto* box = new QComboBox(group);
        box->setObjectName(QStringLiteral("device%1").arg(n));
        box->setEditable(true);
        box->setMinimumContentsLength(24);
        box->addItem(ComPortSettings::DefaultDevice(n));
        for (const QSerialPortInfo& info : available) {
            if (box->findText(info.systemLocation()) < 0) {
                box->addItem(info.systemLocation());
                box->setItemData(box->count() - 1, info.description(), Qt::ToolTipRole);
            }
        }
        box->setCurrentText(ComPortSettings::Device(program, n));
        grid->addWidget(button, n, 0);
        grid->addWidget(box, n, 1);
        m_ports[n - 1] = button;
        m_devices[n - 1] = box;
    }
    if (port < 1 || port > 4)
        m_ports[0]->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

int ChangeComPort::Port() const
{
    for (int n = 1; n <= 4; ++n) {
        if (m_ports[n - 1]->isChecked())
            return n;
    }
    return 1;
}

QString ChangeComPort::Device(int port) const
{
    if (port < 1 || port > 4)
        return QString();
    return m_devices[port - 1]->currentText().trimmed();
}

void ChangeComPort::StoreDevices() const
{
    for (int n = 1; n <= 4; ++n)
        ComPortSettings::SetDevice(m_program, n, Device(n));
}
