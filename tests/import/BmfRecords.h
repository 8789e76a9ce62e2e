#pragma once

// Qt
#include <QByteArray>
#include <QtEndian>

#include <cstring>

// Builds BMF records field by field, as the panel tools write them.
namespace Bmf {

inline QByteArray Record(qint32 group, unsigned char detector, const QByteArray& body)
{
    QByteArray r(92, '\0');
    qToLittleEndian<qint32>(group, r.data());
    r[4] = char(detector);
    std::memcpy(r.data() + 6, body.constData(), size_t(qMin<qsizetype>(body.size(), 86)));
    return r;
}

// Text 1 '@' Text 2: a standard record when Text 1 is not exactly 20 characters.
inline QByteArray Standard(qint32 group, unsigned char detector, const QByteArray& text1,
                           const QByteArray& text2)
{
    return Record(group, detector, text1 + '@' + text2);
}

// Text 1 of exactly 20 characters, then '@' at offset 26.
inline QByteArray TwoLines(qint32 group, unsigned char detector, const QByteArray& text1,
                           const QByteArray& text2)
{
    return Record(group, detector, text1.leftJustified(20, ' ', true) + '@' + text2);
}

inline QByteArray Pseudo(qint32 group, unsigned char detector, quint16 pseudo,
                         const QByteArray& text1, const QByteArray& text2)
{
    char p[2];
    qToLittleEndian<quint16>(pseudo, p);
    return Record(group, detector,
                  QByteArray(1, char(0xB0)) + QByteArray(p, 2) + text1 + '@' + text2);
}

} // namespace Bmf
