#include "PanelImport.h"

#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "ImportCfg.h"
#include "ImportCmb.h"
#include "ImportFrame.h"
#include "ProjectRules.h"
#include "ProjectTypes.h"

// Qt
#include <QFile>

namespace PanelImport {

Reader ReaderFor(const ProjectData& d)
{
    if (d.panelType == PanelType::TotalWalther)
        return CmbReader;
    if ((d.panelType == PanelType::Alarmcom || d.panelType == PanelType::Siemens) &&
        (d.panelVariant == 0 || d.panelVariant == 1))
        return CfgReader;
    return NoReader;
}

Outcome ImportPanelTexts(CQuillmarkDoc& doc, const ImportHooks& hooks)
{
    if (!ProjectRules::PanelTextImportEnabled(doc.Data()))
        return Outcome();
    switch (ReaderFor(doc.Data())) {
    case CfgReader:
        return ImportCfg(doc, hooks);
    case CmbReader:
        return ImportCmb(doc, hooks);
    case NoReader:
        break;
    }
    return Outcome();
}

void SplitLine(const QByteArray& line, const ProjectData& d, MessageRecord& rec)
{
    const int length1 = qMax(0, d.text1Length);
    const int length2 = qMax(0, d.text2Length);
    if (line.size() <= length1) {
        rec.text1 = line;
        rec.text2.clear();
        return;
    }
    rec.text1 = line.left(length1);
    rec.text2 = line.mid(length1, length2);
}

Outcome ImportFrom(CQuillmarkDoc& doc, QIODevice& device, qint64 length, const Scanner& scan,
                   bool reportIncomplete, const ImportHooks& hooks)
{
    Outcome outcome;
    if (length <= 0) {
        ImportFrame::ReportNoTexts();
        return outcome;
    }

    // From here on the project holds the file's texts.
    ImportFrame::ClearProject(doc);
    outcome.imported = true;
    ProjectData& d = doc.Data();
    if (!doc.SetupListColumns())
        return outcome;

    MessageRecord rec;
    rec.formatTag = ProjectRules::FormatTag(d.textFormat);
    rec.pseudoGroup = d.textFormat == 3 ? ImportFrame::Zeros(d.pseudoGroupDigits) : QByteArray();
    CImportInserter inserter(doc);
    const EntrySink sink = [&](const QByteArray& group, const QByteArray& detector,
                               const QByteArray& line) {
        if (inserter.LimitReached())
            return;
        // The scanner's bytes are only lent for the call: keep copies. Values longer than
        // their fields are cut silently.
        bool cut = false;
        rec.group =
            ImportFrame::Cut(QByteArray(group.constData(), group.size()), d.groupDigits, cut);
        rec.detector = ImportFrame::Cut(QByteArray(detector.constData(), detector.size()),
                                        d.detectorDigits, cut);
        SplitLine(QByteArray(line.constData(), line.size()), d, rec);
        inserter.Insert(rec);
    };
    {
        // A shown list is reset once at the end, not told of every text.
        CRecordBatch batch(doc.Records());
        CProgressSteps progress(hooks.progress, QStringLiteral("Texte werden übernommen"),
                                length - 1);
        outcome.incomplete = scan(device, length, d, progress, sink);
    }
    doc.UpdateTitle();

    if ((reportIncomplete && outcome.incomplete) || inserter.LimitReached()) {
        outcome.incomplete = true;
        ImportFrame::ReportIncomplete();
    }
    MessageBox(QStringLiteral("Kontrollieren Sie die importiereten Texte auf Ihre Richtigkeit !"));
    return outcome;
}

Outcome ImportFile(CQuillmarkDoc& doc, const QString& filter, const QString& defaultExt,
                   const Scanner& scan, bool reportIncomplete, const ImportHooks& hooks)
{
    // Cancelling the save question keeps the project: the import would replace its texts.
    if (!hooks.saveAsked && !doc.SaveProject(CQuillmarkDoc::SaveIfWanted))
        return Outcome();
    QFile file;
    if (!ImportFrame::OpenFile(filter, defaultExt, file))
        return Outcome();
    return ImportFrom(doc, file, file.size(), scan, reportIncomplete, hooks);
}

} // namespace PanelImport
