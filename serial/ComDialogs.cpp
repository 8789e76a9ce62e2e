#include "ComDialogs.h"
#include "CSerial.h"
#include "ChangeComParameter.h"
#include "ChangeComPort.h"

// Qt
#include <QApplication>
#include <QWidget>

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
    CSerial::SetReceiverFinder(&FindWidgetByCaption);
}

QObject* FindWidgetByCaption(const QString& caption)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isVisible() && window->windowTitle() == caption)
            return window;
    }
    for (QWidget* window : windows) {
        if (window->windowTitle() == caption)
            return window;
    }
    const QWidgetList all = QApplication::allWidgets();
    for (QWidget* widget : all) {
        if (widget->objectName() == caption)
            return widget;
    }
    return nullptr;
}
