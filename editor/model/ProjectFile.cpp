#include "ProjectFile.h"

#include "CRecordList.h"
#include "ProjectLimits.h"
#include "ProjectRules.h"
#include "ProjectTypes.h"
#include "TextFormats.h"

// Qt
#include <QIODevice>
#include <QtEndian>

#include <cstring>

namespace ProjectFile {

namespace {

const char kMagic[] = "Korvalin GmbH";
static_assert(sizeof kMagic - 1 == MagicSize);

// The seven header fields, in file order.
enum Field {
    TextFormat,
    DisplayChars,
    MaxRecords,
    GroupDigits,
    PseudoDigits,
    DetectorDigits,
    GroupOffset
};

int32_t ReadField(const QByteArray& header, Field field)
{
    return qFromLittleEndian<int32_t>(header.constData() + FieldsOffset + 4 * field);
}

void AppendInt(QByteArray& out, int32_t value)
{
    char b[4];
    qToLittleEndian<int32_t>(value, b);
    out.append(b, 4);
}

// Cut at the first NUL, as the fixed text fields hold C strings.
QByteArray CText(const QByteArray& bytes)
{
    const int nul = int(bytes.indexOf('\0'));
    return nul < 0 ? bytes : bytes.left(nul);
}

QByteArray FixedText(const QByteArray& text, int width)
{
    if (width <= 0)
        return QByteArray();
    if (text.size() >= width)
        return text.left(width);
    return text + QByteArray(width - int(text.size()), ' ');
}

} // namespace

QString ReadHeader(QIODevice& file, ProjectData& next)
{
    const QString unknown = QStringLiteral("Unbekanntes Dateiformat");
    const QByteArray header = file.read(HeaderSize);
    if (!header.startsWith(QByteArray(kMagic, MagicSize)) || header.size() != HeaderSize)
        return unknown;
    next.textFormat = ReadField(header, TextFormat);
    next.displayChars = ReadField(header, DisplayChars);
    next.maxRecords = ReadField(header, MaxRecords);
    next.groupDigits = ReadField(header, GroupDigits);
    next.pseudoGroupDigits = ReadField(header, PseudoDigits);
    next.detectorDigits = ReadField(header, DetectorDigits);

    // Values no project can hold would make the record widths meaningless or negative. More
    // group digits than the list can show are left to SetupListColumns, which reports them.
    ProjectData probe = next;
    probe.groupDigits = qMin(probe.groupDigits, int(ProjectLimits::MaxGroupDigits));
    const bool formatKnown = next.textFormat >= FormatStandard && next.textFormat <= FormatTwoLines;
    if (!formatKnown || !ProjectLimits::WithinLimits(probe))
        return unknown;

    std::memset(next.groupOffset, 0, sizeof next.groupOffset);
    const QByteArray offsetText = QByteArray::number(ReadField(header, GroupOffset));
    std::memcpy(next.groupOffset, offsetText.constData(), size_t(offsetText.size()));
    std::memset(next.panelId, 0, sizeof next.panelId);
    std::memcpy(next.panelId, header.constData() + PanelIdOffset, PanelIdSize);
    return QString();
}

bool ReadBody(QIODevice& file, qint64 remaining, ProjectData& d, CRecordList& list)
{
    const QByteArray tagOfFormat = ProjectRules::FormatTag(d.textFormat);
    const int groupWidth = ProjectRules::FileGroupWidth(d);
    // The rows arrive as one batch: a shown list is reset once, not told of every row.
    CRecordBatch batch(list);
    list.DeleteAllItems();
    while (remaining > 0) {
        const QByteArray tagByte = file.read(1);
        remaining -= 1;
        const char tag = tagByte.isEmpty() ? '\0' : tagByte[0];
        if (tag == 'L' &&
            (remaining <= CoverTail || (d.panelType == PanelType::Bosch && remaining <= LzTail))) {
            const QByteArray table = file.read(LzTableSize);
            std::memcpy(d.lzAssignment, table.constData(), size_t(table.size()));
            d.lzAssignment[LzTableSize] = 0;
            remaining -= LzTableSize;
            continue;
        }
        if (tag == 'D' && remaining <= CoverTail) {
            for (auto& field : d.coverPage) {
                const QByteArray text = CText(file.read(CoverTextSize));
                std::memset(field, 0, sizeof field);
                std::memcpy(field, text.constData(), size_t(text.size()));
            }
            remaining -= CoverBlockSize;
            continue;
        }
        if (tag == 'E' || remaining <= 1)
            break;

        MessageRecord rec;
        rec.formatTag = TextFormats::OfTag(tag) ? QByteArray(1, tag) : tagOfFormat;
        const bool pseudo = TextFormats::OfTag(rec.formatTag)->pseudoGroup;
        // The file may hold the group wider than the project's digits; the list, the keys
        // and the wire always have groupDigits characters.
        rec.group = CText(file.read(groupWidth));
        bool fits = true;
        const QByteArray group = CRecordList::FitNumber(rec.group, d.groupDigits, &fits);
        if (fits)
            rec.group = group;
        if (pseudo)
            rec.pseudoGroup = CText(file.read(d.pseudoGroupDigits));
        rec.detector = CText(file.read(d.detectorDigits));
        rec.text1 = CText(file.read(d.text1Length));
        rec.text2 = CText(file.read(d.text2Length));
        remaining -= groupWidth + (pseudo ? d.pseudoGroupDigits : 0) + d.detectorDigits +
                     d.text1Length + d.text2Length;
        // A record cut by the end of the file is dropped; the complete ones before it stay.
        if (remaining < 0)
            return false;
        list.AddRecordAt(rec, list.GetCount());
    }
    // A trailer block cut short ends the file early too.
    return remaining >= 0;
}

QByteArray Bytes(const ProjectData& d, const CRecordList& list)
{
    QByteArray out(kMagic, MagicSize);
    AppendInt(out, d.textFormat);
    AppendInt(out, d.displayChars);
    AppendInt(out, d.maxRecords);
    AppendInt(out, d.groupDigits);
    AppendInt(out, d.pseudoGroupDigits);
    AppendInt(out, d.detectorDigits);
    const QByteArray offsetText = CText(QByteArray(d.groupOffset, int(sizeof d.groupOffset)));
    AppendInt(out, int32_t(CRecordList::DecimalValue(offsetText)));
    out.append('N');
    out.append(QByteArray(ReservedSize, ' '));
    out.append(d.panelId, PanelIdSize);

    const int groupWidth = ProjectRules::FileGroupWidth(d);
    const QByteArray formatTag = ProjectRules::FormatTag(d.textFormat);
    const char defaultTag = formatTag.isEmpty() ? 'S' : formatTag[0];
    for (int row = 0; row < list.GetCount(); ++row) {
        const MessageRecord& rec = list.At(row);
        // The reader takes any other tag as the project's own, so write it as that: a
        // record must come back with the fields it was written with.
        const char own = rec.formatTag.isEmpty() ? '\0' : rec.formatTag[0];
        const char tag = TextFormats::OfTag(own) ? own : defaultTag;
        out.append(tag);
        out.append(CRecordList::FitNumber(rec.group, groupWidth));
        if (TextFormats::OfTag(tag)->pseudoGroup)
            out.append(CRecordList::FitNumber(rec.pseudoGroup, d.pseudoGroupDigits));
        out.append(CRecordList::FitNumber(rec.detector, d.detectorDigits));
        out.append(FixedText(rec.text1, d.text1Length));
        out.append(FixedText(rec.text2, d.text2Length));
    }

    if (d.panelType == PanelType::Bosch) {
        out.append('L');
        out.append(d.lzAssignment, LzTableSize);
    }
    bool cover = false;
    for (const auto& text : d.coverPage)
        cover = cover || text[0] != '\0';
    if (cover) {
        out.append('D');
        for (const auto& text : d.coverPage) {
            QByteArray field(text, int(qstrnlen(text, CoverTextSize)));
            field.append(QByteArray(CoverTextSize - int(field.size()), '\0'));
            out.append(field);
        }
    }
    out.append('E');
    return out;
}

} // namespace ProjectFile
