#pragma once

// Qt
#include <QByteArray>
#include <QString>

struct MessageRecord;
struct ProjectData;

// The bytes of the text transfer: the FAT's identification, the header of its texts, and the
// text records in both directions. Knows nothing of ports or time.
namespace TextRecordCodec {

constexpr int IdentLength = 32;
constexpr int HeaderLength = 6;
constexpr int MaxReceivedRecord = 60;
// The count 0xFFFF on the wire means "no texts", so at most one less goes out.
constexpr int MaxWireRecords = 0xFFFE;

// 8-bit sum of the bytes, the acknowledgement of a header or a record.
unsigned char Sum(const QByteArray& bytes);

// Decodes the 32-byte identification into d: layout values, panel type and variant (the
// FAT's mapping of the model digit), the 16 bytes of panelId; the project path is emptied.
// A project that becomes a Bosch project here gets the standard LZ assignment, as a new one
// does. False when the maker letters name no panel type (a project file could not hold
// them); d is then changed all the same and must not be used.
bool DecodeIdentification(const QByteArray& id, ProjectData& d);
// True when bytes 0 to 3 of id name the project's FAT (byte 3 is not compared for eff eff).
bool SameFat(const QByteArray& id, const ProjectData& d);

// The header's record count; -1 for 0xFFFF, which means "no texts".
int HeaderCount(const QByteArray& header);
qint32 HeaderOffset(const QByteArray& header);
// The count and the offset (the decimal text of groupOffset, empty = 0) as the PC sends them.
QByteArray CountBytes(int count);
QByteArray OffsetBytes(const char* groupOffset, int size);

// "S", "P" or "F" by the upper four bits of a record type byte; 0 for any other.
char TagOfType(unsigned char type);
// Wire length of a record of that tag in the project's layout; -1 for an unknown tag.
int RecordLength(char tag, const ProjectData& d);
// The fields of a received record of a known tag, cut by the layout.
MessageRecord DecodeRecord(const QByteArray& record, char tag, const ProjectData& d);
// The wire record of rec, the row-th of the list: type byte, group, detector, pseudo group ("P"
// only), Text 1 and Text 2 filled with blanks to their lengths. False, with a German message in
// problem, for a row that cannot go out (unknown tag, numbers wider than the FAT's).
bool EncodeRecord(const MessageRecord& rec, int row, const ProjectData& d, QByteArray& wire,
                  QString& problem);

} // namespace TextRecordCodec
