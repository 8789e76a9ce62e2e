#pragma once

// Qt
#include <QSerialPort>
#include <QString>

// Why a port did not open, in the words the programs show: the reason the device gave, and
// the sentence naming the port and its device.
namespace PortOpenError {

// A device name with a NUL or another control character names no device; the serial layer
// below would take it apart (a NUL cuts its lock file's name) instead of refusing it.
bool HasControlCharacters(const QString& device);
// The device as it can be shown: control characters as \xNN.
QString Printable(const QString& device);

// The reason of an error that QSerialPort::open reported; qtText is its errorString.
QString Reason(QSerialPort::SerialPortError error, const QString& qtText);
// The reason for a device name that is empty or holds control characters.
QString NameReason(const QString& device);

// "COM1 (/dev/ttyUSB0) konnte nicht geöffnet werden: reason"; port 0 (a device given
// directly) names the device alone.
QString Message(int port, const QString& device, const QString& reason);

} // namespace PortOpenError
