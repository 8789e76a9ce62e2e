#pragma once

// Qt
#include <QIODevice>

struct ProjectData;

// The LZ import of Bosch projects: a text file with one code letter per LZ number, read into
// the project's LZ assignment.
namespace LzImport {

enum { Entries = 255 };

// File dialog, reading and the closing message; true when the table was read. The project is
// not marked changed by this step and nothing goes to the FAT.
bool ImportLz(ProjectData& d);
// The same from an open device, after the file dialog.
bool ImportLzFrom(ProjectData& d, QIODevice& device);

} // namespace LzImport
