#pragma once

#include "MessageRecord.h"
#include "ProjectData.h"
#include "ProjectTypes.h"

// Qt
#include <QByteArray>
#include <QString>

// The fields of one record as the user typed them (entry dialog, in-place editor, command
// line), still as widget text.
struct RecordInput
{
    QString group;
    QString pseudoGroup; // used only in projects of the pseudo group format
    QString detector;
    QString text1;
    QString text2;
};

// The one check of typed record fields against a project, called by every entry path
// (quillmark-cli add, the entry dialogs, the in-place editing of the list) before the
// record goes to CRecordList::InsertRecord, which then pads the numbers, places the row and
// reports the rules of the list itself (empty fields, group 0, detector 1 - 32 on a card,
// the record limit) with their own messages.
//
// The check covers what the list cannot see in bytes:
//   - numbers are ASCII digits only; the group may start with "+" (card form) when the
//     panel variant allows card groups (ProjectRules::CardGroupsAllowed);
//   - numbers are no longer than the project's digit counts (the "+" counts);
//   - texts are in Windows-1252 without control characters, and no longer than the
//     project's Text 1 / Text 2 lengths in bytes.
// Nothing is shown: the caller shows the message its own way (box, stderr, tool tip) and
// keeps the user's input.
namespace RecordEntry {

// Checks one typed cell. column is Column::Group, Column::PseudoGroup, Column::Detector,
// Column::Text1 or Column::Text2 (Column::Tag and others are always accepted). Returns an
// empty string when the text is accepted, otherwise the German message naming the problem,
// for example "Text 1 darf höchstens 12 Zeichen lang sein.".
QString CheckCell(const ProjectData& d, int column, const QString& text);

// Checks all cells of input in the order group, pseudo group, detector, Text 1, Text 2.
// On success returns an empty string and fills rec: the numbers as typed (InsertRecord pads
// them), the texts as Windows-1252 bytes, formatTag by the project's text format, and
// pseudoGroup only for the pseudo group format. On failure returns the message of the first
// cell refused, sets *column (when given) to that cell's column and leaves rec unchanged.
QString Check(const ProjectData& d, const RecordInput& input, MessageRecord& rec,
              int* column = nullptr);

// True when every character of text has a Windows-1252 byte; bytes then holds them.
bool ToCodePage(const QString& text, QByteArray& bytes);

} // namespace RecordEntry
