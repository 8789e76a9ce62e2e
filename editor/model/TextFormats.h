#pragma once

#include "ProjectData.h"

// Qt
#include <QByteArray>

#include <array>

// The three text formats of a project, one row each: the format number, the record tag, the
// record type byte on the wire, the names the windows give it, what stands before Text 1 on
// the first display line and how the list marks its rows. Everything that maps one of these
// onto another reads it here.
namespace TextFormats {

struct Format
{
    // What the first display line carries before Text 1, besides the detector number and
    // two separator characters.
    enum Numbers { GroupNumber, PseudoGroupNumber, NoNumbers };

    int textFormat;         // ProjectData::textFormat
    char tag;               // MessageRecord::formatTag
    unsigned char wireType; // the record type byte sent; its upper four bits name the format
    bool pseudoGroup;       // the records carry a pseudo group
    const char* name;       // the input assistant
    const char* fullName;   // the entry dialog's caption and the printout
    const char* titleSuffix;
    const char* conversionName; // the format conversion dialog
    const char* importName;     // the BMF import dialog
    Numbers beforeText1;
    int firstMarkedColumn; // the list marks a row's cells from this column on

    QByteArray Tag() const { return QByteArray(1, tag); }
    // Text 1 takes what the numbers leave of a display line.
    int Text1Length(const ProjectData& d) const;
};

const std::array<Format, 3>& All();
// nullptr for a number, tag or type byte of no format.
const Format* Of(int textFormat);
const Format* OfTag(char tag);
const Format* OfTag(const QByteArray& tag); // exactly one character
const Format* OfWireType(unsigned char type);

} // namespace TextFormats
