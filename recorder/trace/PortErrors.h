#pragma once

// Qt
#include <QByteArray>

// The texts a port error of kind 0 to 5 puts into the trace and both views.
namespace PortErrors {

inline QByteArray Text(int kind)
{
    static const char* const texts[] = {"Parity-Fehler", "Framing Error", "Overrun Error",
                                        "Break Error",   "Falscher Mode", "IO Fehler"};
    return kind >= 0 && kind <= 5 ? QByteArray(texts[kind]) : QByteArray();
}

inline bool IsErrorText(const QByteArray& chunk)
{
    for (int kind = 0; kind <= 5; ++kind)
        if (chunk == Text(kind))
            return true;
    return false;
}

} // namespace PortErrors
