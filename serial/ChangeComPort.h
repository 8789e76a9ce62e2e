#pragma once

// Qt
#include <QDialog>
#include <QString>

class QComboBox;
class QRadioButton;

// The port dialog: chooses the active port COM1..COM4 and, for each, the device behind it,
// from the ports the system offers or as a typed path.
class ChangeComPort : public QDialog
{
    Q_OBJECT

public:
    // Starts with port selected and the devices stored in the settings of program.
    ChangeComPort(int port, const QString& program, QWidget* parent = nullptr);

    // The chosen port number 1..4.
    int Port() const;
    // The device shown for port number 1..4 (trimmed; empty = the default device).
    QString Device(int port) const;
    // Writes the devices of all four port numbers to the settings of the program.
    void StoreDevices() const;

private:
    QString m_program;
    QRadioButton* m_ports[4] = {};
    QComboBox* m_devices[4] = {};
};
