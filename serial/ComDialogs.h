#pragma once

// Connects CSerial to the widgets of a GUI program; call once after the QApplication exists.
// Installs the port dialog (ChangeComPort) and the parameter dialog (ChangeComParameter).
void InstallComDialogs();
