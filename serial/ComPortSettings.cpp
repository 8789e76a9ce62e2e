#include "ComPortSettings.h"
#include "CSerial.h"

#include "Settings.h"

namespace ComPortSettings {

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kComPort = QStringLiteral("ComPort");
const QString kPorts = QStringLiteral("Ports");

QString PortKey(int port)
{
    return QStringLiteral("COM%1").arg(port);
}

} // namespace

void ReadComPort(CSerial& serial, const QString& program)
{
    const int port = Settings::GetProfileInt(program, kSettings, kComPort, 0);
    if (port >= 1 && port <= 4)
        serial.SetComPort(port);
}

void WriteComPort(const CSerial& serial, const QString& program)
{
    const int stored = Settings::GetProfileInt(program, kSettings, kComPort, 0);
    if (stored == 0 || stored != serial.GetComPort())
        Settings::WriteProfileInt(program, kSettings, kComPort, serial.GetComPort());
}

QString Device(const QString& program, int port)
{
    if (port < 1 || port > 4)
        return QString();
    const QString stored = Settings::GetProfileString(program, kPorts, PortKey(port));
    return stored.isEmpty() ? DefaultDevice(port) : stored;
}

void SetDevice(const QString& program, int port, const QString& device)
{
    if (port < 1 || port > 4)
        return;
    const QString trimmed = device.trimmed();
    Settings::WriteProfileString(program, kPorts, PortKey(port),
                                 trimmed == DefaultDevice(port) ? QString() : trimmed);
}

QString DefaultDevice(int port)
{
    if (port < 1 || port > 4)
        return QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

} // namespace ComPortSettings
