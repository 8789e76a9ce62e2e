#pragma once

// Qt
#include <QEvent>
#include <QtGlobal>

// Names of the three messages the serial component posts to its receiver.
inline constexpr const char* kCommRxChar = "CommRxCharByQK081199";
inline constexpr const char* kCommError = "CommErrorByQK081199";
inline constexpr const char* kCommStatusChanged = "CommStatusChangedByQK140200";

// Kinds carried in wParam of "CommErrorByQK081199".
enum CommErrorKind {
    CommParityError = 0,
    CommFramingError = 1,
    CommOverrunError = 2,
    CommBreakError = 3,
    CommModeError = 4, // the device refused the line parameters
    CommIoError = 5,   // read/write failure or the device went away; the port is closed
};

// Bits of GetCommModemStatus.
enum CommModemBits : unsigned long {
    CommModemCts = 0x10,
    CommModemDsr = 0x20,
    CommModemCarrier = 0x80,
};

// Returns the event type registered under name; the same name always gives the same type.
// Thread-safe; the first call for a name registers it.
QEvent::Type RegisterCommMessage(const char* name);

inline QEvent::Type CommRxCharMessage()
{
    return RegisterCommMessage(kCommRxChar);
}
inline QEvent::Type CommErrorMessage()
{
    return RegisterCommMessage(kCommError);
}
inline QEvent::Type CommStatusChangedMessage()
{
    return RegisterCommMessage(kCommStatusChanged);
}

// One posted message of the serial component: its type is one of the three above; wParam
// carries the error kind for "CommErrorByQK081199" and is 0 otherwise; lParam is always 0.
// A receiver handles it in event() or customEvent():
//   if (e->type() == CommErrorMessage()) OnCommError(static_cast<CCommEvent*>(e)->wParam());
class CCommEvent : public QEvent
{
public:
    CCommEvent(QEvent::Type type, qintptr wParam = 0, qintptr lParam = 0)
        : QEvent(type), m_wParam(wParam), m_lParam(lParam)
    {
    }

    qintptr wParam() const { return m_wParam; }
    qintptr lParam() const { return m_lParam; }

private:
    qintptr m_wParam;
    qintptr m_lParam;
};
