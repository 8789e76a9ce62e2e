#include "FatVerify.h"

#include "CQuillmarkDoc.h"
#include "CodePage.h"
#include "ProjectData.h"
#include "TextRecordCodec.h"

// Qt
#include <QMap>

#include <cstring>

namespace FatVerify {

namespace {

// The wire records of a project keyed by group and detector, the key as it goes out;
// the value is what follows the key (pseudo group and both texts, padded).
struct WireRows
{
    QList<QByteArray> order;
    QMap<QByteArray, QByteArray> rest;
};

bool Encode(const CQuillmarkDoc& doc, const ProjectData& layout, WireRows& rows, QString& problem)
{
    const CRecordList& records = doc.Records();
    const int keyLength = 1 + layout.groupDigits + layout.detectorDigits;
    for (int row = 0; row < records.GetCount(); ++row) {
        QByteArray wire;
        if (!TextRecordCodec::EncodeRecord(records.At(row), row, layout, wire, problem))
            return false;
        const QByteArray key = wire.mid(1, keyLength - 1);
        if (!rows.rest.contains(key))
            rows.order.append(key);
        rows.rest.insert(key, wire.mid(keyLength));
    }
    return true;
}

QByteArray Trimmed(QByteArray text)
{
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

// The texts after the key, each without its trailing blanks, joined by " / ".
QByteArray Texts(const QByteArray& rest, const ProjectData& d)
{
    int pos = 0;
    QByteArray out;
    if (d.textFormat == FormatPseudo) {
        out = "PMG " + rest.left(d.pseudoGroupDigits) + ' ';
        pos = d.pseudoGroupDigits;
    }
    const QByteArray t1 = Trimmed(rest.mid(pos, d.text1Length));
    const QByteArray t2 = Trimmed(rest.mid(pos + d.text1Length));
    return out + '"' + t1 + "\" / \"" + t2 + '"';
}

QByteArray OffsetText(const ProjectData& d)
{
    const QByteArray text(d.groupOffset, int(qstrnlen(d.groupOffset, sizeof d.groupOffset)));
    return QByteArray::number(CRecordList::DecimalValue(text));
}

bool SameLayout(const ProjectData& a, const ProjectData& b)
{
    return a.textFormat == b.textFormat && a.groupDigits == b.groupDigits &&
           a.detectorDigits == b.detectorDigits && a.displayChars == b.displayChars &&
           a.text1Length == b.text1Length && a.text2Length == b.text2Length;
}

} // namespace

QString Difference::Describe() const
{
    if (kind == DifferentOffset)
        return QStringLiteral("Offset: Projekt %1, FAT %2")
            .arg(FromCp1252(project), FromCp1252(fat));
    const QString key =
        QStringLiteral("MG %1 Melder %2: ").arg(FromCp1252(group), FromCp1252(detector));
    switch (kind) {
    case MissingInFat:
        return key + QStringLiteral("fehlt im FAT (%1)").arg(FromCp1252(project));
    case OnlyInFat:
        return key + QStringLiteral("nur im FAT (%1)").arg(FromCp1252(fat));
    default:
        return key + QStringLiteral("Projekt %1, FAT %2").arg(FromCp1252(project), FromCp1252(fat));
    }
}

QString SameText()
{
    return QStringLiteral("Das FAT enthält genau die Texte des Projekts.");
}

Result Compare(const CQuillmarkDoc& project, const CQuillmarkDoc& fat)
{
    Result result;
    const ProjectData& d = project.Data();
    if (!TextRecordCodec::SameFat(QByteArray(fat.Data().panelId, 16), d)) {
        result.problem = QStringLiteral("Falsches FAT");
        return result;
    }
    if (!SameLayout(d, fat.Data())) {
        result.problem = QStringLiteral("Das FAT hat ein anderes Textformat oder andere "
                                        "Stellenzahlen als das Projekt.");
        return result;
    }
    WireRows mine, theirs;
    if (!Encode(project, d, mine, result.problem) || !Encode(fat, d, theirs, result.problem))
        return result;
    const QByteArray offset = OffsetText(d);
    const QByteArray fatOffset = OffsetText(fat.Data());
    const int keyGroup = d.groupDigits;
    auto add = [&](Difference::Kind kind, const QByteArray& key, const QByteArray& a,
                   const QByteArray& b) {
        Difference diff;
        diff.kind = kind;
        diff.group = key.left(keyGroup);
        diff.detector = key.mid(keyGroup);
        diff.project = a.isNull() ? QByteArray() : Texts(a, d);
        diff.fat = b.isNull() ? QByteArray() : Texts(b, d);
        result.differences.append(diff);
    };
    if (offset != fatOffset) {
        Difference diff;
        diff.kind = Difference::DifferentOffset;
        diff.project = offset;
        diff.fat = fatOffset;
        result.differences.append(diff);
    }
    for (const QByteArray& key : mine.order) {
        const auto there = theirs.rest.constFind(key);
        if (there == theirs.rest.cend())
            add(Difference::MissingInFat, key, mine.rest.value(key), QByteArray());
        else if (*there != mine.rest.value(key))
            add(Difference::DifferentTexts, key, mine.rest.value(key), *there);
    }
    for (const QByteArray& key : theirs.order)
        if (!mine.rest.contains(key))
            add(Difference::OnlyInFat, key, QByteArray(), theirs.rest.value(key));
    result.status = result.differences.isEmpty() ? Same : Different;
    return result;
}

Result Verify(CQuillmarkDoc& project, const Reader& read)
{
    // The scratch project starts as the project, so that the reading sees its settings.
    CQuillmarkDoc fat;
    fat.Data() = project.Data();
    std::memset(fat.Data().groupOffset, 0, sizeof fat.Data().groupOffset);
    if (!read(fat))
        return Result();
    return Compare(project, fat);
}

} // namespace FatVerify
