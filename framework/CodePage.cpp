#include "CodePage.h"

// Qt
#include <QStringDecoder>
#include <QStringEncoder>

QString FromCp1252(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray ToCp1252(const QString& text)
{
    QStringEncoder encoder("windows-1252", QStringEncoder::Flag::Default);
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

bool IsCp1252(QChar c)
{
    if (c.unicode() < 0x80)
        return true;
    const QString one(c);
    return FromCp1252(ToCp1252(one)) == one;
}
