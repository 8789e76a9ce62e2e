#include "CFatCommands.h"

#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "CodePage.h"
#include "ProjectRules.h"
#include "TransferTypes.h"

#include <algorithm>
#include <iterator>

CFatCommands::CFatCommands(CQuillmarkDoc& document, TransferRunner runner)
    : m_document(document), m_runner(std::move(runner))
{
}

bool CFatCommands::ReadTexts(bool saveAsked)
{
    if (!saveAsked && !m_document.SaveProject(CQuillmarkDoc::SaveIfWanted))
        return false;
    const bool ok = m_runner(::ReadTexts, [this] {
        // Named before the first byte is exchanged: whatever the transfer's end, a later save
        // asks for a name instead of writing the emptied list over the old file.
        m_document.SetPathName(QStringLiteral("Unbenannt"));
        m_document.SetProjectPath(QStringLiteral("Unbenannt"));
        m_document.SetModifiedFlag(true);
        m_document.Records().DeleteAllItems();
        if (m_rowsCleared)
            m_rowsCleared();
        ProjectData& d = m_document.Data();
        std::fill(std::begin(d.groupOffset), std::end(d.groupOffset), '\0');
    });
    if (m_updateMenus)
        m_updateMenus();
    return ok;
}

bool CFatCommands::ConfirmHiddenDetectors(CQuillmarkDoc& document)
{
    const ProjectData& d = document.Data();
    const CRecordList& records = document.Records();
    const int rows = records.GetCount();
    if (!ProjectRules::GroupHasNoDetectorWarning(d) || rows == 0)
        return true;
    const MessageRecord none;
    for (int row = 0; row < rows; ++row) {
        const MessageRecord& rec = records.At(row);
        if (CRecordList::DecimalValue(rec.detector) != 0)
            continue;
        const MessageRecord& next = row + 1 < rows ? records.At(row + 1) : none;
        if (CRecordList::DecimalValue(next.group) != CRecordList::DecimalValue(rec.group))
            continue;
        const QString text =
            QStringLiteral("Es wird nur die Meldung der Meldergruppe %1 mit dem Melder 00 "
                           "angezeigt. Alle anderen Melder, die mit Text Versorgt sind werden "
                           "dabei ignoriert.\nMöchten Sie die Meldungen trotzdem übertragen ?")
                .arg(FromCp1252(next.group));
        if (MessageBox(text, QString(), msg::Question, msg::YesNo) != msg::IdYes)
            return false;
    }
    return true;
}

bool CFatCommands::SendTexts()
{
    if (!ConfirmHiddenDetectors(m_document))
        return false;
    return m_runner(::SendTexts, {});
}

bool CFatCommands::SendLzCoding()
{
    // An all-zero table switches every LZ of the FAT off: only on purpose.
    const char* table = m_document.Data().lzAssignment;
    if (std::all_of(table, table + 255, [](char entry) { return entry == 0; }) &&
        MessageBox(QStringLiteral("Alle LZ der Zuweisung stehen auf \"nicht Auswerten\"; das FAT "
                                  "wertet dann keine LZ mehr aus.\nMöchten Sie die LZ-Codierung "
                                  "trotzdem senden ?"),
                   QString(), msg::Question, msg::YesNo) != msg::IdYes)
        return false;
    return m_runner(::SendLzCoding, {});
}

bool CFatCommands::ReadLzCoding()
{
    return m_runner(::ReadLzCoding, {});
}
