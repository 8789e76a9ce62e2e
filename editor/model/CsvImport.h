#pragma once

// Qt
#include <QByteArray>
#include <QString>
#include <QStringList>

class CQuillmarkDoc;

// "CSV-Datei importieren": the rows of a spreadsheet file, columns found by their headings,
// each through the record entry check and the ordered insert of the list. One call is one
// change of the project, so that the window, quillmark-cli and an undo step call the same.
namespace CsvImport {

struct Result
{
    QString refusal;      // the file as a whole cannot be read (no heading line, ...)
    QStringList problems; // "Zeile 4: ..." for each row refused
    int added = 0;
    int replaced = 0;
    bool imported = false; // the project was changed

    // "CSV-Import: 12 hinzugefügt, 3 ersetzt."
    QString Summary() const;
};

// Imports the rows of file (its bytes) into doc. When a row is refused and skipInvalid is
// false nothing changes; otherwise the good rows go in and the others are listed.
Result Import(CQuillmarkDoc& doc, const QByteArray& file, bool skipInvalid);

} // namespace CsvImport
