#include "ImportFrame.h"

#include "CDurableFile.h"
#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "ProjectLimits.h"
#include "ProjectRules.h"

// Qt
#include <QFile>

namespace ImportFrame {

bool OpenFile(const QString& filter, const QString& defaultExt, QFile& file)
{
    msg::FileDialog dialog;
    dialog.filter = filter;
    dialog.defaultExt = defaultExt;
    QString path;
    if (!Messages().OpenFileName(dialog, path))
        return false;
    file.setFileName(path);
    // A FIFO or a device (/dev/zero) would hang the open or never end; no import file of
    // any kind comes near the limit.
    QString why;
    if (!CDurableFile::CheckReadable(path, 64 * 1024 * 1024, &why)) {
        MessageBox(QStringLiteral("Die Datei konnte nicht geöffnet werden\n") + why);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        ReportCannotOpen();
        return false;
    }
    return true;
}

void ClearProject(CQuillmarkDoc& doc)
{
    doc.Records().DeleteAllItems();
    doc.Records().ColumnsChanged(false);
    doc.MarkUntitled();
    doc.SetModifiedFlag(true);
    doc.UpdateTitle();
}

QByteArray Zeros(int count)
{
    return QByteArray(qMax(0, count), '0');
}

QByteArray Cut(const QByteArray& text, int width, bool& cut)
{
    width = qMax(0, width);
    if (text.size() <= width)
        return text;
    cut = true;
    return text.left(width);
}

QString FormatFits(const ProjectData& d, int textFormat)
{
    ProjectData next = d;
    next.textFormat = textFormat;
    return ProjectLimits::Check(next);
}

void ReportCannotOpen()
{
    MessageBox(QStringLiteral("Die Datei konnte nicht geöffnet werden"));
}

void ReportNoTexts()
{
    MessageBox(QStringLiteral("In der Datei befinden sich keine Texte."));
}

void ReportIncomplete()
{
    MessageBox(QStringLiteral(
        "Die Umwandlung konnte nicht komplett durchgeführt werden.\nÜberprüfen Sie Ihre Texte!"));
}

} // namespace ImportFrame

void CImportInserter::Insert(const MessageRecord& record)
{
    if (m_full)
        return;
    // A full list refuses every record: let InsertRecord say so once, then skip the rest.
    if (m_doc.Records().GetCount() >= m_doc.Data().maxRecords)
        m_full = true;
    const InsertResult result = m_doc.Records().InsertRecord(record);
    if (result.refusal)
        BeepMessageBox(result.refusal.text, result.refusal.caption);
}
