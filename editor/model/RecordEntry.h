#pragma once

#include "MessageRecord.h"
#include "ProjectData.h"
#include "ProjectTypes.h"

// Qt
#include <QByteArray>
#include <QString>

// Why a record was refused: the message, its caption (empty: the program's title) and whether
// the default beep comes first. Empty when the record was accepted.
struct RecordRefusal
{
    QString text;
    QString caption;
    bool beep = true;
    explicit operator bool() const { return !text.isEmpty(); }
};

// The fields of one record as the user typed them (entry dialog, in-place editor, command
// line), still as widget text.
struct RecordInput
{
    QString group;
    QString pseudoGroup; // used only in projects of the pseudo group format
    QString detector;
    QString text1;
    QString text2;
    // "Kopieren" outside "Standardeingabe": no group above 9999 for any panel.
    bool copying = false;
};

// The rules every record must pass on its way into the project. Check takes typed cells
// (quillmark-cli add, the entry dialogs, the in-place editing of the list); Admit takes the
// record CRecordList::InsertRecord is given (typed, imported) and pads its numbers.
//
// The check of typed cells:
//   - numbers are ASCII digits only; the group may start with "+" (card form) when the
//     panel variant allows card groups (ProjectRules::CardGroupsAllowed);
//   - numbers are no longer than the project's digit counts (the "+" counts);
//   - a group above 9999 only where the panel takes such groups
//     (ProjectRules::GroupsAbove9999), and never when copying outside "Standardeingabe";
//   - texts are in Windows-1252 without control characters, and no longer than the
//     project's Text 1 / Text 2 lengths in bytes;
//   - output-card lists (ProjectRules::OutputCardLists, "Standardeingabe") lose their
//     placeholders before they are stored.
// Nothing is shown: the caller shows the message its own way (box, stderr, tool tip) and
// keeps the user's input.
namespace RecordEntry {

// Checks one typed cell. column is Column::Group, Column::PseudoGroup, Column::Detector,
// Column::Text1 or Column::Text2 (Column::Tag and others are always accepted). Returns an
// empty refusal when the text is accepted, otherwise the German message naming the problem,
// for example "Text 1 darf höchstens 12 Zeichen lang sein.".
RecordRefusal CheckCell(const ProjectData& d, int column, const QString& text,
                        bool copying = false);

// Checks all cells of input in the order group, pseudo group, detector, Text 1, Text 2.
// On success returns an empty refusal and fills rec: the numbers as typed (InsertRecord pads
// them), the texts as Windows-1252 bytes (card lists cleaned), formatTag by the project's
// text format, and pseudoGroup only for the pseudo group format. On failure returns the
// refusal of the first cell refused, sets *column (when given) to that cell's column and
// leaves rec unchanged.
RecordRefusal Check(const ProjectData& d, const RecordInput& input, MessageRecord& rec,
                    int* column = nullptr);

// An output-card list without its placeholders: groups D/NN of card 0 or output 00 go, the
// complete groups stay, joined by one blank.
QByteArray CleanCardList(QByteArray text);

// The rules of a record in bytes, in this order: a group, a card number after "+", not group
// 0, detector 1 - 32 on a card, a pseudo group with tag "P", a detector. On success pads the
// numbers into padded (the card mark stays in front) and returns an empty refusal.
RecordRefusal Admit(const ProjectData& d, const MessageRecord& rec, MessageRecord& padded);

// True when every character of text has a Windows-1252 byte; bytes then holds them.
bool ToCodePage(const QString& text, QByteArray& bytes);

} // namespace RecordEntry
