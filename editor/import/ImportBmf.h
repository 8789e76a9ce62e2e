#pragma once

#include "ImportHooks.h"

// Qt
#include <QByteArray>

class CQuillmarkDoc;

// The BMF import: records of 92 bytes as panel programming tools export them, the file's text
// format found on the way, and for Bosch projects the LZ file after it.
namespace BmfImport {

enum { RecordSize = 92, MaxRecords = 1000 };
// Kind flags of the records, and of a file as the set of its records' kinds.
enum Kind { KindPseudo = 1, KindTwoLines = 2, KindStandard = 4 };

// The kind of one record (at least RecordSize bytes).
int KindOf(const char* record);
// The project text format and record tag of a kind (0 and empty for anything else).
int FormatOfKind(int kind);
// The kind CImportFormatDlg disables for the kinds found, 0 when none.
int DisabledKind(int formatBits);

struct Outcome
{
    bool imported = false;   // the project now holds the file's texts
    bool incomplete = false; // values were cut or records dropped
    bool lzAsked = false;    // a Bosch project was asked for its LZ file
    bool lzImported = false; // and the LZ file was read
};

// "BMF - Dateien importieren": save question, file dialog, both passes, the closing messages
// and the LZ question. Every stop before the second pass leaves the project as it was.
Outcome ImportBmf(CQuillmarkDoc& doc, const ImportHooks& hooks);
// The same from the file's bytes, after the save question and the file dialog.
Outcome ImportBmfData(CQuillmarkDoc& doc, const QByteArray& data, const ImportHooks& hooks);

} // namespace BmfImport
