#include "FatStore.h"

#include "CDurableFile.h"

// Qt
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

bool FatStore::Load(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.exists())
        return true;
    const qint64 limit = 16 * 1024 * 1024;
    if (!CDurableFile::CheckReadable(path, limit, &error))
        return false;
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.read(limit), &parseError);
    if (!doc.isObject()) {
        error = QStringLiteral("%1 is not a store file: %2").arg(path, parseError.errorString());
        return false;
    }
    const QJsonObject o = doc.object();
    FatStore loaded;
    loaded.hasTexts = o.value("hasTexts").toBool();
    const double offset = o.value("groupOffset").toDouble();
    if (offset < -2147483648.0 || offset > 2147483647.0) {
        error = QStringLiteral("%1: groupOffset out of range").arg(path);
        return false;
    }
    loaded.groupOffset = qint32(offset);
    for (const QJsonValue& v : o.value("records").toArray()) {
        const QByteArray record = QByteArray::fromHex(v.toString().toLatin1());
        if (record.isEmpty()) {
            error = QStringLiteral("%1: bad record").arg(path);
            return false;
        }
        if (loaded.records.size() >= kMaxRecords) {
            error = QStringLiteral("%1: more than %2 records").arg(path).arg(kMaxRecords);
            return false;
        }
        loaded.records.append(record);
    }
    if (o.contains("lz")) {
        loaded.lzTable = QByteArray::fromHex(o.value("lz").toString().toLatin1());
        if (loaded.lzTable.size() != 255) {
            error = QStringLiteral("%1: the LZ table needs 255 entries").arg(path);
            return false;
        }
    }
    *this = loaded;
    return true;
}

bool FatStore::Save(const QString& path, QString& error) const
{
    QJsonObject o;
    o["hasTexts"] = hasTexts;
    o["groupOffset"] = groupOffset;
    QJsonArray list;
    for (const QByteArray& r : records)
        list.append(QString::fromLatin1(r.toHex()));
    o["records"] = list;
    o["lz"] = QString::fromLatin1(lzTable.toHex());
    return CDurableFile::WriteWhole(path, QJsonDocument(o).toJson(QJsonDocument::Indented), &error);
}
