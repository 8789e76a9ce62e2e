#include "ComDialogs.h"
#include "CSerial.h"
#include "ChangeComParameter.h"
#include "ChangeComPort.h"

// Qt
#include <QApplication>

void InstallComDialogs()
{
    CSerial::SetComPortDialog([](int& port, const QString& program) {
        ChangeComPort dialog(port, program, QApplication::activeWindow());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        dialog.StoreDevices();
        port = dialog.Port();
        return true;
    });
    CSerial::SetComParameterDialog([](ComParameter& parameter) {
        ChangeComParameter dialog(parameter, QApplication::activeWindow());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        parameter = dialog.Parameter();
        return true;
    });
}
