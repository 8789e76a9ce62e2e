#pragma once

// Qt
#include <QString>

// Per-user settings under the maker key, one store per program ("Quillmark", "Lineprobe").
namespace Settings {

inline const char* kMaker = "Korvalin GmbH";

int GetProfileInt(const QString& program, const QString& section, const QString& key,
                  int defaultValue);
void WriteProfileInt(const QString& program, const QString& section, const QString& key, int value);
QString GetProfileString(const QString& program, const QString& section, const QString& key,
                         const QString& defaultValue = QString());
void WriteProfileString(const QString& program, const QString& section, const QString& key,
                        const QString& value);

} // namespace Settings
