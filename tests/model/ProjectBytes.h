#pragma once

// Qt
#include <QByteArray>
#include <QtEndian>

// Builds project file bytes by hand, field by field, independent of the writer.
struct ProjectBytes
{
    int textFormat = 2;
    int displayChars = 40;
    int maxRecords = 1000;
    int groupDigits = 4;
    int pseudoGroupDigits = 3;
    int detectorDigits = 2;
    int offset = 0;
    QByteArray panelId = "AT 1";

    static QByteArray Int(int v)
    {
        char b[4];
        qToLittleEndian<qint32>(v, b);
        return QByteArray(b, 4);
    }

    QByteArray Header() const
    {
        QByteArray h("Korvalin GmbH");
        h += Int(textFormat) + Int(displayChars) + Int(maxRecords) + Int(groupDigits) +
             Int(pseudoGroupDigits) + Int(detectorDigits) + Int(offset);
        h += 'N' + QByteArray(99, ' ');
        QByteArray id = panelId;
        id.append(QByteArray(30 - int(id.size()), '\0'));
        return h + id;
    }
};
