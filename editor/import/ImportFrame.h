#pragma once

#include "MessageRecord.h"

// Qt
#include <QByteArray>
#include <QString>

class CQuillmarkDoc;
class QFile;
struct ProjectData;

// The steps the imports share: the file dialog and opening, emptying the project before the
// new texts come in, and inserting records with the project's own checks.
namespace ImportFrame {

// Asks for an existing file with filter and default extension and opens it for reading;
// false when the dialog was cancelled or the file could not be opened (reported).
bool OpenFile(const QString& filter, const QString& defaultExt, QFile& file);

// Empties the list (rows and columns), names the project "Unbenannt", marks it changed and
// shows the new title: from here on the old texts are gone.
void ClearProject(CQuillmarkDoc& doc);

// A text of count '0' characters (the pseudo group of records without one).
QByteArray Zeros(int count);
// text cut to width; sets cut when something was dropped.
QByteArray Cut(const QByteArray& text, int width, bool& cut);

// Empty when the project stays within the project limits in textFormat (room for Text 1),
// otherwise the message that says why not.
QString FormatFits(const ProjectData& d, int textFormat);

// The messages shared by the imports.
void ReportCannotOpen();
void ReportNoTexts();
void ReportIncomplete();

} // namespace ImportFrame

// Inserts the records of one import through InsertRecord. When the project's record limit is
// reached, the limit message is shown once and the remaining records are skipped.
class CImportInserter
{
public:
    explicit CImportInserter(CQuillmarkDoc& doc) : m_doc(doc) {}

    void Insert(const MessageRecord& record);
    // True once records were skipped because the project was full.
    bool LimitReached() const { return m_full; }

private:
    CQuillmarkDoc& m_doc;
    bool m_full = false;
};
