#pragma once

// Qt
#include <QByteArray>
#include <QString>

// Texts of the model, the files and the wire are Windows-1252 bytes; widgets and JSON get
// QString. These are the only two crossings.
QString FromCp1252(const QByteArray& bytes);
QByteArray ToCp1252(const QString& text);
// True when c has a Windows-1252 byte (and so survives the crossing into the model).
bool IsCp1252(QChar c);
