#include "FormatConversion.h"

#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "ProjectLimits.h"
#include "ProjectRules.h"
#include "ProjectTypes.h"
#include "TextFormats.h"

#include <cstring>

namespace FormatConversion {

namespace {

// Empty when the project stays within the project limits in textFormat.
QString LimitsMessage(const ProjectData& d, int textFormat)
{
    ProjectData next = d;
    next.textFormat = textFormat;
    return ProjectLimits::Check(next);
}

} // namespace

std::array<Target, 2> Targets(int currentFormat)
{
    std::array<Target, 2> targets = {{{QString(), 0}, {QString(), 0}}};
    if (!TextFormats::Of(currentFormat))
        return targets;
    // The two other formats, in their order.
    size_t n = 0;
    for (const TextFormats::Format& f : TextFormats::All())
        if (f.textFormat != currentFormat)
            targets[n++] = {QString::fromLatin1(f.conversionName), f.textFormat};
    return targets;
}

bool CanConvert(const ProjectData& d, int newFormat)
{
    const auto targets = Targets(d.textFormat);
    const bool offered = newFormat != 0 &&
                         (targets[0].textFormat == newFormat || targets[1].textFormat == newFormat);
    return offered && LimitsMessage(d, newFormat).isEmpty();
}

bool Convert(CQuillmarkDoc& doc, int newFormat)
{
    ProjectData& d = doc.Data();
    if (!CanConvert(d, newFormat))
        return false;
    std::memset(d.groupOffset, 0, sizeof d.groupOffset);

    // Text 1 takes what is left of the first display line, as SetupListColumns derives it,
    // so the project reads back with the same lengths after saving.
    const int length1 = ProjectRules::Text1LengthFor(d, newFormat, d.text1Length);
    // Text 1 is read with at most one character less than a display line, then cut.
    const int readLimit = qMax(0, ProjectRules::LineLength(d) - 1);
    const QByteArray tag = ProjectRules::FormatTag(newFormat);
    const QByteArray zeros(qMax(0, d.pseudoGroupDigits), '0');
    CRecordList& records = doc.Records();
    for (int row = 0; row < records.GetCount(); ++row) {
        MessageRecord rec = records.At(row);
        rec.formatTag = tag;
        rec.pseudoGroup = newFormat == FormatPseudo ? zeros : QByteArray();
        rec.text1 = rec.text1.left(readLimit);
        if (newFormat != FormatTwoLines)
            rec.text1 = rec.text1.left(length1);
        records.SetRecord(row, rec);
    }

    // Columns, lengths and the frame as for a project of the new format.
    d.textFormat = newFormat;
    doc.SetupListColumns();
    d.text1Length = length1;

    doc.MarkUntitled();
    doc.SetModifiedFlag(true);
    doc.UpdateTitle();
    return true;
}

bool Run(CQuillmarkDoc& doc, const Steps& steps)
{
    // Offers to keep the project in its old format first; the answer does not stop the change.
    if (!steps.saveAsked)
        doc.SaveProject(CQuillmarkDoc::SaveIfWanted);
    if (MessageBox(QStringLiteral("Hierdurch können Zeichen verloren gehen."), QString(),
                   msg::Warning, msg::OkCancel) != msg::IdOk)
        return false;
    const int chosen = steps.chooseFormat ? steps.chooseFormat(Targets(doc.Data().textFormat)) : 0;
    if (chosen == 0)
        return false;
    if (!CanConvert(doc.Data(), chosen)) {
        const QString why = LimitsMessage(doc.Data(), chosen);
        MessageBox(why.isEmpty() ? QStringLiteral("Das Textformat kann so nicht geändert werden.")
                                 : why);
        return false;
    }
    Convert(doc, chosen);
    if (steps.converted)
        steps.converted();
    MessageBox(QStringLiteral("Kontrollieren Sie alle Daten auf ihre Richtigkeit."), QString(),
               msg::Warning, msg::Ok);
    return true;
}

} // namespace FormatConversion
