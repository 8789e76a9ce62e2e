#pragma once

// Qt
#include <QString>

class QObject;

// Connects CSerial to the widgets of a GUI program; call once after the QApplication exists.
// Installs the port dialog (ChangeComPort), the parameter dialog (ChangeComParameter) and the
// lookup of receivers by caption among all widgets.
void InstallComDialogs();

// The widget whose window title or object name equals caption, a visible window first;
// nullptr when there is none.
QObject* FindWidgetByCaption(const QString& caption);
