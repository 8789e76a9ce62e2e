#include "TextRecordCodec.h"

#include "CRecordList.h"
#include "MessageRecord.h"
#include "ProjectData.h"
#include "ProjectRules.h"
#include "TextFormats.h"

#include <cstring>

namespace TextRecordCodec {

namespace {

unsigned char At(const QByteArray& bytes, int i)
{
    return static_cast<unsigned char>(bytes.at(i));
}

// Takes the next field of a received record, never beyond its end.
QByteArray Cut(const QByteArray& record, int& pos, int length)
{
    length = qMax(0, length);
    const QByteArray field = pos < record.size() ? record.mid(pos, length) : QByteArray();
    pos += length;
    return field;
}

QByteArray Padded(const QByteArray& text, int length)
{
    return text.size() >= length ? text : text + QByteArray(length - text.size(), ' ');
}

} // namespace

unsigned char Sum(const QByteArray& bytes)
{
    unsigned sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    return static_cast<unsigned char>(sum);
}

bool DecodeIdentification(const QByteArray& id, ProjectData& d)
{
    d.displayChars = At(id, 16);
    d.maxRecords = At(id, 17) * 256 + At(id, 18);
    std::memset(d.projectPath, 0, sizeof d.projectPath);
    const bool wasBosch = d.panelType == PanelType::Bosch;
    int type = d.panelType;
    int variant = d.panelVariant;
    const bool known = ProjectRules::DecodePanelIdFat(id.constData(), type, variant);
    if (known) {
        d.panelType = type;
        d.panelVariant = variant;
    }
    // Zeros would switch every LZ of the FAT off at the next "LZ-Codierung senden".
    if (d.panelType == PanelType::Bosch && !wasBosch)
        ProjectRules::SetDefaultLzAssignment(d);
    d.detectorDigits = At(id, 19);
    d.groupDigits = At(id, 20);
    d.pseudoGroupDigits = 5;
    d.text2Length = ProjectRules::LineLength(d);
    // Positions 0 to 15 as they came: a NUL before the model digit must not lose it, or a
    // saved project would no longer know its model nor match its FAT when sending.
    std::memset(d.panelId, 0, sizeof d.panelId);
    std::memcpy(d.panelId, id.constData(), 16);
    return known;
}

bool SameFat(const QByteArray& id, const ProjectData& d)
{
    if (id.size() < 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        if (i == 3 && d.panelType == PanelType::EffEff)
            continue;
        if (id.at(i) != d.panelId[i])
            return false;
    }
    return true;
}

int HeaderCount(const QByteArray& header)
{
    if (At(header, 0) == 0xFF && At(header, 1) == 0xFF)
        return -1;
    return At(header, 0) * 256 + At(header, 1);
}

qint32 HeaderOffset(const QByteArray& header)
{
    return qint32(quint32(At(header, 2)) << 24 | quint32(At(header, 3)) << 16 |
                  quint32(At(header, 4)) << 8 | quint32(At(header, 5)));
}

QByteArray CountBytes(int count)
{
    const char bytes[] = {char(count >> 8), char(count & 0xFF)};
    return QByteArray(bytes, 2);
}

QByteArray OffsetBytes(const char* groupOffset, int size)
{
    const long long value =
        CRecordList::DecimalValue(QByteArray(groupOffset, int(qstrnlen(groupOffset, size))));
    const quint32 offset = quint32(qint32(qBound<long long>(-2147483648LL, value, 2147483647LL)));
    const char bytes[] = {char(offset >> 24), char(offset >> 16), char(offset >> 8), char(offset)};
    return QByteArray(bytes, 4);
}

char TagOfType(unsigned char type)
{
    const TextFormats::Format* format = TextFormats::OfWireType(type);
    return format ? format->tag : 0;
}

int RecordLength(char tag, const ProjectData& d)
{
    const TextFormats::Format* format = TextFormats::OfTag(tag);
    if (!format)
        return -1;
    // The FAT counts Text 2 as the rest of its display: one more than a line when the
    // display has an odd number of characters.
    return 1 + d.groupDigits + d.detectorDigits + (format->pseudoGroup ? d.pseudoGroupDigits : 0) +
           format->Text1Length(d) + d.displayChars - ProjectRules::LineLength(d);
}

MessageRecord DecodeRecord(const QByteArray& record, char tag, const ProjectData& d)
{
    // A tag of no format reads as "F", which has no numbers before Text 1.
    const TextFormats::Format* known = TextFormats::OfTag(tag);
    const TextFormats::Format& format = known ? *known : *TextFormats::Of(FormatTwoLines);
    int pos = 1;
    MessageRecord rec;
    rec.formatTag = QByteArray(1, tag);
    rec.group = Cut(record, pos, d.groupDigits);
    rec.detector = Cut(record, pos, d.detectorDigits);
    if (format.pseudoGroup)
        rec.pseudoGroup = Cut(record, pos, d.pseudoGroupDigits);
    rec.text1 = Cut(record, pos, format.Text1Length(d));
    rec.text2 = Cut(record, pos, ProjectRules::LineLength(d));
    return rec;
}

bool EncodeRecord(const MessageRecord& rec, int row, const ProjectData& d, QByteArray& wire,
                  QString& problem)
{
    const TextFormats::Format* format = TextFormats::OfTag(rec.formatTag);
    if (!format) {
        problem = QStringLiteral("nicht unterstütztes Textformat");
        return false;
    }
    // The numbers go out at exactly the FAT's widths: a row that holds them padded wider (as
    // the project file keeps the group of some makers) loses only leading zeros.
    bool groupFits = true, detectorFits = true, pseudoFits = true;
    const QByteArray group = CRecordList::FitNumber(rec.group, d.groupDigits, &groupFits);
    const QByteArray detector =
        CRecordList::FitNumber(rec.detector, d.detectorDigits, &detectorFits);
    const QByteArray pseudo =
        format->pseudoGroup
            ? CRecordList::FitNumber(rec.pseudoGroup, d.pseudoGroupDigits, &pseudoFits)
            : QByteArray();
    if (!groupFits || !detectorFits || !pseudoFits) {
        problem = QStringLiteral("Die Nummern in Zeile %1 haben mehr Stellen, als das FAT "
                                 "erlaubt.")
                      .arg(row + 1);
        return false;
    }
    wire = QByteArray(1, char(format->wireType)) + group + detector + pseudo +
           Padded(rec.text1, d.text1Length) + Padded(rec.text2, d.text2Length);
    return true;
}

} // namespace TextRecordCodec
