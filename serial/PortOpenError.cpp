#include "PortOpenError.h"

#include <algorithm>

namespace PortOpenError {

namespace {

bool IsControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

} // namespace

bool HasControlCharacters(const QString& device)
{
    return std::any_of(device.cbegin(), device.cend(), IsControl);
}

QString Printable(const QString& device)
{
    QString shown;
    for (QChar c : device) {
        if (IsControl(c))
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

QString Reason(QSerialPort::SerialPortError error, const QString& qtText)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("Datei oder Verzeichnis nicht gefunden");
    case QSerialPort::PermissionError:
        // Qt reports a port that another program holds (its lock file) as a permission error.
        if (qtText.contains(QLatin1String("lock"), Qt::CaseInsensitive))
            return QStringLiteral("Die Schnittstelle wird von einem anderen Programm benutzt");
        return QStringLiteral("Zugriff verweigert");
    case QSerialPort::OpenError:
        return QStringLiteral("Die Schnittstelle ist bereits geöffnet");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("Das Gerät ist keine serielle Schnittstelle");
    default:
        return qtText.isEmpty() ? QStringLiteral("Unbekannter Fehler") : qtText;
    }
}

QString NameReason(const QString& device)
{
    return device.isEmpty() ? QStringLiteral("Es ist kein Gerät eingestellt")
                            : QStringLiteral("Der Gerätename enthält Steuerzeichen");
}

QString Message(int port, const QString& device, const QString& reason)
{
    const QString shown = Printable(device);
    const QString name = port >= 1 ? QStringLiteral("COM%1 (%2)").arg(port).arg(shown) : shown;
    return QStringLiteral("%1 konnte nicht geöffnet werden: %2").arg(name, reason);
}

} // namespace PortOpenError
