#include "Settings.h"

// Qt
#include <QSettings>

namespace Settings {

static QString KeyOf(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

int GetProfileInt(const QString& program, const QString& section, const QString& key,
                  int defaultValue)
{
    QSettings settings(QString::fromLatin1(kMaker), program);
    bool ok = false;
    const int value = settings.value(KeyOf(section, key), defaultValue).toInt(&ok);
    return ok ? value : defaultValue;
}

void WriteProfileInt(const QString& program, const QString& section, const QString& key, int value)
{
    QSettings settings(QString::fromLatin1(kMaker), program);
    settings.setValue(KeyOf(section, key), value);
}

QString GetProfileString(const QString& program, const QString& section, const QString& key,
                         const QString& defaultValue)
{
    QSettings settings(QString::fromLatin1(kMaker), program);
    return settings.value(KeyOf(section, key), defaultValue).toString();
}

void WriteProfileString(const QString& program, const QString& section, const QString& key,
                        const QString& value)
{
    QSettings settings(QString::fromLatin1(kMaker), program);
    settings.setValue(KeyOf(section, key), value);
}

} // namespace Settings
