#pragma once

#include "ProjectData.h"

// Qt
#include <QByteArray>
#include <QString>

class CRecordList;
class QIODevice;

// The layout of the project file (.bmt): a header of 171 bytes, the records one after the
// other, each led by its tag ("S", "P", "F"), then the optional LZ table ("L") and cover page
// ("D") blocks and the end mark "E". Integers are 32-bit little-endian. Reading and writing
// only: the document decides what is shown and when.
namespace ProjectFile {

// header
constexpr int MagicSize = 13;    // "Korvalin GmbH"
constexpr int FieldsOffset = 13; // seven int32: format, display, records, three digit counts,
constexpr int FieldCount = 7;    // and the group offset
constexpr int FormatMarkOffset = FieldsOffset + 4 * FieldCount; // "N", then 99 blanks
constexpr int ReservedSize = 99;
constexpr int PanelIdOffset = FormatMarkOffset + 1 + ReservedSize;
constexpr int PanelIdSize = 30;
constexpr int HeaderSize = PanelIdOffset + PanelIdSize;
static_assert(PanelIdOffset == 141 && HeaderSize == 171);

// trailer blocks, each after its tag byte
constexpr int LzTableSize = 255;
constexpr int CoverTextSize = 40;
constexpr int CoverTextCount = 6;
constexpr int CoverBlockSize = CoverTextSize * CoverTextCount;
// A tag this close to the end can only lead the trailer: what may still follow a cover
// block tag (the block and "E"), and an LZ table tag (the table, a cover block and "E").
constexpr int CoverTail = CoverBlockSize + 1;
constexpr int LzTail = LzTableSize + 1 + CoverBlockSize + 1;
static_assert(CoverTail == 241 && LzTail == 497);

// Reads the header into next (a copy of the current settings): the fields, the group offset
// as text, the panel id. Returns "Unbekanntes Dateiformat" for a file that is not a project
// or holds values no project can hold; an empty string otherwise.
QString ReadHeader(QIODevice& file, ProjectData& next);

// Reads the records and trailer blocks of the remaining bytes after the header into d (LZ
// table, cover page) and list (appended in file order, in one batch). False when the file
// ended inside a record; the complete records before it stay.
bool ReadBody(QIODevice& file, qint64 remaining, ProjectData& d, CRecordList& list);

// The whole file for d and the rows of list.
QByteArray Bytes(const ProjectData& d, const CRecordList& list);

} // namespace ProjectFile
