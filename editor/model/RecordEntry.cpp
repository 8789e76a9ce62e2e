#include "RecordEntry.h"

#include "CRecordList.h"
#include "CodePage.h"
#include "ProjectRules.h"
#include "TextFormats.h"

namespace RecordEntry {

namespace {

bool CarriesPseudoGroup(const QByteArray& tag)
{
    const TextFormats::Format* format = TextFormats::OfTag(tag);
    return format && format->pseudoGroup;
}

RecordRefusal Hint(const QString& text)
{
    return {text, QStringLiteral("Hinweis")};
}

QString CheckNumber(const QString& name, const QString& text, int digits, bool allowCard)
{
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!digit && !(allowCard && i == 0 && c == QLatin1Char('+')))
            return allowCard ? QStringLiteral("%1 darf nur aus Ziffern bestehen, bei einer "
                                              "Kartennummer mit einem + davor.")
                                   .arg(name)
                             : QStringLiteral("%1 darf nur aus Ziffern bestehen.").arg(name);
    }
    if (text.size() > digits)
        return QStringLiteral("%1 darf höchstens %2 Stellen haben.").arg(name).arg(digits);
    return QString();
}

QString CheckText(const QString& name, const QString& text, int length)
{
    QByteArray bytes;
    if (!ToCodePage(text, bytes)) {
        // Name the first character that has no byte, so the user knows what to change.
        QString character;
        for (int i = 0; i < text.size() && character.isEmpty(); ++i) {
            const int size = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            QByteArray one;
            if (!ToCodePage(text.mid(i, size), one))
                character = text.mid(i, size);
            i += size - 1;
        }
        return QStringLiteral("%1 enthält das Zeichen \"%2\", das das FAT nicht darstellen "
                              "kann.")
            .arg(name, character);
    }
    for (char c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return QStringLiteral("%1 enthält ein Steuerzeichen.").arg(name);
    if (bytes.size() > length)
        return QStringLiteral("%1 darf höchstens %2 Zeichen lang sein.").arg(name).arg(length);
    return QString();
}

} // namespace

bool ToCodePage(const QString& text, QByteArray& bytes)
{
    // The encoder writes a substitute for a character it cannot hold; the way back shows it.
    bytes = ToCp1252(text);
    return FromCp1252(bytes) == text;
}

RecordRefusal CheckCell(const ProjectData& d, int column, const QString& text, bool copying)
{
    switch (column) {
    case Column::Group: {
        const QString problem = CheckNumber(ProjectRules::GroupHeader(d), text, d.groupDigits,
                                            ProjectRules::CardGroupsAllowed(d));
        if (!problem.isEmpty())
            return Hint(problem);
        const long long group = CRecordList::DecimalValue(text.toLatin1());
        const bool tooHigh = copying && d.textFormat != FormatStandard
                                 ? group >= 10000
                                 : group > 9999 && !ProjectRules::GroupsAbove9999(d);
        if (tooHigh)
            return {QStringLiteral("Es sind nur Werte von 1 - 9999 für die MelderGruppe erlaubt !"),
                    QString(), false};
        return RecordRefusal();
    }
    case Column::PseudoGroup:
        return Hint(
            CheckNumber(QStringLiteral("Pseudo MelderGruppe"), text, d.pseudoGroupDigits, false));
    case Column::Detector:
        return Hint(CheckNumber(ProjectRules::DetectorHeader(d), text, d.detectorDigits, false));
    case Column::Text1:
        return Hint(CheckText(QStringLiteral("Text 1"), text, d.text1Length));
    case Column::Text2:
        return Hint(CheckText(QStringLiteral("Text 2"), text, d.text2Length));
    }
    return RecordRefusal();
}

QByteArray CleanCardList(QByteArray text)
{
    if (text.isEmpty())
        return text;
    // A complete last group lacks only its trailing blank; without it the cut below would
    // drop that group.
    if (text.size() % 5 == 4)
        text.append(' ');
    QList<QByteArray> groups;
    for (int i = 0; i + 5 <= text.size(); i += 5) {
        const QByteArray group = text.mid(i, 4);
        if (group.at(0) == '0' || group.mid(2, 2) == "00")
            continue;
        groups.append(group);
    }
    return groups.join(' ');
}

RecordRefusal Check(const ProjectData& d, const RecordInput& input, MessageRecord& rec, int* column)
{
    const bool pseudo = d.textFormat == FormatPseudo;
    const struct
    {
        int column;
        const QString& text;
    } cells[] = {{Column::Group, input.group},
                 {Column::PseudoGroup, input.pseudoGroup},
                 {Column::Detector, input.detector},
                 {Column::Text1, input.text1},
                 {Column::Text2, input.text2}};
    for (const auto& cell : cells) {
        if (cell.column == Column::PseudoGroup && !pseudo)
            continue;
        const RecordRefusal problem = CheckCell(d, cell.column, cell.text, input.copying);
        if (problem) {
            if (column)
                *column = cell.column;
            return problem;
        }
    }
    rec.formatTag = ProjectRules::FormatTag(d.textFormat);
    rec.group = input.group.toLatin1();
    rec.pseudoGroup = pseudo ? input.pseudoGroup.toLatin1() : QByteArray();
    rec.detector = input.detector.toLatin1();
    ToCodePage(input.text1, rec.text1);
    ToCodePage(input.text2, rec.text2);
    if (d.textFormat == FormatStandard && ProjectRules::OutputCardLists(d)) {
        rec.text1 = CleanCardList(rec.text1);
        rec.text2 = CleanCardList(rec.text2);
    }
    return RecordRefusal();
}

RecordRefusal Admit(const ProjectData& d, const MessageRecord& in, MessageRecord& rec)
{
    const QString hint = QStringLiteral("Hinweis");
    if (in.group.isEmpty())
        return {QStringLiteral("Das Feld MelderGruppe muß ausgefüllt werden !"), hint};
    const bool card = in.group.startsWith('+');
    if (in.group == "+")
        return {QStringLiteral("Die Kartennummer fehlt noch !"), hint};
    if (CRecordList::DecimalValue(in.group) == 0)
        return {QStringLiteral("Die MelderGruppe 0 ist nicht zulässig !"), hint};
    if (card) {
        const long long det = CRecordList::DecimalValue(in.detector);
        if (det < 1 || det > 32)
            return {QStringLiteral("Der Eingabebereich für \"Melder\" geht von 1 - 32 !"), hint};
    }
    if (CarriesPseudoGroup(in.formatTag) && in.pseudoGroup.isEmpty())
        return {QStringLiteral("Das Feld Pseudo MelderGruppe muß ausgefüllt werden !"), hint};
    if (in.detector.isEmpty())
        return {QStringLiteral("Das Feld Melder muß ausgefüllt werden !"), hint};

    rec = in;
    rec.detector = CRecordList::PadZeros(rec.detector, d.detectorDigits);
    if (card) {
        QByteArray digits = rec.group;
        digits[0] = '0';
        rec.group = CRecordList::PadZeros(digits, d.groupDigits);
        if (!rec.group.isEmpty())
            rec.group[0] = '+';
    } else {
        rec.group = CRecordList::PadZeros(rec.group, d.groupDigits);
    }
    if (CarriesPseudoGroup(rec.formatTag))
        rec.pseudoGroup = CRecordList::PadZeros(rec.pseudoGroup, d.pseudoGroupDigits);
    return RecordRefusal();
}

} // namespace RecordEntry
