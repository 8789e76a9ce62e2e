#pragma once

// Qt
#include <QString>

class CSerial;

// The port number and the device behind each port number, kept in the settings of the owning
// program ("Quillmark", "Lineprobe"): the number under "Settings"/"ComPort", the devices under
// "Ports"/"COM1".."COM4".
namespace ComPortSettings {

// When the owning view is built: a stored number 1..4 goes to serial.SetComPort.
void ReadComPort(CSerial& serial, const QString& program);
// When the owning view is destroyed: writes serial.GetComPort() if the stored value is 0 or
// differs.
void WriteComPort(const CSerial& serial, const QString& program);

// The device of port number 1..4: the stored one, else DefaultDevice(port).
QString Device(const QString& program, int port);
// Stores device for port; an empty device returns the port to its default.
void SetDevice(const QString& program, int port, const QString& device);
// /dev/ttyS0../dev/ttyS3 on Linux and other Unix systems, COM1..COM4 on Windows.
QString DefaultDevice(int port);

} // namespace ComPortSettings
