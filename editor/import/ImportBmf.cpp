#include "ImportBmf.h"

#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "ImportFrame.h"
#include "ImportLz.h"
#include "ProjectRules.h"
#include "ProjectTypes.h"

// Qt
#include <QFile>
#include <QtEndian>

namespace BmfImport {

namespace {

const char kAt = '@';
const unsigned char kPseudoMark = 0xB0;

int ChooseKind(const CQuillmarkDoc& doc, int formatBits, const ImportHooks& hooks)
{
    // NOTIFIER panels always take two free lines.
    if (doc.Data().panelType == PanelType::Notifier)
        return KindTwoLines;
    if (formatBits == KindPseudo || formatBits == KindTwoLines || formatBits == KindStandard)
        return formatBits;
    if (!hooks.chooseBmfKind)
        return 0;
    const int kind = hooks.chooseBmfKind(formatBits);
    const bool known = kind == KindPseudo || kind == KindTwoLines || kind == KindStandard;
    return known && kind != DisabledKind(formatBits) ? kind : 0;
}

// One record into the work record; false when the record is not to be inserted.
bool ReadRecord(const char* r, const ProjectData& d, const QByteArray& zeros, MessageRecord& rec,
                bool& incomplete)
{
    const qint32 groupValue = qFromLittleEndian<qint32>(r);
    const bool take = groupValue >= 0;
    if (!take)
        incomplete = true;
    rec.group = ImportFrame::Cut(QByteArray::number(groupValue), d.groupDigits, incomplete);
    rec.detector = ImportFrame::Cut(QByteArray::number(uint(static_cast<unsigned char>(r[4]))),
                                    d.detectorDigits, incomplete);

    int start = 6;
    if (KindOf(r) == KindPseudo) {
        start = 9;
        rec.pseudoGroup =
            d.textFormat == 3
                ? ImportFrame::Cut(QByteArray::number(qFromLittleEndian<quint16>(r + 7)),
                                   d.pseudoGroupDigits, incomplete)
                : QByteArray();
    } else {
        rec.pseudoGroup = d.textFormat == 3 ? zeros : QByteArray();
    }

    const QByteArray record = QByteArray::fromRawData(r, RecordSize);
    const int at = int(record.indexOf(kAt, start));
    const int text1End = at < 0 ? RecordSize : at;
    rec.text1 =
        ImportFrame::Cut(QByteArray(r + start, text1End - start), d.text1Length, incomplete);
    rec.text2.clear();
    if (at >= 0) {
        int end = int(record.indexOf('\0', at + 1));
        if (end < 0)
            end = RecordSize;
        rec.text2 =
            ImportFrame::Cut(QByteArray(r + at + 1, end - at - 1), d.text2Length, incomplete);
    }
    return take;
}

} // namespace

int KindOf(const char* record)
{
    if (static_cast<unsigned char>(record[6]) == kPseudoMark)
        return KindPseudo;
    if (record[26] == kAt)
        return KindTwoLines;
    return KindStandard;
}

int FormatOfKind(int kind)
{
    switch (kind) {
    case KindPseudo:
        return FormatPseudo;
    case KindTwoLines:
        return FormatTwoLines;
    case KindStandard:
        return FormatStandard;
    }
    return 0;
}

int DisabledKind(int formatBits)
{
    switch (formatBits) {
    case KindPseudo | KindTwoLines:
        return KindStandard;
    case KindPseudo | KindStandard:
        return KindTwoLines;
    case KindTwoLines | KindStandard:
        return KindPseudo;
    }
    return 0;
}

Outcome ImportBmfData(CQuillmarkDoc& doc, const QByteArray& data, const ImportHooks& hooks)
{
    Outcome outcome;
    int count = int(qMin<qint64>(data.size() / RecordSize, MaxRecords + 1));
    if (count == 0) {
        ImportFrame::ReportNoTexts();
        return outcome;
    }
    if (count > MaxRecords) {
        count = MaxRecords;
        MessageBox(QStringLiteral("Die zu importierende Datei enthält mehr als 1000 Datensätze. "
                                  "Es werden nur die ersten 1000 Datensätze importiert."));
    }

    int formatBits = 0;
    {
        CProgressSteps progress(hooks.progress, QStringLiteral("Textformat wird bestimmt"),
                                count - 1);
        for (int i = 0; i < count; ++i) {
            progress.At(i);
            formatBits |= KindOf(data.constData() + qsizetype(i) * RecordSize);
        }
    }

    const int kind = ChooseKind(doc, formatBits, hooks);
    if (kind == 0)
        return outcome;
    const int textFormat = FormatOfKind(kind);
    // A format whose Text 1 would have no room cannot be saved and loaded again.
    const QString refused = ImportFrame::FormatFits(doc.Data(), textFormat);
    if (!refused.isEmpty()) {
        MessageBox(refused);
        return outcome;
    }

    // From here on the project holds the file's texts.
    ImportFrame::ClearProject(doc);
    outcome.imported = true;
    ProjectData& d = doc.Data();
    d.textFormat = textFormat;
    if (!doc.SetupListColumns())
        return outcome;

    const QByteArray zeros = ImportFrame::Zeros(d.pseudoGroupDigits);
    MessageRecord rec;
    rec.formatTag = ProjectRules::FormatTag(textFormat);
    CImportInserter inserter(doc);
    {
        // A shown list is reset once at the end, not told of every text.
        CRecordBatch batch(doc.Records());
        CProgressSteps progress(hooks.progress, QStringLiteral("Die Texte werden importiert"),
                                count - 1);
        for (int i = 0; i < count; ++i) {
            progress.At(i);
            if (ReadRecord(data.constData() + qsizetype(i) * RecordSize, d, zeros, rec,
                           outcome.incomplete))
                inserter.Insert(rec);
        }
    }
    outcome.incomplete = outcome.incomplete || inserter.LimitReached();
    doc.UpdateTitle();

    if (outcome.incomplete)
        ImportFrame::ReportIncomplete();
    MessageBox(
        QStringLiteral("Sollten Sie einen Offset versorgt haben, müssen Sie diesen noch eingeben"));

    if (d.panelType == PanelType::Bosch) {
        outcome.lzAsked = true;
        const int answer = MessageBox(QStringLiteral("Möchten Sie die LZ-Daten einlesen ?"),
                                      QString(), msg::Question, msg::YesNo);
        if (answer == msg::IdYes)
            outcome.lzImported = LzImport::ImportLz(d);
    }
    return outcome;
}

Outcome ImportBmf(CQuillmarkDoc& doc, const ImportHooks& hooks)
{
    if (!hooks.saveAsked && !doc.SaveProject(CQuillmarkDoc::SaveIfWanted))
        return Outcome();
    QFile file;
    if (!ImportFrame::OpenFile(QStringLiteral("BMF - Dateien (.bmf) | *.bmf||"),
                               QStringLiteral("bmf"), file))
        return Outcome();
    // Only the first 1000 records (and one more to know there are more) are ever used: read
    // them in one go, so both passes see the same bytes.
    const QByteArray data = file.read(qint64(MaxRecords + 1) * RecordSize);
    file.close();
    return ImportBmfData(doc, data, hooks);
}

} // namespace BmfImport
