#pragma once

// Qt
#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class CQuillmarkDoc;

// "Mit FAT vergleichen": the FAT's texts, read as "Daten auslesen" reads them but into a
// scratch project, compared row by row by key with the project as "Daten senden" would send
// it. The window and quillmark-cli each supply how the reading runs.
namespace FatVerify {

// One row that is not the same on both sides. Numbers and texts as they go over the wire
// (numbers at the FAT's widths, texts without their trailing blanks).
struct Difference
{
    enum Kind { MissingInFat, OnlyInFat, DifferentTexts, DifferentOffset };
    Kind kind = DifferentTexts;
    QByteArray group;
    QByteArray detector;
    QByteArray project; // Text 1 / Text 2 (and pseudo group) of the project; empty if none
    QByteArray fat;

    // One line in German, e.g. "MG 0012 Melder 03: fehlt im FAT (\"Flur\" / \"EG\")".
    QString Describe() const;
};

// The exit status of "verify", as diff has it.
enum Status { Same = 0, Different = 1, NotCompared = 2 };

struct Result
{
    Status status = NotCompared;
    QList<Difference> differences;
    QString problem; // why no comparison could be made; empty when the reading said it already
};

// Reads the FAT into scratch (a project holding the project's settings) with the transfer
// for comparisons (CTransferCore::SetReadForComparison); true when it read everything.
using Reader = std::function<bool(CQuillmarkDoc& scratch)>;

// Reads and compares. The project itself is not changed.
Result Verify(CQuillmarkDoc& project, const Reader& read);
// Compares two projects already in memory; fat holds what was read.
Result Compare(const CQuillmarkDoc& project, const CQuillmarkDoc& fat);

// The result as lines for stderr or a dialog; the line of sameness when nothing differs.
QString SameText();

} // namespace FatVerify
