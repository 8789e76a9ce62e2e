#include "CodePage.h"

// Qt
#include <QStringDecoder>
#include <QStringEncoder>

// Opening a converter by name costs more than converting a short text, so each thread keeps
// one of each; stateless, so that no call sees what an earlier one left.
QString FromCp1252(const QByteArray& bytes)
{
    thread_local QStringDecoder decoder("windows-1252", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray ToCp1252(const QString& text)
{
    thread_local QStringEncoder encoder("windows-1252", QStringEncoder::Flag::Stateless);
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
