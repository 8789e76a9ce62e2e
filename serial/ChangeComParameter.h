#pragma once

#include "ComParameter.h"

// Qt
#include <QDialog>

class QComboBox;
class QPushButton;

// The parameter dialog: baud rate, parity, data bits and stop bits of the port.
class ChangeComParameter : public QDialog
{
    Q_OBJECT

public:
    explicit ChangeComParameter(const ComParameter& parameter, QWidget* parent = nullptr);

    // The parameters as shown; valid whenever OK can be pressed.
    ComParameter Parameter() const;

private:
    void UpdateOk();

    QComboBox* m_baudRate = nullptr;
    QComboBox* m_parity = nullptr;
    QComboBox* m_dataBits = nullptr;
    QComboBox* m_stopBits = nullptr;
    QPushButton* m_ok = nullptr;
};
